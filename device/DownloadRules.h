#pragma once

#include "ConfigTemplate.h"
#include "PointReference.h"
#include "SlaveSet.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Input and output bytes the gateway's Profibus areas offer the points, and
// the other limits of a download.
inline constexpr int kMaxDownloadInputBytes = 242;
inline constexpr int kMaxDownloadOutputBytes = 244;
inline constexpr int kMaxDownloadIndirectMessages = 127;
inline constexpr std::size_t kMaxOnlinePollCommandLength = 17;

inline constexpr const char* kIncorrectConfigurationMessage = "Unable to download - incorrect configuration";
inline constexpr const char* kConfigurationTooLargeMessage = "Unable to download - configuration too large";

// One reason why a download refuses the configuration: the download's own
// message, a line that names what it concerns, and the point concerned where
// there is one.
struct DownloadRefusal {
    std::string Message;
    std::string Detail;
    std::optional<PointReference> Point;

    // The message, and the detail on a second line.
    std::string Text() const;
};

// The count limits (input bytes, output bytes, indirect messages, online
// poll command), every one that is exceeded, in the order the download
// checks them. The areas name the first point beyond their limit, the
// messages the first beyond 127.
std::vector<DownloadRefusal> LimitRefusals(const ConfigTemplate& config);

// The device image cannot be built from the address of a digital input
// that is not a full range, nor from that of an indirect message without a
// category letter: one refusal per such point, in image order.
std::vector<DownloadRefusal> AddressRefusals(const ConfigTemplate& config);

// An indirect message's address holds a category letter.
bool IndirectAddressReadable(const std::string& address);

// The configuration text behind the image does not fit into the block.
std::optional<DownloadRefusal> SizeRefusal(int imageLength, std::size_t textLength);

// The plain download command sends nothing without slaves.
std::optional<DownloadRefusal> NoSlavesRefusal(const SlaveAddressTable& slaves);
