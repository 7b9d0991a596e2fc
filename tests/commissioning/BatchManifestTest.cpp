// Reading a manifest, and the checks made before a batch sends anything.
#include "BatchRunner.h"
#include "ConfigFile.h"
#include "SampleConfigurations.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

TEST(BatchManifest, ReadsColumnsInAnyOrderQuotedFieldsAndCrLf)
{
    const ManifestParse parse = ParseManifest("action,file,name,port,comment\r\n"
                                              "download, gw1.hxc ,gw1,COM1,\r\n"
                                              "\r\n"
                                              "verify,\"plans/a, b.hxc\",\"gw \"\"2\"\"\",/dev/ttyUSB0,x\n");
    ASSERT_TRUE(parse.Ok()) << parse.Error;
    ASSERT_EQ(parse.Lines.size(), 2u);
    EXPECT_EQ(parse.Lines[0].Name, "gw1");
    EXPECT_EQ(parse.Lines[0].File, "gw1.hxc");
    EXPECT_EQ(parse.Lines[0].Action, BatchAction::Download);
    EXPECT_EQ(parse.Lines[1].LineNumber, 4);
    EXPECT_EQ(parse.Lines[1].Name, "gw \"2\"");
    EXPECT_EQ(parse.Lines[1].Port, "/dev/ttyUSB0");
    EXPECT_EQ(parse.Lines[1].File, "plans/a, b.hxc");
    EXPECT_EQ(parse.Lines[1].Action, BatchAction::Verify);
}

TEST(BatchManifest, RefusalsNameTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"name,port,file\ngw1,COM1,a.hxc\n",
         "line 1: the header has no column 'action' (it must name name,port,file,action)"},
        {"name,port,file,action\ngw1,COM1,a.hxc,download\ngw2,COM2,b.hxc,flash\n",
         "line 3: unknown action 'flash' (one of download, verify, upload, backup, firmware, diagnostics)"},
        {"name,port,file,action\ngw1,COM1,download\n", "line 2: 3 fields where the header has 4"},
        {"name,port,file,action\n,COM1,a.hxc,firmware\n", "line 2: no name"},
        {"name,port,file,action\ngw1,COM1,\"a.hxc,firmware\n", "line 2: a quote is not closed"},
        {"name,port,file,action\n\n", "line 2: no gateway lines below the header"},
        {"", "line 1: no header name,port,file,action"},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(ParseManifest(text).Error, error) << text;
    }
}

TEST(BatchPlan, ChecksFilesPortsAndFoldersBeforeAnythingIsSent)
{
    TemporaryDirectory directory;
    const std::string good = directory.File("good.hxc");
    WriteTextFile(good, ConfigFileText(TwoSlaveConfiguration(), false));
    WriteTextFile(directory.File("bad.hxc"), "no configuration\r\n");
    const auto devices = [](const std::string& port) {
        return port == "nowhere" ? std::nullopt : std::optional<std::string>("/dev/" + port);
    };
    const auto plan = [&](const std::string& lines, const std::string& backup = {}) {
        const ManifestParse parse = ParseManifest("name,port,file,action\n" + lines);
        EXPECT_TRUE(parse.Ok()) << parse.Error;
        return PlanBatch(parse.Lines, backup, devices);
    };
    const BatchPlan ok = plan("gw1,a," + good + ",download\ngw1,a,,backup\ngw2,b,,firmware\n", directory.Path());
    ASSERT_TRUE(ok.Ok()) << ok.Error;
    EXPECT_EQ(ok.Jobs[0].DevicePath, "/dev/a");
    ASSERT_NE(ok.Jobs[0].Config, nullptr);
    EXPECT_EQ(ok.Jobs[0].Config->AnalogInputs.Count(), TwoSlaveConfiguration().AnalogInputs.Count());
    EXPECT_EQ(ok.Jobs[0].BackupDirectory, directory.Path());
    EXPECT_EQ(ok.Jobs[1].BackupDirectory, directory.Path());

    EXPECT_EQ(plan("gw1,a," + good + ",verify\ngw2,b," + directory.File("bad.hxc") + ",download\n").Error,
              "line 3: " + directory.File("bad.hxc") + ": Wrong configuration file version!");
    EXPECT_EQ(plan("gw1,a," + directory.File("none.hxc") + ",verify\n").Error,
              "line 2: " + directory.File("none.hxc") + ": Error loading configuration file!");
    EXPECT_EQ(plan("gw1,nowhere,,firmware\n").Error,
              "line 2: the port 'nowhere' is neither COM1 to COM4 nor a device path");
    EXPECT_EQ(plan("gw1,a,,upload\n").Error, "line 2: upload needs a file to write");
    EXPECT_EQ(plan("gw1,a,,backup\n").Error, "line 2: backup needs a folder (in the file column, or --backup)");
    EXPECT_EQ(plan("gw1,a," + good + ",backup\n").Error, "line 2: " + good + " is not a folder");
}
