#pragma once

#include <string>

// The list separator that goes with a decimal separator: ";" where the
// decimal separator is ",", else ",".
std::string ListSeparatorFor(const std::string& decimalSeparator);
