#pragma once

#include <array>
#include <string>

// The texts of the gateway's configuration status codes, indexed by the code
// byte. Codes without a name of their own read "Error <code>".
const std::array<std::string, 256>& StatusCodeTable();
