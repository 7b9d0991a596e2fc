// halvex-cli batch, download --backup and log: against halvex-gateway-sim as
// a program, and in-process against the gateway in memory.
#include "CliTestSupport.h"
#include "ConfigFile.h"
#include "DeviceTestSupport.h"
#include "OperationRecord.h"
#include "Sha256.h"
#include "SimProcess.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using Json = nlohmann::json;

class Commissioning : public ::testing::Test {
protected:
    // A configuration of its own for each gateway, written to NAME.hxc.
    std::string WriteConfiguration(const std::string& name)
    {
        ConfigTemplate config = TwoSlaveConfiguration();
        config.TemplateName = name;
        texts_[name] = ConfigFileText(config, false);
        WriteTextFile(directory_.File(name + ".hxc"), texts_[name]);
        return directory_.File(name + ".hxc");
    }
    std::vector<std::string> FilesIn(const std::string& folder) const
    {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files.push_back(entry.path().string());
        }
        return files;
    }

    OwnTemporaryFiles temporaryFiles_;
    OwnOperationsLog log_;
    TemporaryDirectory directory_;
    std::map<std::string, std::string> texts_;
};

}  // namespace

TEST_F(Commissioning, BatchRunsGatewaysInParallelAndLogsEveryLine)
{
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::string downloads = "name,port,file,action\n";
    std::string verifies = downloads;
    for (int i = 1; i <= 9; ++i) {
        const std::string name = "gw" + std::to_string(i);
        sims.push_back(std::make_unique<SimProcess>(i == 9 ? std::vector<std::string>{"--fault", "silence"}
                                                           : std::vector<std::string>{}));
        const std::string line = name + "," + sims.back()->Path() + "," + WriteConfiguration(name);
        downloads += line + ",download\n";
        verifies += i == 9 ? "" : line + ",verify\n";
    }
    WriteTextFile(directory_.File("downloads.csv"), downloads);
    const ProcessResult run = RunProcess({HALVEX_CLI_PATH, "batch", directory_.File("downloads.csv"), "--jobs", "9",
                                          "--json"});
    EXPECT_EQ(run.ExitStatus, 1) << run.Err;
    const Json summary = Json::parse(run.Out, nullptr, false);
    ASSERT_TRUE(summary.is_array() && summary.size() == 9) << run.Out;
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(summary[i]["name"], "gw" + std::to_string(i + 1));
        EXPECT_EQ(summary[i]["result"], i == 8 ? "failed" : "ok");
        EXPECT_EQ(summary[i]["message"], i == 8 ? "Configuration dowload failed!" : "Configuration download OK! [v2.00]");
    }
    // Each line's messages come whole, under its own heading.
    EXPECT_NE(run.Err.find("gw9 (" + sims[8]->Path() + ", download): failed in "), std::string::npos) << run.Err;

    const OperationsLogContents log = ReadOperationsLog(log_.Path());
    ASSERT_EQ(log.Records.size(), 9u);
    std::map<std::string, int> results;
    for (const OperationRecord& record : log.Records) {
        const std::string name = std::filesystem::path(record.File).stem().string();
        EXPECT_EQ(record.Sha256, Sha256Hex(texts_[name])) << name;
        EXPECT_EQ(record.Program, "halvex-cli");
        EXPECT_EQ(record.Action, "download");
        EXPECT_FALSE(record.User.empty() || record.Host.empty() || record.Time.empty());
        ++results[record.Result];
    }
    EXPECT_EQ(results, (std::map<std::string, int>{{"ok", 8}, {"failed", 1}}));

    // Every gateway holds its own file.
    WriteTextFile(directory_.File("verifies.csv"), verifies);
    const ProcessResult verify = RunProcess({HALVEX_CLI_PATH, "batch", directory_.File("verifies.csv")});
    EXPECT_EQ(verify.ExitStatus, 0) << verify.Out << verify.Err;
    EXPECT_NE(verify.Out.find("8 lines: 8 ok, 0 not"), std::string::npos) << verify.Out;

    const ProcessResult shown = RunProcess({HALVEX_CLI_PATH, "log", "--json", "--since", "2000-01-01"});
    EXPECT_EQ(Json::parse(shown.Out, nullptr, false).size(), 17u) << shown.Out;
    EXPECT_EQ(Json::parse(shown.Out, nullptr, false)[16]["verify"], "equal");
}

TEST_F(Commissioning, ManifestErrorsAreRefusedBeforeAnythingIsSent)
{
    InMemoryGateway gateway;
    WriteTextFile(directory_.File("m.csv"), "name,port,file,action\ngw1,gateway," + WriteConfiguration("gw1") +
                                                ",download\ngw2,gateway,missing.hxc,verify\n");
    const ProcessResult run = Cli({"batch", directory_.File("m.csv")}, &gateway);
    EXPECT_EQ(run.ExitStatus, 2);
    EXPECT_EQ(run.Err, "halvex-cli batch: " + directory_.File("m.csv") +
                           ", line 3: missing.hxc: Error loading configuration file!\n");
    EXPECT_EQ(gateway.RequestsReceived(), 0);
    EXPECT_EQ(Cli({"batch", directory_.File("m.csv"), "--jobs", "0"}).ExitStatus, 2);
}

TEST_F(Commissioning, DownloadKeepsTheGatewaysFormerConfigurationFirst)
{
    const std::string backups = directory_.File("backups");
    std::filesystem::create_directory(backups);
    const std::string first = WriteConfiguration("first");
    const std::string second = WriteConfiguration("second");
    InMemoryGateway gateway;

    // Nothing to keep yet: noted, and the download goes on.
    const ProcessResult empty = Cli({"download", first, "--port", "gw", "--backup", backups}, &gateway);
    EXPECT_EQ(empty.ExitStatus, 0) << empty.Err;
    EXPECT_EQ(empty.Out, "The gateway holds no configuration yet: nothing to back up\n"
                         "Configuration download OK! [v2.00]\n");
    EXPECT_TRUE(FilesIn(backups).empty());

    const ProcessResult kept = Cli({"download", second, "--port", "gw", "--backup", backups}, &gateway);
    EXPECT_EQ(kept.ExitStatus, 0) << kept.Err;
    ASSERT_EQ(FilesIn(backups).size(), 1u);
    const std::string backup = FilesIn(backups)[0];
    EXPECT_TRUE(std::filesystem::path(backup).filename().string().starts_with("second-20")) << backup;
    EXPECT_EQ(ReadTextFile(backup), texts_["first"]);
    EXPECT_EQ(Cli({"show", backup}).ExitStatus, 0);
    EXPECT_EQ(gateway.Store().Text(), texts_["second"]);

    // A backup that fails stops the download.
    InMemoryGateway silent({"silence:1"});
    silent.Store().KeepConfiguration({}, texts_["first"]);
    const ProcessResult stopped = Cli({"download", second, "--port", "gw", "--backup", backups}, &silent);
    EXPECT_EQ(stopped.ExitStatus, 1);
    EXPECT_EQ(stopped.Err, "Unable to back up the configuration: the upload failed\n"
                           "Configuration not downloaded: the gateway's configuration was not backed up\n");
    EXPECT_EQ(silent.Store().Text(), texts_["first"]);

    const OperationsLogContents log = ReadOperationsLog(log_.Path());
    std::vector<std::string> entries;
    for (const OperationRecord& record : log.Records) {
        entries.push_back(record.Action + " " + record.Result + " " + std::filesystem::path(record.File).filename().string());
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"backup ok ", "download ok first.hxc",
                                                 "backup ok " + std::filesystem::path(backup).filename().string(),
                                                 "download ok second.hxc", "backup failed ", "download failed second.hxc"}));
    EXPECT_EQ(log.Records[2].Sha256, Sha256Hex(texts_["first"]));
}
