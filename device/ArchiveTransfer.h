#pragma once

#include "DeviceConnection.h"

// Sends a file of 1 to 65275 bytes, chosen in an open-file dialog, to the
// gateway with its name (command 80). False when cancelled or failed; every
// failure and the success are reported in a message box.
bool DownloadArchive(DeviceConnection& connection);

// Fetches the gateway's archive (command 81) and writes it to a file chosen
// in a save-file dialog that proposes the archive's name. False when
// cancelled or failed.
bool UploadArchive(DeviceConnection& connection);
