// The platform services as every system has them: the same expectations hold
// on Linux and, cross-built, on Windows.
#include "DirectoryWatch.h"
#include "FileAccess.h"
#include "LocalTime.h"
#include "PathText.h"
#include "PortDiscovery.h"
#include "ProfileReader.h"
#include "TemporaryFile.h"
#include "TestFiles.h"

#ifndef _WIN32
#include "PermissionBits.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

TEST(SystemServices, FilesWithNamesOutsideAsciiAreSavedReplacedAndRead)
{
    TemporaryDirectory directory;
    const std::string folder = Utf8FromPath(PathFromUtf8(directory.Path()) / PathFromUtf8("Müller Umspannwerk"));
    fs::create_directory(PathFromUtf8(folder));
    const std::string path = Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8("Schaltanlage Süd.hxc"));
    EXPECT_EQ(FileNameOf(path), "Schaltanlage Süd.hxc");
    EXPECT_EQ(FolderOf(path) + FileNameOf(path), path);
    EXPECT_EQ(FileNameOf("plain.hxc"), "plain.hxc");
    EXPECT_EQ(FolderOf("plain.hxc"), "");

    ASSERT_TRUE(ReplaceFileContents(path, "first\r\n"));
    ASSERT_TRUE(ReplaceFileContents(path, "second\r\n"));
    EXPECT_EQ(ReadFileBytes(path), "second\r\n");
    EXPECT_EQ(ReadFileBytes(path, 3), "sec");
    EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(folder)), {}), 1) << "nothing left beside it";

    fs::permissions(PathFromUtf8(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    {
#ifndef _WIN32
        const PermissionBitsApply bits;  // also for the superuser
#endif
        EXPECT_FALSE(ReplaceFileContents(path, "third")) << "a read-only file is not written";
    }
    fs::permissions(PathFromUtf8(path), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadFileBytes(path), "second\r\n");
    EXPECT_FALSE(ReplaceFileContents(folder, "x")) << "a folder is no file";
    EXPECT_FALSE(ReadFileBytes(Utf8FromPath(PathFromUtf8(folder) / "missing")));
}

TEST(SystemServices, TemporaryFilesAreOwnAndGoWithTheirObject)
{
    OwnTemporaryFiles files;
    std::string path;
    {
        auto first = TemporaryFile::Create();
        auto second = TemporaryFile::Create();
        ASSERT_TRUE(first && second);
        path = first->Path();
        EXPECT_NE(path, second->Path());
        EXPECT_EQ(fs::path(path).parent_path(), fs::path(files.PrivateDirectory()));
        EXPECT_EQ(fs::path(path).filename().string().substr(0, 3), "hxc");
        ASSERT_TRUE(first->Write("longer text"));
        ASSERT_TRUE(first->Write("short"));
        EXPECT_EQ(first->Read(), "short");
        TemporaryFile moved = std::move(*first);
        EXPECT_EQ(moved.Read(), "short");
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(files.Clean());
}

TEST(SystemServices, ComPortsOfTheDeviceManagerAreDescribed)
{
    const auto devices = DescribeComPorts({
        {"COM10", "Prolific USB-to-Serial Comm Port (COM10)", "Prolific", "Ser2pl", "USB\\VID_067B&PID_2303&REV_0300",
         "USB\\VID_067B&PID_2303\\5&2C1A&0&2"},
        {"COM3", "USB Serial Port (COM3)", "FTDI", "FTSER2K", "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
         "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"},
        {"COM2", "Communications Port (COM2)", "(Standard port types)", "Serial", "ACPI\\PNP0501", "ACPI\\PNP0501\\1"},
        {"", "No port", "", "", "", ""},
    });
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].Path, "COM2");
    EXPECT_EQ(devices[0].UsbId, "");
    EXPECT_EQ(devices[1].Path, "COM3") << "natural order";
    EXPECT_EQ(devices[1].UsbId, "0403:6001");
    EXPECT_EQ(devices[2].UsbId, "067b:2303");
    EXPECT_EQ(devices[2].SerialNumber, "") << "an id Windows made up is no serial number";
    EXPECT_EQ(DeviceDescription(devices[2]), "Prolific USB-to-Serial Comm Port (COM10)");
    EXPECT_TRUE(devices[2].Accessible);
    EXPECT_EQ(DescribeComPorts({{"COM4", "", "", "", "USB\\VID_0403&PID_6015", "USB\\VID_0403&PID_6015\\DN05ABCD"}})
                  .front()
                  .SerialNumber,
              "DN05ABCD");
}

TEST(SystemServices, LocalTimeIsFormattedInEnglish)
{
    std::tm time{};
    time.tm_year = 2024 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_wday = 2;
    time.tm_hour = 14;
    time.tm_min = 7;
    EXPECT_EQ(FormatTimeC("%H:%M %A %B %d %Y", time), "14:07 Tuesday March 05 2024");
    ASSERT_TRUE(LocalTimeOf(std::time(nullptr)));
}

TEST(SystemServices, DirectoryChangesWakeTheWaiterAndStopEndsIt)
{
    TemporaryDirectory directory;
    DirectoryChangeWaiter waiter;
    ASSERT_TRUE(waiter.Valid());
    ASSERT_TRUE(waiter.Add(directory.Path()));
    std::set<std::string> changed;
    bool overflow = false;
    EXPECT_EQ(waiter.Wait(50, changed, overflow), DirectoryChangeWaiter::Outcome::TimedOut);
    WriteTextFile(directory.File("plant.hxc"), "x");
    EXPECT_EQ(waiter.Wait(5000, changed, overflow), DirectoryChangeWaiter::Outcome::Changed);
    EXPECT_EQ(changed, std::set<std::string>{directory.Path()});
    const auto times = ReadFileTimes(directory.File("plant.hxc"));
    ASSERT_TRUE(times);
    EXPECT_TRUE(times->LastWrite.SameFile(ReadFileTimes(directory.File("plant.hxc"))->LastWrite));
    EXPECT_FALSE(ReadFileTimes(directory.File("missing")));

    std::thread stopper([&waiter] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        waiter.Stop();
    });
    // Windows may report the steps of the write one by one: the stop comes after them.
    auto outcome = DirectoryChangeWaiter::Outcome::Changed;
    while (outcome == DirectoryChangeWaiter::Outcome::Changed) {
        outcome = waiter.Wait(-1, changed, overflow);
    }
    EXPECT_EQ(outcome, DirectoryChangeWaiter::Outcome::Stopped);
    stopper.join();
}

TEST(SystemServices, ProfileIsReadAsQSettingsWritesIt)
{
    const ProfileReader profile = ProfileReader::FromIniText("[General]\r\nTop=1\r\n"
                                                             "[Settings]\r\nCOMPort=3\r\nCOM2Device=/dev/ttyUSB0\r\n"
                                                             "ListSeparator=\";\"\r\nPortDevice=\"COM 7, \\\"B\\\"\"\r\n"
                                                             "Bad=3x\r\n"
                                                             "[Recent%20File%20List]\r\nFile1=C:\\\\M\xC3\xBCller\\\\a.hxc\r\n");
    EXPECT_EQ(profile.ReadInt("Settings", "COMPort", 1), 3);
    EXPECT_EQ(profile.ReadInt("Settings", "Missing", 1), 1);
    EXPECT_EQ(profile.ReadInt("Settings", "Bad", 1), 1);
    EXPECT_EQ(profile.ReadString("Settings", "COM2Device"), "/dev/ttyUSB0");
    EXPECT_EQ(profile.ReadString("Settings", "ListSeparator"), ";");
    EXPECT_EQ(profile.ReadString("Settings", "PortDevice"), "COM 7, \"B\"");
    EXPECT_EQ(profile.ReadString("Recent File List", "File1"), "C:\\M\xC3\xBCller\\a.hxc");
    EXPECT_FALSE(profile.ReadString("General", "Top")) << "QSettings keeps [General] keys at the top level";
    EXPECT_FALSE(ProfileReader::FromIniFile("no-such-profile.conf").ReadString("Settings", "COMPort"));
}
