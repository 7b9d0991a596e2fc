// The operations log's lines: written and read back, unreadable lines, and
// the --since filter.
#include "OperationRecord.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(OperationRecord, LinesReadBackWithEmptyFieldsLeftOut)
{
    TemporaryDirectory directory;
    const std::string log = directory.File("operations.jsonl");
    OperationRecord full{"2026-12-09T22:18:40Z", "anna", "laptop", "halvex-cli", "download", "COM1",
                         "/dev/serial/by-id/usb-FTDI-if00", "gw \"1\".hxc", "abc123", "1.05 build 12", "failed",
                         "Configuration dowload failed!\nsecond line", "different"};
    OperationRecord bare = full;
    bare.PortById = bare.File = bare.Sha256 = bare.Firmware = bare.Verify = bare.Message = "";
    EXPECT_EQ(OperationRecordLine(bare), "{\"time\":\"2026-12-09T22:18:40Z\",\"user\":\"anna\",\"host\":\"laptop\","
                                         "\"program\":\"halvex-cli\",\"action\":\"download\",\"port\":\"COM1\","
                                         "\"result\":\"failed\",\"message\":\"\"}\n");
    ASSERT_TRUE(AppendOperationRecord(log, full).Written);
    ASSERT_TRUE(AppendWholeRecord(log, "not json\n").Written);
    ASSERT_TRUE(AppendOperationRecord(log, bare).Written);

    const OperationsLogContents contents = ReadOperationsLog(log);
    EXPECT_EQ(contents.UnreadableLines, 1);
    ASSERT_EQ(contents.Records.size(), 2u);
    EXPECT_EQ(OperationRecordLine(contents.Records[0]), OperationRecordLine(full));
    EXPECT_EQ(contents.Records[0].Message, full.Message);
    EXPECT_EQ(OperationRecordLine(contents.Records[1]), OperationRecordLine(bare));
    EXPECT_TRUE(ReadOperationsLog(directory.File("none.jsonl")).Records.empty());
    EXPECT_FALSE(AppendOperationRecord("", full).Written);
}

TEST(OperationRecord, TimesAndTheSinceFilter)
{
    EXPECT_EQ(UtcTimestamp(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(UtcTimestamp(1796854720), "2026-12-09T22:18:40Z");
    OperationRecord record;
    record.Time = "2026-12-09T22:18:40Z";
    for (const char* since : {"2026-12-09", "2026-12-09T22:18", "2026-12-09T22:18:40Z", "2025-01-01"}) {
        EXPECT_TRUE(IsSinceText(since)) << since;
        EXPECT_TRUE(RecordIsSince(record, since)) << since;
    }
    for (const char* since : {"2026-12-10", "2026-12-09T22:19"}) {
        EXPECT_FALSE(RecordIsSince(record, since)) << since;
    }
    for (const char* since : {"2026-1-09", "yesterday", "2026-12-09 22:18", "2026-12-09T22:18:40Z1"}) {
        EXPECT_FALSE(IsSinceText(since)) << since;
    }
}
