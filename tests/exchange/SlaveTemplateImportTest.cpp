#include "ConfigFile.h"
#include "NumberText.h"
#include "ScriptedWindowSystem.h"
#include "SlaveTemplateImport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Message = ScriptedWindowSystem::Message;
using Entries = std::vector<std::string>;

const std::string kHeader = CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00");

// Configuration file lines of each kind, `count` times.
std::string Lines(const std::string& line, int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += line + "\r\n";
    }
    return lines;
}
std::string Analog(const std::string& name, int slave, int count = 1)
{
    return Lines("1,\tN,\t\"" + name + "\",\t" + FormatInt(slave) + ",\t0I1,\t1.0,\t16", count);
}
std::string DigitalInput(const std::string& name, int slave)
{
    return Lines("1,\tN,\t\"" + name + "\",\t" + FormatInt(slave) + ",\t1/1E1/1,\tS,\t0,\t1,\t0,\t0,\t0,0,0,0", 1);
}
std::string DigitalOutput(const std::string& name, int slave, int count = 1)
{
    return Lines("1,\tP,\t\"" + name + "\",\t" + FormatInt(slave) + ",\t0O1,\tB", count);
}
std::string Indirect(const std::string& name, int slave, int count = 1)
{
    return Lines("1,\t1,\"" + name + "\",\t" + FormatInt(slave) + ",\t0I0,\tW,\t3,\t1.0", count);
}

const std::string kSlave3 = kHeader + "[ANALOG_INPUT]\r\n" + Analog("src AI", 3) + "[DIGITAL_INPUT]\r\n" +
                            DigitalInput("src DI", 3) + "[ANALOG_OUTPUT]\r\n" + Analog("src AO", 3) +
                            "[DIGITAL_OUTPUT]\r\n" + DigitalOutput("src DO", 3) + "[INDIRECT_SPA_COMMANDS]\r\n" +
                            Indirect("src IM", 3);
// Addresses 3 and 7; the first point has address 3.
const std::string kSlaves3And7 = kHeader + "[ANALOG_INPUT]\r\n" + Analog("main AI", 3) + Analog("other AI", 7) +
                                 "[DIGITAL_OUTPUT]\r\n" + DigitalOutput("other DO", 7) + DigitalOutput("main DO", 3);

template <typename List>
Entries Of(const List& list)
{
    Entries entries;
    for (const auto& point : list) {
        entries.push_back(point.Description + "@" + FormatInt(point.SlaveAddress));
    }
    return entries;
}

const Message kReplace{"Replace?", "Selected slave is not empty. Replace existing parameters?", MessageIcon::Question,
                       true};
const Message kCreate{"Create?",
                      "The template consist of several slave addresses. Should several slaves be created "
                      "automatically?",
                      MessageIcon::Question, true};
const Message kForced = NoticeMessage("Slave address in template does not match the selected slave. Address in "
                                      "template will be forced to address of the selected slave.");
const Message kConflict = ErrorMessage("Error", "Conflicting slave addresses found. Import aborted.");

class SlaveTemplateImportTest : public ::testing::Test {
protected:
    // Slaves 5 and 9 with points, in the order of a file.
    SlaveTemplateImportTest()
    {
        Load(kHeader + "[ANALOG_INPUT]\r\n" + Analog("AI", 5) + Analog("AI", 9) + "[DIGITAL_INPUT]\r\n" +
             DigitalInput("DI", 5) + "[DIGITAL_OUTPUT]\r\n" + DigitalOutput("DO", 9) + "[INDIRECT_SPA_COMMANDS]\r\n" +
             Indirect("IM", 5) + Indirect("IM", 9));
    }

    void Load(const std::string& text) { ASSERT_TRUE(ReadConfigText(*config_, text, ui_)); }

    // Imports the source text onto the selected slave; the slaves are those of
    // the points plus `added`.
    bool Import(const std::string& source, int selected, std::deque<bool> answers,
                std::initializer_list<int> added = {})
    {
        WriteTextFile(directory_.File("source.hxc"), source);
        ui_.Files = {directory_.File("source.hxc")};
        ui_.Answers = std::move(answers);
        ui_.Messages.clear();
        SlaveAddressTable used = CollectSlaveAddresses(*config_);
        for (int slave : added) {
            AddSlaveAddress(used, slave);
        }
        before_ = ConfigFileText(*config_, false);
        return ImportSlaveTemplate(*config_, selected, used, ui_);
    }

    bool Unchanged() const { return ConfigFileText(*config_, false) == before_; }

    TemporaryDirectory directory_;
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui_;
    std::string before_;
};

}  // namespace

TEST_F(SlaveTemplateImportTest, OneAddressIsMappedOntoTheSelectedSlave)
{
    ASSERT_TRUE(Import(kSlave3, 5, {true}));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplace, kForced}));
    EXPECT_EQ(ui_.FileRequests.back().Filter, "Halvex Configuration File (*.hxc)|*.hxc||");
    EXPECT_EQ(ui_.FileRequests.back().DefaultExtension, "HXC");
    EXPECT_EQ(Of(config_->AnalogInputs), (Entries{"AI@9", "src AI@5"}));
    EXPECT_EQ(Of(config_->DigitalInputs), (Entries{"src DI@5"}));
    EXPECT_EQ(Of(config_->AnalogOutputs), (Entries{"src AO@5"}));
    EXPECT_EQ(Of(config_->DigitalOutputs), (Entries{"DO@9", "src DO@5"}));
    EXPECT_EQ(Of(config_->IndirectMessages), (Entries{"IM@9", "src IM@5"}));
    // Entries come whole, with every field as read.
    EXPECT_EQ(config_->DigitalInputs[0].EventChannel, 1);
    EXPECT_TRUE(config_->DigitalOutputs[1].Priority);
    EXPECT_EQ(config_->IndirectMessages[1].StaticData, 3);

    ASSERT_TRUE(Import(kHeader + "[ANALOG_INPUT]\r\n" + Analog("same", 5), 5, {true}));
    EXPECT_EQ(ui_.Messages, std::vector{kReplace});
}

TEST_F(SlaveTemplateImportTest, SeveralAddressesCreateSlaves)
{
    ASSERT_TRUE(Import(kSlaves3And7, 5, {true, true}));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplace, kCreate, kForced}));
    EXPECT_EQ(Of(config_->AnalogInputs), (Entries{"AI@9", "main AI@5", "other AI@7"}));
    EXPECT_EQ(Of(config_->DigitalOutputs), (Entries{"DO@9", "other DO@7", "main DO@5"}));
}

TEST_F(SlaveTemplateImportTest, RefusalsChangeNothing)
{
    EXPECT_FALSE(Import(kSlave3, -1, {}));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Please select a slave tab before importing")});
    EXPECT_FALSE(Import(kSlave3, 5, {false}));
    EXPECT_EQ(ui_.Files.size(), 1u) << "no file dialog after No";
    EXPECT_FALSE(Import("no configuration\r\n", 5, {true}));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplace, ErrorMessage("Open error", "Error loading file!")}));
    EXPECT_FALSE(Import(kSlaves3And7, 5, {true, false}));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplace, kCreate}));
    // Onto slave 7 itself (added, without points), then onto 5 next to a slave 7.
    EXPECT_FALSE(Import(kSlaves3And7, 7, {true}, {7}));
    EXPECT_EQ(ui_.Messages, (std::vector{kCreate, kConflict}));
    EXPECT_FALSE(Import(kSlaves3And7, 5, {true, true}, {7}));
    EXPECT_EQ(ui_.Messages.back(), kConflict);
    EXPECT_TRUE(Unchanged());

    ui_.Files = {std::nullopt};
    ui_.Answers = {true};
    EXPECT_FALSE(ImportSlaveTemplate(*config_, 5, CollectSlaveAddresses(*config_), ui_));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, EmptySourceAndSlavesWithOnlyIndirectMessages)
{
    ASSERT_TRUE(Import(kHeader, 5, {true}));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplace, kForced}));
    EXPECT_EQ(Of(config_->AnalogInputs), (Entries{"AI@9"}));
    EXPECT_EQ(Of(config_->IndirectMessages), (Entries{"IM@9"}));

    // Slave 9 keeps only its indirect message: it counts as empty.
    config_->AnalogInputs.Clear();
    config_->DigitalOutputs.Clear();
    ASSERT_TRUE(Import(kHeader + "[INDIRECT_SPA_COMMANDS]\r\n" + Indirect("new", 9), 9, {}));
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(Of(config_->IndirectMessages), (Entries{"new@9"}));
}

TEST_F(SlaveTemplateImportTest, ListsMayHoldAtMost255Entries)
{
    // 200 analog inputs of slave 9; the 50 of slave 5 are replaced.
    Load(kHeader + "[ANALOG_INPUT]\r\n" + Analog("other", 9, 200) + Analog("own", 5, 50));
    const std::string prefix = kHeader + "[ANALOG_INPUT]\r\n";
    EXPECT_FALSE(Import(prefix + Analog("src", 5, 56), 5, {true}));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Total number of analog inputs exceed 255. Import aborted."));
    EXPECT_TRUE(Unchanged());
    ASSERT_TRUE(Import(prefix + Analog("src", 5, 55), 5, {true}));
    EXPECT_EQ(config_->AnalogInputs.Count(), 255);
    EXPECT_EQ(Of(config_->AnalogInputs)[200], "src@5");

    // The first list over its limit is named.
    Load(kHeader + "[DIGITAL_OUTPUT]\r\n" + DigitalOutput("other", 9, 200) + "[INDIRECT_SPA_COMMANDS]\r\n" +
         Indirect("other", 9, 128));
    const std::string source = kHeader + "[DIGITAL_OUTPUT]\r\n" + DigitalOutput("src", 9, 60) +
                               "[INDIRECT_SPA_COMMANDS]\r\n" + Indirect("src", 9, 128);
    EXPECT_FALSE(Import(source, 11, {}, {11}));
    EXPECT_EQ(ui_.Messages.back(),
              ErrorMessage("Error", "Total number of digital outputs exceed 255. Import aborted."));
    config_->DigitalOutputs.Clear();
    EXPECT_FALSE(Import(source, 11, {}, {11}));
    EXPECT_EQ(ui_.Messages.back(),
              ErrorMessage("Error", "Total number of indirect SPA commands exceed 255. Import aborted."));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, DigitalInputsAndAnalogOutputsNameTheirOwnLimit)
{
    std::string otherInputs;
    std::string sourceInputs;
    for (int i = 0; i < 200; ++i) {
        otherInputs += DigitalInput("other", 9);
    }
    for (int i = 0; i < 60; ++i) {
        sourceInputs += DigitalInput("src", 9);
    }
    Load(kHeader + "[DIGITAL_INPUT]\r\n" + otherInputs + "[ANALOG_OUTPUT]\r\n" + Analog("other", 9, 200));
    const std::string source =
        kHeader + "[DIGITAL_INPUT]\r\n" + sourceInputs + "[ANALOG_OUTPUT]\r\n" + Analog("src", 9, 60);
    EXPECT_FALSE(Import(source, 11, {}, {11}));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Total number of digital inputs exceed 255. Import aborted."));
    config_->DigitalInputs.Clear();
    EXPECT_FALSE(Import(source, 11, {}, {11}));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Total number of analog outputs exceed 255. Import aborted."));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, IndirectMessagesBeyond127AreRefusedBecauseTheyWouldBeLost)
{
    Load(kHeader + "[INDIRECT_SPA_COMMANDS]\r\n" + Indirect("other", 9, 100) + Indirect("own", 5, 20));
    const std::string prefix = kHeader + "[INDIRECT_SPA_COMMANDS]\r\n";
    EXPECT_FALSE(Import(prefix + Indirect("src", 5, 28), 5, {}));
    EXPECT_EQ(ui_.Messages.back(),
              ErrorMessage("Error", "Total number of indirect SPA commands exceed 127. Import aborted."));
    EXPECT_TRUE(Unchanged());
    ASSERT_TRUE(Import(prefix + Indirect("src", 5, 27), 5, {}));
    EXPECT_EQ(config_->IndirectMessages.Count(), 127);
}

TEST_F(SlaveTemplateImportTest, MoreThan16SlavesAreRefused)
{
    std::string fifteen = kHeader + "[ANALOG_INPUT]\r\n";
    for (int slave = 1; slave <= 15; ++slave) {
        fifteen += Analog("AI", slave);
    }
    Load(fifteen);
    const std::string prefix = kHeader + "[ANALOG_INPUT]\r\n" + Analog("src", 20) + Analog("src", 21);
    EXPECT_FALSE(Import(prefix + Analog("src", 22), 1, {true, true}));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", kTooManySlavesMessage));
    EXPECT_TRUE(Unchanged());
    ASSERT_TRUE(Import(prefix, 1, {true, true}));
    EXPECT_EQ(SlaveCount(CollectSlaveAddresses(*config_)), 16);
}
