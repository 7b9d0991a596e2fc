// Undo and redo of the document's changes, and its points as clipboard text.
#include "CQuorvinDoc.h"
#include "ConfigFile.h"
#include "DocumentContentEdit.h"
#include "SampleConfigurations.h"
#include "ScriptedDocumentHost.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

// What the user can tell two document states apart by.
std::string Shown(const CQuorvinDoc& doc)
{
    std::string slaves;
    for (int address : doc.AddedSlaves()) {
        slaves += std::to_string(address) + ",";
    }
    return ConfigFileText(doc.Config(), false) + slaves;
}

class Editing : public ::testing::Test {
protected:
    Editing()
    {
        PrepareContent(doc_, [](DocumentContent& content) { content.Config = SampleConfiguration(); });
        doc_.SelectSlave(5);
    }

    ScriptedDocumentHost ui_;
    CQuorvinDoc doc_{ui_, "halvex vorlanqix"};
};

TEST_F(Editing, EveryKindOfChangeIsUndoneAndRedoneAndTheModifiedMarkFollows)
{
    const std::string start = Shown(doc_);
    const auto accept = [](auto&) { return true; };
    const auto edit = [this](auto change) {
        doc_.Change([&change](DocumentContent& content) {
            change(content.Config);
            return true;
        });
    };
    TemporaryDirectory directory;
    ui_.Files = {directory.File("template.hxc")};
    ASSERT_TRUE(WriteConfigFile(TwoSlaveConfiguration(), *ui_.Files.front(), false));
    ui_.Answers = {true, true};
    ui_.SlaveAddressAnswers = {7};
    std::vector<std::string> states{start};
    const std::function<void()> steps[] = {
        [&] { doc_.OnSlaveAdd(); },
        [&] { doc_.AddAnalogInput(accept); },
        [&] { doc_.AddDigitalInput(accept); },
        [&] { doc_.AddAnalogOutput(accept); },
        [&] { doc_.AddDigitalOutput(accept); },
        [&] { doc_.AddIndirectMessage(); },
        [&] { doc_.DuplicatePoint(LineKind::AnalogInput, 0); },
        [&] { doc_.OnPrioritize(true); },
        [&] { doc_.OnSlaveSetAddress(); },
        [&] { edit([](ConfigTemplate& config) { config.SpaBaudRate = 300; }); },
        [&] { edit([](ConfigTemplate& config) { config.DigitalInputs.RemoveAt(0); }); },
        [&] { doc_.SelectSlave(5), doc_.PastePoints(doc_.CopyPoints(std::nullopt)); },
        [&] { doc_.CutPoints(PointPosition{LineKind::DigitalOutput, 0}); },
        [&] { doc_.OnSlaveImport(); },
        [&] { doc_.OnSlaveRemove(); },
    };
    for (const auto& step : steps) {
        step();
        ASSERT_NE(Shown(doc_), states.back()) << "step " << states.size();
        states.push_back(Shown(doc_));
    }
    EXPECT_EQ(ui_.Texts().size(), 2u) << "the import's two questions";
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        doc_.OnEditUndo();
        EXPECT_EQ(Shown(doc_), states[i - 1]) << "undo to " << i - 1;
    }
    EXPECT_FALSE(doc_.IsModified());
    for (std::size_t i = 1; i < states.size(); ++i) {
        doc_.OnEditRedo();
        EXPECT_EQ(Shown(doc_), states[i]) << "redo to " << i;
    }
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_FALSE(doc_.CanRedo());

    // Saved, changed and undone: unmodified again; a new change drops the redo.
    ui_.Files = {directory.File("saved.hxc")};
    ASSERT_TRUE(doc_.FileSaveAs());
    edit([](ConfigTemplate& config) { config.SpaIdleTime = 5; });
    doc_.OnEditUndo();
    EXPECT_FALSE(doc_.IsModified());
    doc_.OnEditUndo();
    EXPECT_TRUE(doc_.IsModified());
    edit([](ConfigTemplate& config) { config.SpaIdleTime = 6; });
    EXPECT_FALSE(doc_.CanRedo());
    doc_.OnNewDocument();
    EXPECT_FALSE(doc_.CanUndo() || doc_.IsModified());
}

TEST_F(Editing, AtLeastAHundredStepsAreKeptAndARefusedCommitKeepsTheState)
{
    for (int i = 0; i < 150; ++i) {
        doc_.AddIndirectMessage();
        doc_.Change([](DocumentContent& content) {
            content.Config.IndirectMessages.RemoveAt(0);
            return true;
        });
    }
    int undone = 0;
    while (doc_.CanUndo()) {
        doc_.OnEditUndo();
        ++undone;
    }
    EXPECT_GE(undone, 100);
    ui_.CommitFormResult = false;
    doc_.OnEditRedo();
    EXPECT_FALSE(doc_.CanUndo());
}

TEST_F(Editing, PointsGoThroughClipboardTextToTheSelectedSlaveOfAnotherDocument)
{
    const std::string copied = doc_.CopyPoints(std::nullopt);
    EXPECT_EQ(copied.find("[ANALOG_INPUT]\r\n; InUse,"), 0u) << copied;
    EXPECT_EQ(copied.find("Slave one"), std::string::npos) << "only slave 5";

    ScriptedDocumentHost otherUi;
    CQuorvinDoc other(otherUi, "halvex");
    other.OnSlaveAdd();
    // As a text editor holds it: LF line ends, other text before the section.
    std::string edited = "copied from plant.hxc\n" + copied;
    std::erase(edited, '\r');
    const auto first = other.PastePoints(edited);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Kind, LineKind::AnalogInput);
    // The same points, now of slave 1: the copy of the paste is the copy with that address.
    std::string renumbered = copied;
    for (std::size_t at = 0; (at = renumbered.find("\t5,\t", at)) != std::string::npos;) {
        renumbered.replace(at, 4, "\t1,\t");
    }
    EXPECT_EQ(other.CopyPoints(std::nullopt), renumbered);
    EXPECT_FALSE(other.PastePoints("no points here"));
    EXPECT_FALSE(other.CanPaste("no points here"));

    // A paste that one list cannot take is refused whole.
    PrepareContent(other, [](DocumentContent& content) {
        while (content.Config.DigitalOutputs.Count() < kPointListCapacity) {
            content.Config.DigitalOutputs.Append(DigitalOutputPoint{});
        }
    });
    const std::string before = Shown(other);
    EXPECT_FALSE(other.PastePoints(copied));
    EXPECT_EQ(otherUi.Texts(), std::vector<std::string>{"There can be max 256 digital outputs"});
    EXPECT_EQ(Shown(other), before);
    EXPECT_FALSE(other.IsModified());
}

}  // namespace
