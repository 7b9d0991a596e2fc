// halvex-cli check, diff and the --json forms of show and check, in-process.
#include "CliTestSupport.h"
#include "ConfigFile.h"
#include "SampleConfigurations.h"
#include "TestFiles.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

class CheckCommands : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const ConfigTemplate& config)
    {
        const std::string path = directory_.File(name);
        WriteTextFile(path, ConfigFileText(config, false));
        return path;
    }

    TemporaryDirectory directory_;
};

// 243 input bytes, a digital input address "12" and 128 indirect messages.
ConfigTemplate ThreeErrors()
{
    ConfigTemplate config = TwoSlaveConfiguration();  // 11 input bytes
    config.DigitalInputs[0].Address = "12";
    for (int i = 0; i < 116; ++i) {
        AnalogInputPoint point;
        point.Address = "1I" + std::to_string(i);
        point.SlaveAddress = 5;
        config.AnalogInputs.Append(point);
    }
    while (config.IndirectMessages.Count() < 128) {
        config.IndirectMessages.Append(config.IndirectMessages[0]);
    }
    return config;
}

}  // namespace

TEST_F(CheckCommands, CheckListsEveryErrorAndFailsOnlyWithErrors)
{
    const ProcessResult errors = Cli({"check", Write("errors.hxc", ThreeErrors())});
    EXPECT_EQ(errors.ExitStatus, 1);
    EXPECT_EQ(errors.Out,
              "error: Unable to download - configuration uses more than 242 bytes for input\n"
              "  243 input bytes; the first point beyond 242: Digital input 1 \"\" (slave 9, Ch/Cat/Dno \"12\")\n"
              "error: Unable to download - more than 127 indirect SPA messages\n"
              "  128 indirect SPA messages; the first beyond 127: Indirect SPA message 128 \"\" (slave 9, Ch/Cat/Dno "
              "\"1V5\")\n"
              "error: Unable to download - incorrect configuration\n"
              "  Digital input 1 \"\" (slave 9, Ch/Cat/Dno \"12\"): the address is not of the form "
              "FCh/LCh/Cat/FDno/LDno\n"
              "warning: Warning : Total template size (input) exceeds 240 bytes\n"
              "  247 bytes laid out; the first point beyond 240: Analog input 118 \"\" (slave 5, Ch/Cat/Dno "
              "\"1I113\")\n"
              "3 errors, 1 warning\n");

    const ProcessResult clean = Cli({"check", Write("clean.hxc", TwoSlaveConfiguration())});
    EXPECT_EQ(clean.ExitStatus, 0);
    EXPECT_EQ(clean.Out, "No errors and no warnings: the configuration can be downloaded.\n");
    EXPECT_EQ(Cli({"check", directory_.File("none.hxc")}).ExitStatus, 1);
}

TEST_F(CheckCommands, JsonOfCheckAndShowHasTheDocumentedKeys)
{
    const std::string path = Write("errors.hxc", ThreeErrors());
    const ProcessResult check = Cli({"check", path, "--json"});
    EXPECT_EQ(check.ExitStatus, 1);
    const json result = json::parse(check.Out);
    ASSERT_EQ(result["errors"].size(), 3u);
    EXPECT_EQ(result["errors"][2], (json{{"text", "Unable to download - incorrect configuration"},
                                         {"detail", "Digital input 1 \"\" (slave 9, Ch/Cat/Dno \"12\"): the address is "
                                                    "not of the form FCh/LCh/Cat/FDno/LDno"},
                                         {"section", "DIGITAL_INPUT"},
                                         {"index", 1},
                                         {"description", ""},
                                         {"slave", 9},
                                         {"address", "12"}}));
    EXPECT_EQ(result["errors"][1]["index"], 128);
    EXPECT_EQ(result["warnings"].size(), 1u);

    ConfigTemplate config = TwoSlaveConfiguration();
    config.TemplateName = "Fe\xE9"
                          "der";  // 8-bit text comes out as UTF-8
    const ProcessResult show = Cli({"show", Write("show.hxc", config), "--json"});
    EXPECT_EQ(show.ExitStatus, 0);
    const json summary = json::parse(show.Out);
    EXPECT_EQ(summary["template"], "Fe\xC3\xA9"
                                   "der");
    EXPECT_EQ(summary["slaves"], json::array({5, 9}));
    EXPECT_EQ(summary["input_bytes"], 15);
    EXPECT_EQ(summary["output_bytes"], 3);
    for (const char* key : {"analog_inputs", "digital_inputs", "analog_outputs", "digital_outputs"}) {
        EXPECT_EQ(summary[key], 1 + (std::string(key) == "analog_inputs" ? 3 : 0)) << key;
    }
    EXPECT_EQ(summary["indirect_messages"], 1);
}

TEST_F(CheckCommands, DiffNamesSettingsAndPointsAndExitsByTheResult)
{
    const ConfigTemplate from = TwoSlaveConfiguration();
    ConfigTemplate to = from;
    to.SpaBaudRate = 9600;
    to.AnalogInputs[1].Scale = 0.5f;
    to.DigitalOutputs.RemoveAt(0);
    const std::string a = Write("a.hxc", from);
    const ProcessResult differ = Cli({"diff", a, Write("b.hxc", to)});
    EXPECT_EQ(differ.ExitStatus, 1);
    EXPECT_EQ(differ.Out, "SPA_BAUDRATE: 19200 -> 9600\n"
                          "[ANALOG_INPUT] 2 changed: Scale 1.000000 -> 0.500000\n"
                          "[DIGITAL_OUTPUT] 1 removed: InUse 0, Prio N, Descr. \"\", SlAddr 5, Ch/Cat/Dno 1O1, "
                          "Datatype B\n");
    const ProcessResult same = Cli({"diff", a, a});
    EXPECT_EQ(same.ExitStatus, 0);
    EXPECT_EQ(same.Out, "");
    EXPECT_EQ(Cli({"diff", a, directory_.File("none.hxc")}).ExitStatus, 2);
    EXPECT_EQ(Cli({"diff", a}).ExitStatus, 2);
}
