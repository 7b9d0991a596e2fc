// The document's point commands: adding a point of each kind to the selected
// slave through an editor, the capacity notices and duplicating a point.
#include "CQuorvinDoc.h"
#include "DocumentContentEdit.h"
#include "ScriptedDocumentHost.h"

#include <gtest/gtest.h>

namespace {

class PointCommands : public ::testing::Test {
protected:
    PointCommands()
    {
        AnalogInputPoint other;
        other.SlaveAddress = 9;
        PrepareContent(doc_, [&other](DocumentContent& content) { content.Config.AnalogInputs.Append(other); });
        doc_.OnSlaveAdd();  // slave 1, selected
        doc_.SetModifiedFlag(false);
    }

    // Fills the list of a kind to its capacity with points of slave 9.
    template <typename List>
    void Fill(List& list)
    {
        typename std::remove_reference_t<decltype(list[0])> point;
        point.SlaveAddress = 9;
        while (list.Append(point)) {
        }
    }

    ScriptedDocumentHost ui_;
    CQuorvinDoc doc_{ui_, "halvex"};
};

TEST_F(PointCommands, AnAddShowsTheNewPointAndAppendsWhatTheUserConfirmed)
{
    int shown = 0;
    const auto added = doc_.AddAnalogInput([&shown](AnalogInputPoint& point) {
        ++shown;
        EXPECT_EQ(point.SlaveAddress, 1);
        EXPECT_EQ(point.Description, "(No Name)");
        EXPECT_EQ(point.Address, "0I1");
        EXPECT_EQ(point.Size, 16);
        EXPECT_TRUE(point.InUse);
        point.Description = "Feeder current";
        return true;
    });
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(added, 1) << "appended after the other slave's point";
    EXPECT_EQ(doc_.Config().AnalogInputs[1].Description, "Feeder current");
    EXPECT_TRUE(doc_.IsModified());

    auto preset = [](auto& captured) {
        return [&captured](auto& point) {
            captured = point.Address + " " + point.DataType;
            return true;
        };
    };
    std::string digitalInput, digitalOutput, analogOutput;
    EXPECT_EQ(doc_.AddDigitalInput(preset(digitalInput)), 0);
    EXPECT_EQ(doc_.AddDigitalOutput(preset(digitalOutput)), 0);
    EXPECT_EQ(doc_.AddAnalogOutput([&analogOutput](AnalogOutputPoint& point) {
        analogOutput = point.Address;
        return true;
    }),
              0);
    EXPECT_EQ(digitalInput, "1/1I1/1 S");
    EXPECT_EQ(digitalOutput, "1O1 B");
    EXPECT_EQ(analogOutput, "0S1");
    EXPECT_EQ(doc_.Config().DigitalOutputs[0].SlaveAddress, 1);
    EXPECT_TRUE(ui_.Messages.empty());
}

TEST_F(PointCommands, AFullListOrNoSlaveGivesTheNoticeBeforeAnyDialog)
{
    PrepareContent(doc_, [this](DocumentContent& content) {
        Fill(content.Config.AnalogInputs);
        Fill(content.Config.DigitalInputs);
        Fill(content.Config.AnalogOutputs);
        Fill(content.Config.DigitalOutputs);
    });
    const ConfigTemplate& config = doc_.Config();
    int shown = 0;
    auto never = [&shown](auto&) { return ++shown > 0; };
    EXPECT_FALSE(doc_.AddAnalogInput(never));
    EXPECT_FALSE(doc_.AddDigitalInput(never));
    EXPECT_FALSE(doc_.AddAnalogOutput(never));
    EXPECT_FALSE(doc_.AddDigitalOutput(never));
    EXPECT_EQ(ui_.Messages, (std::vector{NoticeMessage("There can be max 256 analog inputs"),
                                         NoticeMessage("There can be max 256 digital inputs"),
                                         NoticeMessage("There can be max 256 analog outputs"),
                                         NoticeMessage("There can be max 256 digital outputs")}));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(config.AnalogInputs.Count() + config.DigitalOutputs.Count(), 512);
    EXPECT_FALSE(doc_.IsModified());

    doc_.OnNewDocument();
    ui_.Messages.clear();
    EXPECT_FALSE(doc_.AddAnalogOutput(never));
    EXPECT_EQ(ui_.Messages, std::vector{NoticeMessage(kNoSlavesNotice)});
    EXPECT_EQ(shown, 0);
}

TEST_F(PointCommands, DuplicateAppendsACopyUpToTheLimitOfItsList)
{
    PrepareContent(doc_, [](DocumentContent& content) { content.Config.AnalogInputs[0].Description = "Original"; });
    const ConfigTemplate& config = doc_.Config();
    EXPECT_EQ(doc_.DuplicatePoint(LineKind::AnalogInput, 0), 1);
    EXPECT_EQ(config.AnalogInputs[1].Description, "Original");
    EXPECT_EQ(config.AnalogInputs[1].SlaveAddress, 9);
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_FALSE(doc_.DuplicatePoint(LineKind::AnalogInput, 2)) << "no such point";

    IndirectSpaMessage message;
    message.SlaveAddress = 1;
    PrepareContent(doc_, [&message](DocumentContent& content) {
        while (content.Config.IndirectMessages.Count() < kMaxIndirectMessages) {
            content.Config.IndirectMessages.Append(message);
        }
    });
    EXPECT_FALSE(doc_.DuplicatePoint(LineKind::IndirectMessage, 0));
    EXPECT_EQ(config.IndirectMessages.Count(), kMaxIndirectMessages);
    PrepareContent(doc_, [this](DocumentContent& content) { Fill(content.Config.DigitalOutputs); });
    EXPECT_FALSE(doc_.DuplicatePoint(LineKind::DigitalOutput, 0));
    EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{kIndirectMessagesFullNotice, "There can be max 256 digital outputs"}));
}

}  // namespace
