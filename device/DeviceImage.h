#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <cstdint>

// The layouts of the binary device image.
enum FormatVersion {
    kFormatVersion102 = 0,
    kFormatVersion200 = 1,
};

// The buffer the download builds its block in.
inline constexpr int kDeviceImageBufferSize = 65536;

// The date that the image carries: the PC's local date when it is built.
struct ImageDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

ImageDate TodaysDate();

// Writes the binary DeviceImage of the configuration into the buffer: the
// global settings and a fixed-size record per point and indirect message,
// big-endian, in the layout of formatVersion. Bytes 0-1 (the checksum field)
// are left as they are. Returns the image length, or -1 when it cannot be
// built: a digital input address that is not a full range (after the error
// box "Error in Ch/Cat/Dno"), an indirect message address without a letter,
// or an image that would not fit into `capacity` bytes. Never writes beyond
// the capacity.
int BuildDeviceImage(const ConfigTemplate& config, std::uint8_t* buffer, int capacity, int formatVersion,
                     const ImageDate& date, WindowSystem& ui);

// The length BuildDeviceImage gives the configuration, or -1; shows nothing.
int DeviceImageLength(const ConfigTemplate& config, int formatVersion);
