#include "FileAccess.h"
#include "TemporaryFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(FileAccess, ReadFileBytesHonoursTheLimit)
{
    TemporaryDirectory directory;
    WriteTextFile(directory.File("f"), "0123456789");
    EXPECT_EQ(ReadFileBytes(directory.File("f"), 4), "0123");
    EXPECT_EQ(ReadFileBytes(directory.File("f")), "0123456789");
    EXPECT_FALSE(ReadFileBytes(directory.File("missing")));
    EXPECT_FALSE(ReadFileBytes(directory.Path()));
}

TEST(FileAccess, PrivateFilesDoNotFollowLinks)
{
    TemporaryDirectory directory;
    const std::string target = directory.File("victim");
    WriteTextFile(target, "keep");
    const std::string link = directory.File("tmp");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(WritePrivateFile(link, "overwrite"));
    EXPECT_EQ(ReadTextFile(target), "keep");
    EXPECT_FALSE(ReadPrivateFile(link)) << "nor is a link read as if it were our file";
    EXPECT_EQ(ReadFileBytes(link), "keep");
    ASSERT_TRUE(WritePrivateFile(directory.File("own"), "data"));
    EXPECT_EQ(ReadPrivateFile(directory.File("own"), 3), "dat");
    struct stat info {};
    ASSERT_EQ(::stat(directory.File("own").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(TemporaryFile, LivesInAPrivateDirectory)
{
    TemporaryDirectory directory;
    ::setenv("XDG_RUNTIME_DIR", directory.Path().c_str(), 1);
    const auto path = TemporaryFilePath();
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, directory.File("halvex/hxc1E240.tmp"));
    struct stat info {};
    ASSERT_EQ(::stat(directory.File("halvex").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    ::chmod(directory.File("halvex").c_str(), 0777);
    EXPECT_FALSE(TemporaryFilePath()) << "a directory open to others is refused";
}
