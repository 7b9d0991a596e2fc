#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// What the gateway reads from a downloaded device image: where it ends and
// the InUse byte of every record, list by list (analog inputs, digital
// inputs, analog outputs, digital outputs, indirect messages).
struct ImageSummary {
    int Length = 0;
    std::array<std::vector<std::uint8_t>, 5> InUse;
};

// Walks the image at the start of `bytes` by its layout bytes (2.00 or 1.02)
// and list counts. No value when the layout is unknown or the lists run
// beyond the bytes.
std::optional<ImageSummary> ReadImageSummary(const std::uint8_t* bytes, std::size_t size);

// True when bytes 2-3 of the image name a layout the gateway supports.
bool IsSupportedLayout(const std::uint8_t* bytes, std::size_t size);
