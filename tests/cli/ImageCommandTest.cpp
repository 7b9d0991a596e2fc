#include "ConfigFile.h"
#include "CliTestSupport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

}  // namespace

TEST(ImageCommand, WritesTheImageOfEitherLayoutWithTheGivenDate)
{
    TemporaryDirectory directory;
    const std::string in = directory.File("a.hxc");
    WriteTextFile(in, ConfigFileText(ConfigTemplate{}, false));

    ProcessResult result = Cli({"image", in, directory.File("a.img"), "--date", "2005-05-10"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "Device image: 54 bytes\n");
    std::string expected("\0\0\x02\x00\x07\xD5\x05\x0A\0\0\x25\x80\x00\x32\x0A\x02\x7D\x01", 18);
    expected += std::string(14, '\0') + std::string("\x0B\xB8\0\0RF", 6) + std::string(16, '\0');
    EXPECT_EQ(ReadTextFile(directory.File("a.img")), expected);

    result = Cli({"image", in, directory.File("b.img"), "--layout", "1.02", "--date", "2005-05-10"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    expected[2] = '\x01';
    expected[3] = '\x03';
    EXPECT_EQ(ReadTextFile(directory.File("b.img")), expected);
}

TEST(ImageCommand, UsageErrorsAndFailures)
{
    TemporaryDirectory directory;
    const std::string in = directory.File("a.hxc");
    WriteTextFile(in, ConfigFileText(ConfigTemplate{}, false));
    const std::string out = directory.File("a.img");
    EXPECT_EQ(Cli({"image", in, out, "--layout", "3.00"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"image", in, out, "--date", "2005-02-29"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"image", in, out, "--date", "10.05.2005"}).ExitStatus, 2);
    EXPECT_EQ(Cli({"image", in, out, "--date", "2004-02-29"}).ExitStatus, 0);
    EXPECT_EQ(Cli({"image", directory.File("missing.hxc"), out}).ExitStatus, 1);

    ConfigTemplate broken;
    DigitalInputPoint point;
    point.Address = "1E1";
    broken.DigitalInputs.Append(point);
    WriteTextFile(in, ConfigFileText(broken, false));
    const ProcessResult result = Cli({"image", in, directory.File("c.img")});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err.rfind("Error in Ch/Cat/Dno\n", 0), 0u) << result.Err;
}
