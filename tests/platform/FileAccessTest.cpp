#include "FileAccess.h"
#include "TemporaryFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <cstdlib>
#include <sys/resource.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

TEST(FileAccess, FailuresSayWhyAndARewrittenFileHasAnotherIdentity)
{
    TemporaryDirectory directory;
    const std::string path = directory.File("f");
    EXPECT_FALSE(ReadFileBytes(path));
    EXPECT_EQ(LastFileError(), "No such file or directory");
    EXPECT_FALSE(ReplaceFileContents(directory.Path(), "x"));
    EXPECT_EQ(LastFileError(), "Is a directory");
    EXPECT_FALSE(IdentifyFile(path));
    ASSERT_TRUE(ReplaceFileContents(path, "one"));
    EXPECT_EQ(LastFileError(), "");
    const auto first = IdentifyFile(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Size, 3);
    EXPECT_EQ(IdentifyFile(path), first);
    ASSERT_TRUE(ReplaceFileContents(path, "two"));
    EXPECT_NE(IdentifyFile(path), first);
}

TEST(FileAccess, ReplaceKeepsTheOldFileWhenTheWriteFails)
{
    TemporaryDirectory directory;
    const std::string path = directory.File("doc.hxc");
    WriteTextFile(path, "old contents");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(path, "new contents"));
    EXPECT_EQ(ReadTextFile(path), "new contents");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "permissions survive a save";

    if (::geteuid() != 0) {
        ::chmod(directory.Path().c_str(), 0500);
        EXPECT_FALSE(ReplaceFileContents(path, "lost"));
        ::chmod(directory.Path().c_str(), 0700);
        EXPECT_EQ(ReadTextFile(path), "new contents");
    }
    // Whoever we are, a file size limit makes the write itself fail.
    {
        const FileSizeLimit limit(4);
        EXPECT_FALSE(ReplaceFileContents(path, "more than four bytes"));
    }
    EXPECT_EQ(ReadTextFile(path), "new contents");
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(ReplaceFileContents("/dev/full", "x")) << "a device is written in place, never replaced";
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()),
                            std::filesystem::directory_iterator{}),
              1)
        << "no temporary file is left beside the document";
}

TEST(FileAccess, ReplaceFollowsASymbolicLink)
{
    TemporaryDirectory directory;
    const std::string target = directory.File("real.hxc");
    const std::string link = directory.File("link.hxc");
    WriteTextFile(target, "a");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReplaceFileContents(link, "b"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadTextFile(target), "b");
}

TEST(FileAccess, ADanglingLinkIsWrittenThroughAndAReadOnlyFileIsNotWritten)
{
    TemporaryDirectory directory;
    const std::string link = directory.File("link.hxc");
    ASSERT_EQ(::symlink("real.hxc", link.c_str()), 0);
    ASSERT_EQ(::symlink("link.hxc", directory.File("chain.hxc").c_str()), 0);
    ASSERT_TRUE(ReplaceFileContents(directory.File("chain.hxc"), "through"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadTextFile(directory.File("real.hxc")), "through");

    ASSERT_EQ(::symlink("loop.b", directory.File("loop.a").c_str()), 0);
    ASSERT_EQ(::symlink("loop.a", directory.File("loop.b").c_str()), 0);
    EXPECT_FALSE(ReplaceFileContents(directory.File("loop.a"), "x"));

    // Whoever may not write the file (everybody but the superuser, who may).
    const std::string readOnly = directory.File("t.hxc");
    WriteTextFile(readOnly, "old");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(ReplaceFileContents(readOnly, "new"), ::geteuid() == 0);
    EXPECT_EQ(ReadTextFile(readOnly), ::geteuid() == 0 ? "new" : "old");
}

// What a save killed on its way leaves beside the file is removed by the next
// save of that file; the file of a save still running (locked), a fresh empty
// one and files of other naming stay.
TEST(FileAccess, ASaveRemovesTheLeftoversOfKilledSaves)
{
    TemporaryDirectory directory;
    const std::string path = directory.File("t.hxc");
    WriteTextFile(path, "old");
    for (const char* leftover : {".t.hxc.Ab3dE9", ".t.hxc.000000"}) {
        WriteTextFile(directory.File(leftover), "partial");
    }
    const std::set<std::string> kept{"t.hxc", ".t.hxc.Ab3dE", ".t.hxc.Ab3dE9x", ".other.hxc.Ab3dE9", ".t.hxc.LOCKED",
                                     ".t.hxc.EMPTY0"};
    for (const std::string& name : kept) {
        if (name != "t.hxc") {
            WriteTextFile(directory.File(name), name == ".t.hxc.EMPTY0" ? "" : "x");
        }
    }
    const int running = ::open(directory.File(".t.hxc.LOCKED").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    ASSERT_TRUE(ReplaceFileContents(path, "new"));
    ::close(running);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory.Path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, kept);
    EXPECT_EQ(ReadTextFile(path), "new");
}

TEST(FileAccess, ReadFileBytesHonoursTheLimit)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("f"), "0123456789");
    EXPECT_EQ(ReadFileBytes(directory.File("f"), 4), "0123");
    EXPECT_EQ(ReadFileBytes(directory.File("f")), "0123456789");
    EXPECT_FALSE(ReadFileBytes(directory.File("missing")));
    EXPECT_FALSE(ReadFileBytes(directory.Path()));
}

// Each operation has a file of its own: two at the same time never share a
// name, each is this user's alone and goes with its object.
TEST(TemporaryFile, OneUniqueFilePerOperationInAPrivateDirectory)
{
    TemporaryDirectory directory;
    ::setenv("XDG_RUNTIME_DIR", directory.Path().c_str(), 1);
    {
        auto first = TemporaryFile::Create();
        auto second = TemporaryFile::Create();
        ASSERT_TRUE(first && second);
        EXPECT_NE(first->Path(), second->Path());
        for (const TemporaryFile* file : {&*first, &*second}) {
            const std::string name = file->Path().substr(directory.File("halvex/").size());
            EXPECT_EQ(name.size(), 13u) << name;
            EXPECT_EQ(name.substr(0, 3) + name.substr(9), "hxc.tmp") << name;
            struct stat info {};
            ASSERT_EQ(::lstat(file->Path().c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0600u);
        }
        ASSERT_TRUE(first->Write("a longer first text"));
        ASSERT_TRUE(first->Write("short"));
        ASSERT_TRUE(second->Write("other"));
        EXPECT_EQ(first->Read(), "short");
        EXPECT_EQ(first->Read(3), "sho");
        TemporaryFile moved = std::move(*second);
        EXPECT_EQ(moved.Read(), "other");
    }
    EXPECT_TRUE(std::filesystem::is_empty(directory.File("halvex")));
    struct stat info {};
    ASSERT_EQ(::stat(directory.File("halvex").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    ::chmod(directory.File("halvex").c_str(), 0777);
    EXPECT_FALSE(TemporaryFile::Create()) << "a directory open to others is refused";
    {
        const FileSizeLimit limit(2);
        ::chmod(directory.File("halvex").c_str(), 0700);
        auto file = TemporaryFile::Create();
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->Write("more than two bytes"));
    }
}
