// Comparing configurations: two texts line by line, two files as a user
// reads them, and the gateway's configuration with a file.
#include "ConfigFile.h"
#include "ConfigurationDiff.h"
#include "ConfigurationDownload.h"
#include "ConfigurationVerify.h"
#include "DeviceImage.h"
#include "DeviceTestSupport.h"
#include "InMemoryGateway.h"
#include "LinkTestSupport.h"
#include "TextCompare.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(TextCompare, FirstDifferenceAndTheCountOfDifferingLines)
{
    EXPECT_TRUE(CompareTextLines("a\r\nb\r\n", "a\nb").Equal()) << "line ends do not count";
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));

    const TextDifference changed = CompareTextLines("a\nb\nc\nd\n", "a\nB\nc\nD\n");
    EXPECT_EQ(changed.FirstLine, 2);
    EXPECT_EQ(changed.ExpectedLine, "b");
    EXPECT_EQ(changed.ActualLine, "B");
    EXPECT_EQ(changed.DifferingLines, 2);

    const TextDifference shorter = CompareTextLines("a\nb\nc\n", "a\n");
    EXPECT_EQ(shorter.FirstLine, 2);
    EXPECT_EQ(shorter.ExpectedLine, "b");
    EXPECT_FALSE(shorter.ActualLine);
    EXPECT_EQ(shorter.DifferingLines, 2);
}

TEST(ConfigurationDiff, SettingsByNameAndPointsBySectionAndPosition)
{
    const ConfigTemplate from = TwoSlaveConfiguration();
    EXPECT_TRUE(DiffConfigurations(from, from).empty());

    ConfigTemplate to = from;
    to.SpaBaudRate = 9600;
    to.GlobalEventPoll = true;
    to.AnalogInputs[2].Scale = 2.5f;
    to.AnalogInputs[2].Description = "Voltage";
    to.AnalogInputs.RemoveAt(3);
    to.DigitalOutputs[0].InUse = true;
    IndirectSpaMessage message;
    message.Write = true;
    to.IndirectMessages.Append(message);
    EXPECT_EQ(DiffConfigurations(from, to),
              (Lines{
                  "SPA_BAUDRATE: 19200 -> 9600",
                  "GLOBAL_EVENT_POLL: DISABLE -> ENABLE",
                  "[ANALOG_INPUT] 3 changed: Descr. \"Current 2\" -> \"Voltage\"; Scale 1.000000 -> 2.500000",
                  "[ANALOG_INPUT] 4 removed: InUse 1, Prio N, Descr. \"Current 3\", SlAddr 5, Ch/Cat/Dno 0I4, "
                  "Scale 1.000000, Size 16",
                  "[DIGITAL_OUTPUT] 1 changed: InUse 0 -> 1",
                  "[INDIRECT_SPA_COMMANDS] 2 added: InUse 1, Descr. \"\", SlAddr 0, Ch/Cat/Dno 0I0, Read/Write W, "
                  "StaticData 0, Scale 1.000000",
              }));
}

class Verify : public ::testing::Test {
protected:
    Verify() { line_.transport.SetResponder(gateway_.Responder()); }

    OwnTemporaryFiles temporaryFiles_;
    InMemoryGateway gateway_;
    DeviceUi ui_;
    MemoryLine line_;
    DeviceConnection connection_{line_.link, "gateway", ui_};
};

TEST_F(Verify, TheGatewayHoldsTheDownloadedConfigurationAndNotAChangedOne)
{
    // A gateway that holds nothing yet cannot be verified.
    EXPECT_FALSE(VerifyConfiguration(connection_, TwoSlaveConfiguration()));
    EXPECT_EQ(ui_.Messages, (std::vector{ErrorMessage("Error", "Unable to upload configuration\nthe gateway reported an error")}));

    const ConfigTemplate sent = TwoSlaveConfiguration();
    ASSERT_EQ(DownloadConfiguration(connection_, sent, kFormatVersion200), DownloadOutcome::Succeeded);
    ui_.Messages.clear();
    ui_.StatusTexts.clear();
    const auto same = VerifyConfiguration(connection_, sent);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->Equal());
    EXPECT_EQ(ui_.StatusTexts, (Lines{"Uploading configuration", "Ready"}));
    EXPECT_TRUE(ui_.Messages.empty()) << "the caller reports the result";
    EXPECT_FALSE(line_.link.IsOpen());
    ReportVerifyResult(ui_, *same);
    EXPECT_EQ(ui_.Messages.back(),
              InfoMessage("Success", "Configuration verify OK! The gateway holds this configuration."));

    ConfigTemplate changed = sent;
    changed.AnalogInputs[1].Scale = 0.5f;
    const auto differs = VerifyConfiguration(connection_, changed);
    ASSERT_TRUE(differs);
    ReportVerifyResult(ui_, *differs);
    EXPECT_EQ(ui_.Messages.back(),
              ErrorMessage("Error", "Configuration verify failed! The gateway's configuration differs in 1 line.\n"
                                    "First difference, line 17:\n"
                                    "gateway:  1,\tN,\t\"Current 1\",\t5,\t0I2,\t1.000000,\t16\n"
                                    "expected: 1,\tN,\t\"Current 1\",\t5,\t0I2,\t0.500000,\t16"));
}
