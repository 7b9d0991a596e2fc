#include "DiagnosticsRecord.h"
#include "StatusCodeTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

namespace L = DiagnosticsLayout;
using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& record, std::size_t offset, const Bytes& bytes) { std::copy(bytes.begin(), bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(offset)); }

DiagnosticsRecord Decode(const Bytes& record)
{
    const auto decoded = DecodeDiagnostics(record.data(), record.size());
    EXPECT_TRUE(decoded);
    return decoded.value_or(DiagnosticsRecord{});
}

}  // namespace

TEST(DiagnosticsRecord, FieldsAsTheDialogShowsThem)
{
    Bytes record(L::kLengthWithPollCycle, 0);
    Put(record, L::kClock, {0x07, 0xD5, 0x05, 0x0A, 0x08, 0x03, 0x09});
    record[L::kModuleStatus] = 1;
    Put(record, L::kFileRevision, {2, 0});
    Put(record, L::kDownloadDate, {0x07, 0xE8, 0x0C, 0x1F});
    Put(record, L::kModuleStatusWord, {0x80, 0x01});
    Put(record, L::kCounters, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2});
    Put(record, L::kCounters + 36, {0, 0, 1, 0});
    record[L::kStatusCode] = 16;
    Put(record, L::kProblemChannel, {0x01, 0x02});
    record[L::kProblemCategory] = 'E';
    Put(record, L::kProblemDataNumber, {0xFF, 0xFF, 0xFF, 0xFE});
    Put(record, L::kPollCycleTime, {0, 0, 0x01, 0x2C});

    const DiagnosticsRecord decoded = Decode(record);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"File Revision :", "2.00"},
        {"Download Date:", "2024-12-31"},
        {"Status :", "OK"},
        {"Error Type:", "Configuration valid, but not initialized"},
        {"Problem Ch.:", "258"},
        {"Problem Cat.:", "E"},
        {"ProblemDno:", "-2"},
        {"SPA Gateway Time:", "2005-05-10 08:03:09"},
        {"Module Status Word:", "1000000000000001"},
        {"Transmitted:", "4294967295"},
        {"Correct:", "2"},
        {"NAK's Received:", "0"},
        {"Checksum Errors:", "0"},
        {"Timeout Occurences:", "0"},
        {"Offline Occurences:", "0"},
        {"Online Occurences:", "0"},
        {"Events Received:", "0"},
        {"Event Lost Occurences:", "0"},
        {"Event Buffer Overflows:", "256"},
        {"Poll Cycle Time (ms):", "300"},
    };
    std::vector<std::pair<std::string, std::string>> shown;
    for (const DiagnosticsField& field : DiagnosticsFields(decoded)) {
        shown.emplace_back(field.Label, field.Value);
    }
    EXPECT_EQ(shown, expected);

    record.resize(L::kLength);
    record[L::kModuleStatus] = 2;
    const DiagnosticsRecord shortForm = Decode(record);
    EXPECT_EQ(shortForm.PollCycleTime, 0u);
    EXPECT_EQ(shortForm.Status, "Error");

    for (const std::size_t length : {std::size_t{0}, std::size_t{271}, std::size_t{274}, std::size_t{277}}) {
        const Bytes other(length, 0);
        EXPECT_FALSE(DecodeDiagnostics(other.data(), other.size())) << length;
    }
}

TEST(DiagnosticsRecord, EventBufferRows)
{
    std::array<std::uint8_t, L::kEventBufferSize> buffer{};
    const Bytes event{0x00, 0x07, 0x0C, 0x01, 0xF4, 0x00, 0x02, 0x45, 0x03, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(event.begin(), event.end(), buffer.begin() + 15 * 13);
    const auto events = DecodeEvents(buffer);
    EXPECT_EQ(EventCells(events[15]), (std::array<std::string, 7>{"7", "12", "500", "2", "E", "3", "-1"}));
    EXPECT_EQ(EventCells(events[0]), (std::array<std::string, 7>{"0", "0", "0", "0", "", "0", "0"}));
    EXPECT_EQ(kEventColumnTitles, (std::array<const char*, 7>{"Slv", "sec", "msec", "Ch", "Type", "Nr", "Val"}));
}

TEST(StatusCodeTable, NamedCodesAndTheRest)
{
    const auto& table = StatusCodeTable();
    EXPECT_EQ(table[0], "Configuration OK");
    EXPECT_EQ(table[16], "Configuration valid, but not initialized");
    EXPECT_EQ(table[17], "Error 17");
    EXPECT_EQ(table[128], "Configuration Empty");
    EXPECT_EQ(table[135], "Too many Indirect SPA messages");
    EXPECT_EQ(table[146], "Unsupported Reply Timout");
    EXPECT_EQ(table[150], "Unsupported Decimal Place");
    EXPECT_EQ(table[151], "Error 151");
    EXPECT_EQ(table[165], "InDirect SPA Error");
    const std::pair<std::size_t, const char*> others[] = {
        {129, "CRC Failure"},
        {130, "Too Many Slaves In Cfg-File"},
        {131, "Slave Address Not Found"},
        {132, "Configuration I/O Area Error"},
        {133, "Online Poll Failed"},
        {134, "InUse flag cleared"},
        {145, "Unsupported Baudrate"},
        {147, "Unsupported Idle Time"},
        {148, "Unsupported Retry Count"},
        {149, "Unsupported PDP Default Address"},
        {161, "Analog Input Error"},
        {162, "Digital Input Error"},
        {163, "Analog Output Error"},
        {164, "Digital Output Error"},
    };
    for (const auto& [code, text] : others) {
        EXPECT_EQ(table[code], text) << code;
    }
    EXPECT_EQ(table[242], "Error 242");
    EXPECT_EQ(table[255], "Error 255");
    int named = 0;
    for (std::size_t code = 0; code < table.size(); ++code) {
        named += table[code] != "Error " + std::to_string(code) ? 1 : 0;
    }
    EXPECT_EQ(named, 21);
}
