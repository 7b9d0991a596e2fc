#include "DocumentContentEdit.h"
#include "CCompanionListBox.h"
#include "CMainFrame.h"
#include "CQuorvinDoc.h"
#include "CQuorvinView.h"
#include "CommandTable.h"
#include "ConfigFile.h"
#include "PointList.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <regex>

namespace {

const char* const kAnalogInputLine = "008 Phase current L1                 1 N   5 0I1        1.00   16";

class MainView : public ::testing::Test {
protected:
    // Opens the configuration; the start-up may show message boxes, which
    // are answered with OK.
    explicit MainView(const ConfigTemplate& config = SampleConfiguration(), int startUpMessages = 0)
        : file_(directory_.File("sample.hxc"))
    {
        WriteConfiguration(file_, config);
        for (int i = 0; i < startUpMessages; ++i) {
            modals_.Answer(QMessageBox::Ok);
        }
        app_ = std::make_unique<TestApplication>(file_);
    }

    CQuorvinView& View() { return (*app_)->View(); }
    CQuorvinDoc& Document() { return (*app_)->Document(); }
    CCompanionListBox& List() { return *View().PointList(); }

    std::vector<std::string> ListLines()
    {
        std::vector<std::string> lines;
        for (int line = 0; line < List().Count(); ++line) {
            lines.push_back(List().Text(line).toStdString());
        }
        return lines;
    }

    void ClickTab(int index)
    {
        QTabBar* tabs = View().SlaveTabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    void ClickLine(int line)
    {
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().LineRect(line).center());
    }

    void DoubleClickLine(int line)
    {
        ClickLine(line);
        QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, List().LineRect(line).center());
    }

    // After a message box the offscreen platform leaves no window active;
    // a user's keys go to the main window.
    void Activate() { QApplication::setActiveWindow(View().window()); }

    void PressKeyInList(Qt::Key key)
    {
        Activate();
        List().setFocus();
        QTest::keyClick(&List(), key);
    }

    // Replaces an edit's text by typing and leaves it with Tab.
    void TypeAndLeave(int editId, const char* text)
    {
        QLineEdit* edit = View().Edit(editId);
        Activate();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Tab);
        QApplication::processEvents();
    }

    QPushButton* Button(int id) { return static_cast<QPushButton*>(View().Control(id)); }

    TemporaryDirectory directory_;
    std::string file_;
    ModalScript modals_;
    std::unique_ptr<TestApplication> app_;
};

TEST_F(MainView, OpeningShowsTabsListLinesAndCountersCharacterForCharacter)
{
    QTabBar* tabs = View().SlaveTabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Slave 1"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Slave 5"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Document().SelectedSlave(), 1);

    ClickTab(1);
    EXPECT_EQ(Document().SelectedSlave(), 5);
    EXPECT_EQ(ListLines(), SampleSlaveFiveLines());
    EXPECT_EQ(View().Edit(FormId::InputBytes)->text(), QStringLiteral("25"));
    EXPECT_EQ(View().Edit(FormId::OutputBytes)->text(), QStringLiteral("8"));
    EXPECT_EQ(List().Number(2), LineNumber(LineKind::AnalogInput, 1));
    EXPECT_EQ((*app_)->Frame().ShownTitle(), QStringLiteral("sample.hxc - Halvex Configuration Tool"));
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainView, FormShowsTheSettingsAndTheBaudList)
{
    EXPECT_EQ(View().Edit(FormId::ReplyTimeout)->text(), QStringLiteral("50"));
    EXPECT_EQ(View().Edit(FormId::IdleTime)->text(), QStringLiteral("10"));
    EXPECT_EQ(View().Edit(FormId::RetryCount)->text(), QStringLiteral("2"));
    EXPECT_EQ(View().Edit(FormId::GlobalPollInterval)->text(), QStringLiteral("3000"));
    EXPECT_EQ(View().Edit(FormId::ProfibusAddress)->text(), QStringLiteral("125"));
    EXPECT_EQ(View().Edit(FormId::DecimalPlace)->text(), QStringLiteral("1"));
    auto* baud = static_cast<QComboBox*>(View().Control(FormId::BaudRate));
    QStringList rates;
    for (int i = 0; i < baud->count(); ++i) {
        rates << baud->itemText(i);
    }
    EXPECT_EQ(rates, QStringList({"300", "1200", "2400", "4800", "9600", "19200", "38400"}));
    EXPECT_EQ(baud->currentText(), QStringLiteral("9600"));
    EXPECT_FALSE(Button(FormId::EditButton)->isEnabled());
    EXPECT_FALSE(Button(FormId::RemoveButton)->isEnabled());
    EXPECT_TRUE(Button(FormId::AddIndirectMessage)->isEnabled());
}

TEST_F(MainView, DoubleClickEditsThePointThroughItsDialog)
{
    ClickTab(1);
    modals_.Then([](QWidget* dialog) {
        auto* description = dialog->findChild<QLineEdit*>(QStringLiteral("description"));
        ASSERT_NE(description, nullptr);
        EXPECT_EQ(description->text(), QStringLiteral("Phase current L1"));
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("channel"))->text(), QStringLiteral("0"));
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("dataNumber"))->text(), QStringLiteral("1"));
        description->setText(QStringLiteral("Changed"));
        dialog->findChild<QLineEdit*>(QStringLiteral("scaling"))->setText(QStringLiteral("2.5"));
        dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    DoubleClickLine(2);
    ASSERT_TRUE(modals_.Done());
    EXPECT_EQ(modals_.Unexpected, 0);
    EXPECT_EQ(List().Text(2).toStdString(), "008 Changed                          1 N   5 0I1        2.50   16");
    EXPECT_EQ(Document().Config().AnalogInputs[1].Description, "Changed");
    EXPECT_FLOAT_EQ(Document().Config().AnalogInputs[1].Scale, 2.5f);
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(List().CurrentSelection(), 2);
    EXPECT_TRUE(Button(FormId::EditButton)->isEnabled());
}

TEST_F(MainView, EnterOpensTheDialogAndCancelChangesNothing)
{
    ClickTab(1);
    ClickLine(7);
    modals_.Then([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Digital Input"));
        dialog->findChild<QLineEdit*>(QStringLiteral("description"))->setText(QStringLiteral("ignored"));
        dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    PressKeyInList(Qt::Key_Return);
    EXPECT_TRUE(modals_.Done());
    EXPECT_EQ(List().Text(7).toStdString(), SampleSlaveFiveLines()[7]);
    View().Edit(FormId::IdleTime)->setFocus();
    EXPECT_FALSE(View().ListHasFocus());
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(MainView, DelRemovesTheSelectedLineAfterTheQuestion)
{
    ClickTab(1);
    ClickLine(3);
    EXPECT_TRUE(View().ListHasFocus());
    modals_.Answer(QMessageBox::Yes);
    PressKeyInList(Qt::Key_Delete);
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Remove?");
    EXPECT_EQ(modals_.Boxes[0].Text, "Do you really want to remove this parameter?");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Question);
    EXPECT_EQ(Document().Config().AnalogInputs.Count(), 3);
    EXPECT_EQ(List().Text(3).toStdString(), "010 Odd size                         1 N   5 1I2        123.4   8");
    EXPECT_EQ(List().CurrentSelection(), 2);
    EXPECT_EQ(View().Edit(FormId::InputBytes)->text(), QStringLiteral("19"));
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(MainView, DelAnsweredNoOrOnAHeadingRemovesNothing)
{
    ClickTab(1);
    ClickLine(3);
    modals_.Answer(QMessageBox::No);
    PressKeyInList(Qt::Key_Delete);
    ClickLine(1);
    PressKeyInList(Qt::Key_Delete);
    EXPECT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Unexpected, 0);
    EXPECT_EQ(ListLines(), SampleSlaveFiveLines());
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(MainView, RemovingTheOnlyLineOfASectionSelectsItsHeading)
{
    ClickTab(1);
    ClickLine(12);
    modals_.Answer(QMessageBox::Yes);
    Button(FormId::RemoveButton)->click();
    EXPECT_EQ(List().CurrentSelection(), 11);
    EXPECT_EQ(KindOfLineNumber(List().Number(11)), LineKind::Heading);
    EXPECT_FALSE(Button(FormId::EditButton)->isEnabled());
    EXPECT_FALSE(Button(FormId::RemoveButton)->isEnabled());
}

TEST_F(MainView, AnOutOfRangeFieldIsRefusedWithTheFocusOnIt)
{
    TypeAndLeave(FormId::ReplyTimeout, "501");
    ASSERT_EQ(modals_.Unexpected, 1);
    EXPECT_EQ(modals_.Boxes.at(0).Text, "Please enter an integer between 5 and 500.");
    EXPECT_EQ(modals_.Boxes.at(0).Title, "Halvex Configuration Tool");
    EXPECT_EQ(View().window()->focusWidget(), View().Edit(FormId::ReplyTimeout));
    EXPECT_EQ(Document().Config().SpaReplyTimeout, 50);
    EXPECT_TRUE(Document().IsModified()) << "a typed value is a change";

    // A save is refused too, and nothing is written.
    const std::string before = ReadTextFile(file_);
    modals_.Answer(QMessageBox::Ok);
    EXPECT_FALSE(Document().FileSave());
    EXPECT_EQ(ReadTextFile(file_), before);

    TypeAndLeave(FormId::ReplyTimeout, "499");
    EXPECT_EQ(Document().Config().SpaReplyTimeout, 499);
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(modals_.Unexpected, 1);
}

// A value typed and not committed yet is a change: the title shows it, and
// what asks to save changes commits it first; a refused value stops there.
TEST_F(MainView, ATypedValueIsAskedAboutBeforeAnythingDropsIt)
{
    QLineEdit* edit = View().Edit(FormId::ReplyTimeout);
    Activate();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("5000"));
    EXPECT_EQ((*app_)->Frame().ShownTitle(), QStringLiteral("sample.hxc* - Halvex Configuration Tool"));
    modals_.Answer(QMessageBox::Ok);
    EXPECT_FALSE((*app_)->Frame().close());
    EXPECT_EQ(modals_.Boxes.at(0).Text, "Please enter an integer between 5 and 500.");

    edit->setText(QStringLiteral("55"));
    modals_.Answer(QMessageBox::Cancel);
    Activate();
    QTest::keyClick(&(*app_)->Frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(modals_.Boxes.at(1).Text, "Save changes to " + file_ + "?");
    EXPECT_EQ(Document().Config().SpaReplyTimeout, 55);
    EXPECT_EQ(Document().PathName(), file_);
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainView, TheFirstFailingFieldInCheckingOrderIsNamed)
{
    View().Edit(FormId::IdleTime)->setText(QStringLiteral("11"));
    View().Edit(FormId::DecimalPlace)->setText(QStringLiteral("x"));
    modals_.Answer(QMessageBox::Ok);
    EXPECT_FALSE(View().CommitForm());
    EXPECT_EQ(modals_.Boxes.at(0).Text, "Please enter an integer.");
    EXPECT_EQ(View().window()->focusWidget(), View().Edit(FormId::DecimalPlace));

    View().Edit(FormId::DecimalPlace)->setText(QStringLiteral(" 6 "));
    modals_.Answer(QMessageBox::Ok);
    EXPECT_FALSE(View().CommitForm());
    EXPECT_EQ(modals_.Boxes.at(1).Text, "Please enter an integer between 5 and 10.");
    EXPECT_EQ(View().window()->focusWidget(), View().Edit(FormId::IdleTime));
    EXPECT_EQ(Document().Config().ProfibusDecimalPlace, 1);
}

TEST_F(MainView, TheGlobalPollIntervalWaitsForTheNextCommit)
{
    TypeAndLeave(FormId::GlobalPollInterval, "200");
    EXPECT_EQ(Document().Config().GlobalEventPollPeriod, 3000);
    QTest::mouseClick(View().Control(FormId::GlobalEventPoll), Qt::LeftButton);
    EXPECT_TRUE(Document().Config().GlobalEventPoll);
    EXPECT_EQ(Document().Config().GlobalEventPollPeriod, 200);
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(MainView, ChangingTheTabCommitsTheForm)
{
    View().Edit(FormId::IdleTime)->setText(QStringLiteral("7"));
    ClickTab(1);
    EXPECT_EQ(Document().Config().SpaIdleTime, 7);
    EXPECT_EQ(Document().SelectedSlave(), 5);
}

TEST_F(MainView, ChoosingABaudRateCommitsIt)
{
    auto* baud = static_cast<QComboBox*>(View().Control(FormId::BaudRate));
    baud->setFocus();
    QTest::keyClick(baud, Qt::Key_Down);
    EXPECT_EQ(Document().Config().SpaBaudRate, 19200);
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(MainView, AddingAnIndirectMessageSelectsItsLine)
{
    ClickTab(1);
    Button(FormId::AddIndirectMessage)->click();
    EXPECT_EQ(Document().Config().IndirectMessages.Count(), 4);
    const int line = List().CurrentSelection();
    EXPECT_EQ(line, List().Count() - 1);
    EXPECT_EQ(List().Number(line), LineNumber(LineKind::IndirectMessage, 3));
    EXPECT_EQ(List().Text(line).toStdString(), "    (No Name)                        1     5 0I0        R   0 1.00");
    EXPECT_TRUE(Button(FormId::RemoveButton)->isEnabled());
    EXPECT_TRUE(Document().IsModified());
}

TEST_F(MainView, A128thIndirectMessageIsRefusedWithANotice)
{
    ClickTab(1);
    PrepareContent(Document(), [](DocumentContent& content) {
        while (content.Config.IndirectMessages.Count() < 127) {
            content.Config.IndirectMessages.Append(IndirectSpaMessage{});
        }
    });
    const auto& messages = Document().Config().IndirectMessages;
    modals_.Answer(QMessageBox::Ok);
    Button(FormId::AddIndirectMessage)->click();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Halvex Configuration Tool");
    EXPECT_EQ(modals_.Boxes[0].Text, "There can be max 127 indirect SPA commands");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::NoIcon);
    EXPECT_EQ(messages.Count(), 127);
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainView, AnUnreadableDigitalInputAddressIsAnErrorThenTheDialogShowsWhatItHolds)
{
    ClickTab(1);
    PrepareContent(Document(), [](DocumentContent& content) { content.Config.DigitalInputs[0].Address = "1I10"; });
    ClickLine(7);
    modals_.Answer(QMessageBox::Ok);
    modals_.Then([](QWidget* dialog) {
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("lastChannel"))->text(), QStringLiteral("1"));
        EXPECT_EQ(dialog->findChild<QComboBox*>(QStringLiteral("category"))->currentText(), QStringLiteral("I"));
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("lastDataNumber"))->text(), QStringLiteral("10"));
        dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    Button(FormId::EditButton)->click();
    ASSERT_TRUE(modals_.Done());
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Error");
    EXPECT_EQ(modals_.Boxes[0].Text, "Error in Ch/Cat/Dno");
    EXPECT_EQ(modals_.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(modals_.Unexpected, 0);
    EXPECT_EQ(Document().Config().DigitalInputs[0].Address, "1I10") << "Cancel keeps the stored text";
    EXPECT_FALSE(Document().IsModified());
}

class UnusualConfiguration : public MainView {
protected:
    static ConfigTemplate Unusual()
    {
        ConfigTemplate config;
        config.SpaBaudRate = 600;
        for (int i = 0; i < 61; ++i) {
            AnalogInputPoint point;
            point.SlaveAddress = 5;
            point.Size = 32;
            point.Address = "0I" + std::to_string(i);
            config.AnalogInputs.Append(point);
        }
        return config;
    }

    // 4 + 61 * 4 = 248 input bytes: the first fill warns.
    UnusualConfiguration() : MainView(Unusual(), 1) {}
};

TEST_F(UnusualConfiguration, AnUnknownBaudRateShowsTheFirstEntryAndCommitsIt)
{
    auto* baud = static_cast<QComboBox*>(View().Control(FormId::BaudRate));
    EXPECT_EQ(baud->currentText(), QStringLiteral("300"));
    EXPECT_TRUE(View().CommitForm());
    EXPECT_EQ(Document().Config().SpaBaudRate, 300);
}

TEST_F(UnusualConfiguration, TheSizeWarningComesOnlyWhenACountChanges)
{
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Text, "Warning : Total template size (input) exceeds 240 bytes");
    EXPECT_EQ(View().InputBytes(), 248);
    View().RefillPointList();
    EXPECT_EQ(modals_.Unexpected, 0);

    ClickLine(2);
    modals_.Answer(QMessageBox::Yes);
    modals_.Answer(QMessageBox::Ok);
    PressKeyInList(Qt::Key_Delete);
    ASSERT_EQ(modals_.Boxes.size(), 3u);
    EXPECT_EQ(modals_.Boxes[2].Text, "Warning : Total template size (input) exceeds 240 bytes");
    EXPECT_EQ(View().InputBytes(), 244);

    ClickLine(2);
    modals_.Answer(QMessageBox::Yes);
    PressKeyInList(Qt::Key_Delete);
    EXPECT_EQ(View().InputBytes(), 240);
    EXPECT_EQ(modals_.Boxes.size(), 4u);
    EXPECT_EQ(modals_.Unexpected, 0);
}

class OversizedAreas : public MainView {
protected:
    // 61 points of 32 bits in each list: 4 + 244 input bytes, 244 output
    // bytes.
    static ConfigTemplate Oversized(bool withInputs)
    {
        ConfigTemplate config;
        for (int i = 0; i < 61; ++i) {
            AnalogOutputPoint output;
            output.SlaveAddress = 3;
            output.Size = 32;
            output.Address = "0S" + std::to_string(i);
            config.AnalogOutputs.Append(output);
            if (withInputs) {
                AnalogInputPoint input;
                input.SlaveAddress = 3;
                input.Size = 32;
                input.Address = "0I" + std::to_string(i);
                config.AnalogInputs.Append(input);
            }
        }
        return config;
    }

    explicit OversizedAreas(bool withInputs = false) : MainView(Oversized(withInputs), withInputs ? 2 : 1) {}
};

TEST_F(OversizedAreas, AnOutputAreaOver240BytesIsWarnedAboutWordForWord)
{
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Title, "Halvex Configuration Tool");
    EXPECT_EQ(modals_.Boxes[0].Text, "Warning : Total template size (output) exceeds 240 bytes");
    EXPECT_EQ(View().InputBytes(), 4);
    EXPECT_EQ(View().OutputBytes(), 244);
    EXPECT_EQ(View().Edit(FormId::OutputBytes)->text(), QStringLiteral("244"));
    EXPECT_EQ(modals_.Unexpected, 0);
}

class BothAreasOversized : public OversizedAreas {
protected:
    BothAreasOversized() : OversizedAreas(true) {}
};

TEST_F(BothAreasOversized, TheInputWarningComesBeforeTheOutputWarning)
{
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[0].Text, "Warning : Total template size (input) exceeds 240 bytes");
    EXPECT_EQ(modals_.Boxes[1].Text, "Warning : Total template size (output) exceeds 240 bytes");
    EXPECT_EQ(View().InputBytes(), 248);
    EXPECT_EQ(View().OutputBytes(), 244);
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST(MainViewWithoutSlaves, ShowsAnEmptyListZeroCountsNoTabsAndNoAdd)
{
    TestApplication app;
    CQuorvinView& view = app->View();
    EXPECT_EQ(view.PointList()->Count(), 0);
    EXPECT_EQ(view.Edit(FormId::InputBytes)->text(), QStringLiteral("0"));
    EXPECT_EQ(view.Edit(FormId::OutputBytes)->text(), QStringLiteral("0"));
    EXPECT_EQ(view.SlaveTabs()->count(), 0);
    EXPECT_FALSE(view.Control(FormId::AddIndirectMessage)->isEnabled());
    EXPECT_EQ(app->Frame().ShownTitle(), QStringLiteral("Untitled - Halvex Configuration Tool"));
}

// What a user can tell two document states apart by: the file text and the slaves.
std::string DocumentState(const CQuorvinDoc& document)
{
    std::string state = ConfigFileText(document.Config(), false);
    for (int address : document.UsedSlaves()) {
        state += " " + std::to_string(address);
    }
    return state;
}

TEST_F(MainView, TwentyChangesOfEveryKindAreUndoneAndRedoneThroughTheEditMenu)
{
    auto run = [this](int id) { (*app_)->Frame().CommandAction(id)->trigger(); };
    auto answerDialog = [this](const char* field, const char* text) {
        modals_.Then([field, text](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QString::fromLatin1(field))->setText(QString::fromLatin1(text));
            dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
    };
    ClickTab(1);
    const std::string start = DocumentState(Document());
    const std::function<void()> steps[] = {
        [&] { TypeAndLeave(FormId::ReplyTimeout, "100"); },
        [&] { TypeAndLeave(FormId::IdleTime, "7"); },
        [&] { QTest::mouseClick(View().Control(FormId::TimeSync), Qt::LeftButton); },
        [&] { answerDialog("description", "Changed"), DoubleClickLine(2); },
        [&] { run(CommandId::PointDuplicate); },
        [&] { run(CommandId::PointAddIndirectMessage); },
        [&] { ClickLine(2), modals_.Answer(QMessageBox::Yes), PressKeyInList(Qt::Key_Delete); },
        [&] { ClickLine(2), run(CommandId::EditCopy), run(CommandId::EditPaste); },
        [&] { ClickLine(3), run(CommandId::EditCut); },
        [&] { run(CommandId::SlaveAdd); },
        [&] { run(CommandId::EditPaste); },
        [&] { run(CommandId::SlavePrioritizeOff); },
        [&] { answerDialog("address", "30"), run(CommandId::SlaveSetAddress); },
        [&] { ClickTab(0), run(CommandId::SlavePrioritizeOn); },
        [&] { modals_.Answer(QMessageBox::Yes), run(CommandId::SlaveRemove); },
        [&] { TypeAndLeave(FormId::RetryCount, "5"); },
        [&] { TypeAndLeave(FormId::ProfibusAddress, "100"); },
        [&] { run(CommandId::PointAddIndirectMessage); },
        [&] { TypeAndLeave(FormId::DecimalPlace, "3"); },
        // The poll interval reaches the configuration with the next commit.
        [&] { TypeAndLeave(FormId::GlobalPollInterval, "5000"), TypeAndLeave(FormId::IdleTime, "8"); },
    };
    std::vector<std::string> states{start};
    for (const auto& step : steps) {
        step();
        ASSERT_TRUE(modals_.Done()) << "step " << states.size();
        ASSERT_NE(DocumentState(Document()), states.back()) << "step " << states.size();
        states.push_back(DocumentState(Document()));
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE((*app_)->Frame().CommandAction(CommandId::EditUndo)->isEnabled()) << i;
        run(CommandId::EditUndo);
        EXPECT_EQ(DocumentState(Document()), states[i - 1]) << "undone to " << i - 1;
    }
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(View().Edit(FormId::ReplyTimeout)->text(), QStringLiteral("50"));
    for (std::size_t i = 1; i < states.size(); ++i) {
        run(CommandId::EditRedo);
        EXPECT_EQ(DocumentState(Document()), states[i]) << "redone to " << i;
    }
    EXPECT_FALSE((*app_)->Frame().CommandAction(CommandId::EditRedo)->isEnabled());
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(modals_.Unexpected, 0);
}

TEST_F(MainView, PointsCopiedInOneProgramArePastedIntoAnothersSlaveAndACapacityPasteIsRefusedWhole)
{
    ClickTab(1);
    auto* frame = &(*app_)->Frame();
    frame->CommandAction(CommandId::EditCopy)->trigger();
    const std::string copied = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(copied.rfind("[ANALOG_INPUT]", 0), 0u);

    app_ = std::make_unique<TestApplication>();
    frame = &(*app_)->Frame();
    frame->CommandAction(CommandId::SlaveAdd)->trigger();
    EXPECT_TRUE(frame->CommandAction(CommandId::EditPaste)->isEnabled());
    frame->CommandAction(CommandId::EditPaste)->trigger();
    EXPECT_EQ(Document().CopyPoints(std::nullopt), std::regex_replace(copied, std::regex("\t5,\t"), "\t1,\t"));
    EXPECT_EQ(List().CurrentSelection(), 2) << "the first pasted point";

    PrepareContent(Document(), [](DocumentContent& content) {
        while (content.Config.AnalogOutputs.Count() < kPointListCapacity) {
            content.Config.AnalogOutputs.Append(AnalogOutputPoint{});
        }
    });
    const std::string full = DocumentState(Document());
    modals_.Answer(QMessageBox::Ok);
    frame->CommandAction(CommandId::EditPaste)->trigger();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(modals_.Boxes[0].Text, "There can be max 256 analog outputs");
    EXPECT_EQ(DocumentState(Document()), full);
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(MainView, FindShowsMatchingPointsOfEverySlaveEscEndsItAndEnterOpensThePoint)
{
    (*app_)->Frame().CommandAction(CommandId::EditFind)->trigger();
    QLineEdit* find = View().FindField();
    ASSERT_TRUE(find->isVisible());
    QTest::keyClicks(find, QStringLiteral("0s"));
    // "0S1" of slave 5 and "0S2" of slave 1, under their section.
    std::vector<std::string> points;
    for (const std::string& line : ListLines()) {
        if (line.find("___") == std::string::npos && line.find("Description") == std::string::npos) {
            points.push_back(line.substr(4, 8) + line.substr(41, 7));
        }
    }
    EXPECT_EQ(points, (std::vector<std::string>{"Setpoint  5 0S1", "x         1 0S2"}));
    modals_.Then([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Analog Output"));
        dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_TRUE(modals_.Done());
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    EXPECT_TRUE(View().SlaveTabs()->isVisible());
    EXPECT_EQ(ListLines().size(), 14u) << "slave 1's list again";
}

}  // namespace
