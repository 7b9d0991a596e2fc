// SPA address notation and number parsing. Invariants: a parsed address,
// formatted and parsed again, is the same address; ReadInt is strtoll in the
// "C" locale held to 32 bits; what the dialogs' fields accept they show so
// that it reads back the same.
#include "FieldText.h"
#include "FuzzSupport.h"
#include "NumberText.h"
#include "SpaAddress.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>

namespace {

void SingleAddresses(std::string_view text)
{
    const SpaAddress address = ParseSingle(text);
    const SpaAddress again = ParseSingle(FormatSingle(address));
    FUZZ_CHECK(again.Channel == address.Channel && again.Category == address.Category &&
               again.DataNumber == address.DataNumber);
    if (const auto range = SingleToRange(text)) {
        const auto parsed = ParseRange(range->Text);
        FUZZ_CHECK(parsed && parsed->FirstChannel == address.Channel && parsed->LastChannel == address.Channel &&
                   parsed->Category == address.Category && parsed->FirstDataNumber == address.DataNumber &&
                   parsed->LastDataNumber == address.DataNumber && range->Channel == address.Channel);
    }
}

void RangeAddresses(std::string_view text)
{
    const auto range = ParseRange(text);
    if (!range) {
        return;
    }
    const auto again = ParseRange(FormatRange(*range));
    FUZZ_CHECK(again && again->FirstChannel == range->FirstChannel && again->LastChannel == range->LastChannel &&
               again->Category == range->Category && again->FirstDataNumber == range->FirstDataNumber &&
               again->LastDataNumber == range->LastDataNumber);
}

void Integers(std::string_view text)
{
    const std::string copy(text);
    errno = 0;
    const long long reference = std::strtoll(copy.c_str(), nullptr, 10);
    const int value = ReadInt(text);
    FUZZ_CHECK(value == static_cast<int>(std::clamp<long long>(reference, INT_MIN, INT_MAX)));
    FUZZ_CHECK(ReadInt(FormatInt(value)) == value);
    if (const auto field = ParseIntegerField(text)) {
        FUZZ_CHECK(ParseIntegerField(FormatInt(*field)) == field);
    }
}

void Reals(std::string_view text)
{
    const double value = ReadReal(text);
    if (std::isfinite(value)) {
        FUZZ_CHECK(std::isfinite(ReadReal(FormatFixed(value))));
    }
    if (const auto field = ParseRealField(text)) {
        FUZZ_CHECK(std::isfinite(*field));
        FUZZ_CHECK(ParseRealField(FormatRealField(*field)) == field);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SingleAddresses(text);
    RangeAddresses(text);
    Integers(text);
    Reals(text);
    return 0;
}
