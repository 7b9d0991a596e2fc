// The operations log's platform services: whole-record appends by several
// processes at once, and SHA-256.
#include "AppendFile.h"
#include "Sha256.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(Sha256, DigestsOfKnownTexts)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(AppendWholeRecord, TwoProcessesAppendingAtOnceLeaveOnlyWholeLines)
{
    TemporaryDirectory directory;
    const std::string log = directory.File("state/halvex/operations.jsonl");
    constexpr int kRecords = 100;
    // Longer than a pipe's atomic write, so that a write in pieces would show.
    const auto record = [](char writer, int index) {
        return std::string(1, writer) + std::to_string(index) + std::string(6000, writer) + "\n";
    };
    pid_t children[2] = {};
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        if (children[child] == 0) {
            bool all = true;
            for (int i = 0; i < kRecords; ++i) {
                all = AppendWholeRecord(log, record(child == 0 ? 'a' : 'b', i)).Written && all;
            }
            ::_exit(all ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0);
    }
    std::map<char, int> next{{'a', 0}, {'b', 0}};
    for (const std::string& line : LinesOf(ReadTextFile(log))) {
        ASSERT_FALSE(line.empty());
        const char writer = line[0];
        ASSERT_EQ(line + "\n", record(writer, next[writer])) << "a mixed or broken line";
        ++next[writer];
    }
    EXPECT_EQ(next['a'], kRecords);
    EXPECT_EQ(next['b'], kRecords);
    struct stat info {};
    ASSERT_EQ(::stat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const AppendResult refused = AppendWholeRecord(log + "/below-a-file", "x\n");
    EXPECT_FALSE(refused.Written);
    EXPECT_NE(refused.Reason.find("Not a directory"), std::string::npos) << refused.Reason;
}
