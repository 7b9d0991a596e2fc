#include "ConfigFile.h"
#include "ScriptedWindowSystem.h"
#include "SlaveTemplateImport.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const std::string kHeader = CrLfLines("[HEADER]", "IDENTIFICATION = CONFIGURATION_FILE_SPA_DPV1_V1", "VERSION = 2.00");

std::string AnalogLine(const std::string& description, int slave)
{
    return "1,\tN,\t\"" + description + "\",\t" + std::to_string(slave) + ",\t0I1,\t1.000000,\t16\r\n";
}

std::string DigitalInputLine(const std::string& description, int slave)
{
    return "1,\tN,\t\"" + description + "\",\t" + std::to_string(slave) + ",\t1/1E1/1,\tS,\t0,\t1,\t0,\t0,\t0,0,0,0\r\n";
}

std::string DigitalOutputLine(const std::string& description, int slave)
{
    return "1,\tP,\t\"" + description + "\",\t" + std::to_string(slave) + ",\t0O1,\tB\r\n";
}

std::string IndirectLine(const std::string& description, int slave)
{
    return "1,\t1,\"" + description + "\",\t" + std::to_string(slave) + ",\t0I0,\tW,\t3,\t1.000000\r\n";
}

// A source with every kind of point, all for slave 3.
const std::string kSlave3Source = kHeader + "[ANALOG_INPUT]\r\n" + AnalogLine("src AI", 3) + "[DIGITAL_INPUT]\r\n" +
                                  DigitalInputLine("src DI", 3) + "[ANALOG_OUTPUT]\r\n" + AnalogLine("src AO", 3) +
                                  "[DIGITAL_OUTPUT]\r\n" + DigitalOutputLine("src DO", 3) +
                                  "[INDIRECT_SPA_COMMANDS]\r\n" + IndirectLine("src IM", 3);

// Points for addresses 3 and 7; the first point has address 3.
const std::string kSlaves3And7Source = kHeader + "[ANALOG_INPUT]\r\n" + AnalogLine("main AI", 3) +
                                       AnalogLine("other AI", 7) + "[DIGITAL_OUTPUT]\r\n" +
                                       DigitalOutputLine("other DO", 7) + DigitalOutputLine("main DO", 3);

template <typename List>
std::vector<std::pair<std::string, int>> Entries(const List& list)
{
    std::vector<std::pair<std::string, int>> entries;
    for (const auto& point : list) {
        entries.emplace_back(point.Description, point.SlaveAddress);
    }
    return entries;
}

using EntryList = std::vector<std::pair<std::string, int>>;

const ScriptedWindowSystem::Message kReplaceQuestion{
    "Replace?", "Selected slave is not empty. Replace existing parameters?", MessageIcon::Question, true};
const ScriptedWindowSystem::Message kCreateQuestion{
    "Create?",
    "The template consist of several slave addresses. Should several slaves be created automatically?",
    MessageIcon::Question, true};
const ScriptedWindowSystem::Message kForcedAddressNotice = NoticeMessage(
    "Slave address in template does not match the selected slave. Address in template will be forced to address "
    "of the selected slave.");

class SlaveTemplateImportTest : public ::testing::Test {
protected:
    SlaveTemplateImportTest()
    {
        Add(config_->AnalogInputs, "AI 5", 5);
        Add(config_->AnalogInputs, "AI 9", 9);
        Add(config_->DigitalInputs, "DI 5", 5);
        Add(config_->DigitalOutputs, "DO 9", 9);
        Add(config_->IndirectMessages, "IM 5", 5);
        Add(config_->IndirectMessages, "IM 9", 9);
    }

    template <typename List>
    static void Add(List& list, const std::string& description, int slave, int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            typename std::remove_reference_t<decltype(*list.begin())> point;
            point.Description = description;
            point.SlaveAddress = slave;
            list.Append(point);
        }
    }

    std::string Source(const std::string& text)
    {
        const std::string path = directory_.File("source" + std::to_string(++sources_) + ".hxc");
        WriteTextFile(path, text);
        return path;
    }

    // Runs the import with the slaves that the points give (and extra ones).
    bool Import(int selectedSlave, std::initializer_list<int> extraSlaves = {})
    {
        SlaveAddressTable used = CollectSlaveAddresses(*config_);
        for (int slave : extraSlaves) {
            AddSlaveAddress(used, slave);
        }
        before_ = ConfigFileText(*config_, false);
        return ImportSlaveTemplate(*config_, selectedSlave, used, ui_);
    }

    bool Unchanged() const { return ConfigFileText(*config_, false) == before_; }

    TemporaryDirectory directory_;
    int sources_ = 0;
    std::unique_ptr<ConfigTemplate> config_ = std::make_unique<ConfigTemplate>();
    ScriptedWindowSystem ui_;
    std::string before_;
};

}  // namespace

TEST_F(SlaveTemplateImportTest, OneAddressIsMappedOntoTheSelectedSlave)
{
    ui_.Answers = {true};
    ui_.Files = {Source(kSlave3Source)};
    ASSERT_TRUE(Import(5));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplaceQuestion, kForcedAddressNotice}));
    ASSERT_EQ(ui_.FileRequests.size(), 1u);
    EXPECT_EQ(ui_.FileRequests[0].Filter, "Halvex Configuration File (*.hxc)|*.hxc||");
    EXPECT_EQ(ui_.FileRequests[0].DefaultExtension, "HXC");

    EXPECT_EQ(Entries(config_->AnalogInputs), (EntryList{{"AI 9", 9}, {"src AI", 5}}));
    EXPECT_EQ(Entries(config_->DigitalInputs), (EntryList{{"src DI", 5}}));
    EXPECT_EQ(Entries(config_->AnalogOutputs), (EntryList{{"src AO", 5}}));
    EXPECT_EQ(Entries(config_->DigitalOutputs), (EntryList{{"DO 9", 9}, {"src DO", 5}}));
    EXPECT_EQ(Entries(config_->IndirectMessages), (EntryList{{"IM 9", 9}, {"src IM", 5}}));
    // Entries come whole, with every field as read.
    EXPECT_EQ(config_->DigitalInputs[0].Address, "1/1E1/1");
    EXPECT_EQ(config_->DigitalInputs[0].EventChannel, 1);
    EXPECT_TRUE(config_->DigitalOutputs[1].Priority);
    EXPECT_TRUE(config_->IndirectMessages[1].Write);
    EXPECT_EQ(config_->IndirectMessages[1].StaticData, 3);
}

TEST_F(SlaveTemplateImportTest, MatchingAddressGivesNoNotice)
{
    ui_.Answers = {true};
    ui_.Files = {Source(kHeader + "[ANALOG_INPUT]\r\n" + AnalogLine("same", 5))};
    ASSERT_TRUE(Import(5));
    EXPECT_EQ(ui_.Messages, std::vector{kReplaceQuestion});
    EXPECT_EQ(Entries(config_->AnalogInputs), (EntryList{{"AI 9", 9}, {"same", 5}}));
}

TEST_F(SlaveTemplateImportTest, SeveralAddressesCreateSlaves)
{
    ui_.Answers = {true, true};
    ui_.Files = {Source(kSlaves3And7Source)};
    ASSERT_TRUE(Import(5));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplaceQuestion, kCreateQuestion, kForcedAddressNotice}));
    EXPECT_EQ(Entries(config_->AnalogInputs), (EntryList{{"AI 9", 9}, {"main AI", 5}, {"other AI", 7}}));
    EXPECT_EQ(Entries(config_->DigitalOutputs), (EntryList{{"DO 9", 9}, {"other DO", 7}, {"main DO", 5}}));
    EXPECT_EQ(Entries(config_->IndirectMessages), (EntryList{{"IM 9", 9}}));
}

TEST_F(SlaveTemplateImportTest, ConflictingAddressesChangeNothing)
{
    // Onto slave 7 itself (a slave added without points).
    ui_.Answers = {true};
    ui_.Files = {Source(kSlaves3And7Source)};
    EXPECT_FALSE(Import(7, {7}));
    EXPECT_EQ(ui_.Messages,
              (std::vector{kCreateQuestion, ErrorMessage("Error", "Conflicting slave addresses found. Import aborted.")}));
    EXPECT_TRUE(Unchanged());

    // Onto slave 5 of a configuration that has a slave 7.
    Add(config_->DigitalOutputs, "DO 7", 7);
    ui_.Messages.clear();
    ui_.Answers = {true, true};
    ui_.Files = {Source(kSlaves3And7Source)};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Conflicting slave addresses found. Import aborted."));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, EveryRefusalBeforeTheChangeLeavesTheConfiguration)
{
    EXPECT_FALSE(Import(-1));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage("Please select a slave tab before importing")});
    EXPECT_TRUE(ui_.FileRequests.empty());

    ui_.Messages.clear();
    ui_.Answers = {false};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.Messages, std::vector{kReplaceQuestion});
    EXPECT_TRUE(ui_.FileRequests.empty());

    ui_.Answers = {true};
    ui_.Files = {std::nullopt};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.FileRequests.size(), 1u);

    ui_.Messages.clear();
    ui_.Answers = {true};
    ui_.Files = {Source("not a configuration file\r\n")};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplaceQuestion, ErrorMessage("Open error", "Error loading file!")}));

    ui_.Messages.clear();
    ui_.Answers = {true, false};
    ui_.Files = {Source(kSlaves3And7Source)};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplaceQuestion, kCreateQuestion}));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, EmptySourceEmptiesTheSlave)
{
    ui_.Answers = {true};
    ui_.Files = {Source(kHeader)};
    ASSERT_TRUE(Import(5));
    EXPECT_EQ(ui_.Messages, (std::vector{kReplaceQuestion, kForcedAddressNotice}));
    EXPECT_EQ(Entries(config_->AnalogInputs), (EntryList{{"AI 9", 9}}));
    EXPECT_TRUE(config_->DigitalInputs.Empty());
    EXPECT_EQ(Entries(config_->IndirectMessages), (EntryList{{"IM 9", 9}}));
}

TEST_F(SlaveTemplateImportTest, SlaveWithOnlyIndirectMessagesCountsAsEmpty)
{
    Add(config_->IndirectMessages, "IM 11", 11);
    ui_.Files = {Source(kHeader + "[INDIRECT_SPA_COMMANDS]\r\n" + IndirectLine("new", 11))};
    ASSERT_TRUE(Import(11));
    EXPECT_TRUE(ui_.Messages.empty());
    EXPECT_EQ(Entries(config_->IndirectMessages), (EntryList{{"IM 5", 5}, {"IM 9", 9}, {"new", 11}}));
}

TEST_F(SlaveTemplateImportTest, ListsMayHoldAtMost255Entries)
{
    Add(config_->AnalogInputs, "other", 9, 199);  // 200 analog inputs of slave 9
    Add(config_->AnalogInputs, "own", 5, 50);     // those of slave 5 are replaced
    auto analogSource = [](int count) {
        std::string text = kHeader + "[ANALOG_INPUT]\r\n";
        for (int i = 0; i < count; ++i) {
            text += AnalogLine("src", 5);
        }
        return text;
    };
    ui_.Answers = {true};
    ui_.Files = {Source(analogSource(56))};
    EXPECT_FALSE(Import(5));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Total number of analog inputs exceed 255. Import aborted."));
    EXPECT_TRUE(Unchanged());

    ui_.Answers = {true};
    ui_.Files = {Source(analogSource(55))};
    ASSERT_TRUE(Import(5));
    EXPECT_EQ(config_->AnalogInputs.Count(), 255);
    EXPECT_EQ(config_->AnalogInputs[199].Description, "other");
    EXPECT_EQ(config_->AnalogInputs[200].Description, "src");
}

TEST_F(SlaveTemplateImportTest, TheFirstListOverItsLimitIsNamed)
{
    Add(config_->DigitalOutputs, "other", 9, 200);
    Add(config_->IndirectMessages, "other", 9, 200);
    std::string text = kHeader + "[DIGITAL_OUTPUT]\r\n";
    for (int i = 0; i < 60; ++i) {
        text += DigitalOutputLine("src", 9);
    }
    text += "[INDIRECT_SPA_COMMANDS]\r\n";
    for (int i = 0; i < 60; ++i) {
        text += IndirectLine("src", 9);
    }
    ui_.Files = {Source(text)};
    EXPECT_FALSE(Import(11, {11}));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", "Total number of digital outputs exceed 255. Import aborted."));

    config_->DigitalOutputs.Clear();
    ui_.Files = {Source(text)};
    EXPECT_FALSE(Import(11, {11}));
    EXPECT_EQ(ui_.Messages.back(),
              ErrorMessage("Error", "Total number of indirect SPA commands exceed 255. Import aborted."));
    EXPECT_TRUE(Unchanged());
}

TEST_F(SlaveTemplateImportTest, MoreThan16SlavesAreRefused)
{
    config_ = std::make_unique<ConfigTemplate>();
    for (int slave = 1; slave <= 15; ++slave) {
        Add(config_->AnalogInputs, "AI", slave);
    }
    auto source = [](std::initializer_list<int> slaves) {
        std::string text = kHeader + "[ANALOG_INPUT]\r\n";
        for (int slave : slaves) {
            text += AnalogLine("src", slave);
        }
        return text;
    };
    ui_.Answers = {true, true};
    ui_.Files = {Source(source({20, 21, 22}))};
    EXPECT_FALSE(Import(1));
    EXPECT_EQ(ui_.Messages.back(), ErrorMessage("Error", kTooManySlavesMessage));
    EXPECT_TRUE(Unchanged());

    ui_.Answers = {true, true};
    ui_.Files = {Source(source({20, 21}))};
    ASSERT_TRUE(Import(1));
    EXPECT_EQ(SlaveCount(CollectSlaveAddresses(*config_)), 16);
}
