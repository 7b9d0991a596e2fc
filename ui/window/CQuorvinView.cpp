#include "CQuorvinView.h"

#include "AfterModalDialogs.h"
#include "CCompanionListBox.h"
#include "CQuorvinDoc.h"
#include "CommandTable.h"
#include "DialogUnits.h"
#include "FormFont.h"
#include "FileChangeEvent.h"
#include "NumberText.h"
#include "PointEditing.h"
#include "PointList.h"
#include "PointReference.h"
#include "PrintConfiguration.h"
#include "SettingRanges.h"
#include "SpaAddress.h"
#include "StoreChanged.h"
#include "TextConversion.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>
#include <type_traits>

namespace {

enum class ControlKind { Group, Label, DropDownList, Edit, ReadOnlyEdit, CheckBox, TabStrip, ListBox, Button, Progress };

struct ControlSpec {
    int Id;
    ControlKind Kind;
    const char* Caption;
    QRect Rect;  // dialog units
};

// The form, 526 by 297 dialog units, in tab order.
constexpr QSize kFormSize(526, 297);

const ControlSpec kControls[] = {
    {-1, ControlKind::Group, "SPA Configuration", QRect(5, 5, 155, 165)},
    {-1, ControlKind::Label, "SPA Baudrate:", QRect(10, 20, 55, 10)},
    {FormId::BaudRate, ControlKind::DropDownList, "", QRect(85, 20, 65, 75)},
    {-1, ControlKind::Label, "SPA Reply Timeout:", QRect(10, 40, 70, 10)},
    {FormId::ReplyTimeout, ControlKind::Edit, "", QRect(85, 40, 45, 15)},
    {-1, ControlKind::Label, "ms", QRect(135, 40, 15, 10)},
    {-1, ControlKind::Label, "SPA Idle Time:", QRect(10, 60, 70, 10)},
    {FormId::IdleTime, ControlKind::Edit, "", QRect(85, 60, 45, 15)},
    {-1, ControlKind::Label, "ms", QRect(135, 60, 15, 10)},
    {-1, ControlKind::Label, "SPA Com Retrycount:", QRect(10, 80, 70, 10)},
    {FormId::RetryCount, ControlKind::Edit, "", QRect(85, 80, 45, 15)},
    {-1, ControlKind::Label, "Global Poll Interval:", QRect(10, 100, 70, 10)},
    {FormId::GlobalPollInterval, ControlKind::Edit, "", QRect(85, 100, 45, 15)},
    {-1, ControlKind::Label, "ms", QRect(135, 100, 15, 10)},
    {FormId::GlobalEventPoll, ControlKind::CheckBox, "Global Event Poll", QRect(10, 120, 135, 10)},
    {FormId::TimeSync, ControlKind::CheckBox, "Time Synchronization Support", QRect(10, 135, 135, 10)},
    {FormId::DateSync, ControlKind::CheckBox, "Date Synchronization Support", QRect(10, 150, 135, 10)},
    {-1, ControlKind::Group, "Profibus Configuration", QRect(5, 170, 155, 70)},
    {-1, ControlKind::Label, "Default Profibus Adr.:", QRect(10, 186, 70, 10)},
    {FormId::ProfibusAddress, ControlKind::Edit, "", QRect(85, 186, 45, 15)},
    {-1, ControlKind::Label, "Decimal Place:", QRect(10, 205, 70, 10)},
    {FormId::DecimalPlace, ControlKind::Edit, "", QRect(85, 205, 45, 15)},
    {FormId::TemplateInfo, ControlKind::Group, "Template Info", QRect(165, 5, 355, 270)},
    {-1, ControlKind::Label, "Total Template Size:", QRect(170, 20, 65, 10)},
    {FormId::InputBytes, ControlKind::ReadOnlyEdit, "", QRect(240, 20, 25, 12)},
    {-1, ControlKind::Label, "Input Area Bytes", QRect(270, 20, 55, 10)},
    {FormId::OutputBytes, ControlKind::ReadOnlyEdit, "", QRect(330, 20, 25, 12)},
    {-1, ControlKind::Label, "Output Area Bytes", QRect(360, 20, 65, 10)},
    {FormId::SlaveTabs, ControlKind::TabStrip, "", QRect(170, 35, 345, 20)},
    {FormId::PointList, ControlKind::ListBox, "", QRect(170, 50, 345, 185)},
    {FormId::ButtonGroup, ControlKind::Group, "", QRect(170, 240, 345, 30)},
    {FormId::EditButton, ControlKind::Button, "Edit", QRect(180, 250, 66, 15)},
    {FormId::RemoveButton, ControlKind::Button, "Remove", QRect(250, 250, 66, 15)},
    {FormId::AddIndirectMessage, ControlKind::Button, "Add New Indirect SPA Message", QRect(375, 250, 131, 15)},
    {FormId::ProgressBar, ControlKind::Progress, "", QRect(5, 280, 515, 10)},
};

constexpr int kDefaultBaudRate = 9600;

int BaudIndexOf(int baudRate)
{
    const auto found = std::find(std::begin(kSpaBaudRates), std::end(kSpaBaudRates), baudRate);
    return found == std::end(kSpaBaudRates) ? 0 : static_cast<int>(found - std::begin(kSpaBaudRates));
}

int BaudRateAt(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kSpaBaudRates)) ? kSpaBaudRates[index]
                                                                            : kDefaultBaudRate;
}

// A numeric field of the form, in the order CommitForm checks them, with the
// range it accepts.
struct RangedField {
    int Id;
    const SettingRange& Range;
    int MainFormValues::*Value;
};

const RangedField kRangedFields[] = {
    {FormId::ReplyTimeout, kReplyTimeoutRange, &MainFormValues::ReplyTimeout},
    {FormId::DecimalPlace, kDecimalPlaceRange, &MainFormValues::DecimalPlace},
    {FormId::ProfibusAddress, kProfibusAddressRange, &MainFormValues::ProfibusAddress},
    {FormId::IdleTime, kIdleTimeRange, &MainFormValues::IdleTime},
    {FormId::RetryCount, kRetryCountRange, &MainFormValues::RetryCount},
    {FormId::GlobalPollInterval, kGlobalPollIntervalRange, &MainFormValues::GlobalPollInterval},
};

// The edits whose losing the focus commits the form. The global poll
// interval has no commit of its own.
constexpr int kCommittingEdits[] = {FormId::ReplyTimeout, FormId::IdleTime, FormId::ProfibusAddress,
                                    FormId::DecimalPlace, FormId::RetryCount};

// A whole integer: blanks around it, an optional sign, digits.
std::optional<int> ParseInteger(const QString& text)
{
    const std::string latin = ToLatin1(text.trimmed());
    const IntScan scan = ScanInt(latin);
    if (!scan.Found || scan.Used != latin.size()) {
        return std::nullopt;
    }
    return scan.Value;
}

// The focus went to another control of the window; not to a message box,
// another window or the menu bar.
bool IsFocusMoveWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

QWidget* MakeControl(const ControlSpec& spec)
{
    const QString caption = QString::fromLatin1(spec.Caption);
    switch (spec.Kind) {
    case ControlKind::Group:
        return new QGroupBox(caption);
    case ControlKind::Label: {
        auto* label = new QLabel(caption);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::DropDownList:
        return new QComboBox;
    case ControlKind::Edit:
        return new QLineEdit;
    case ControlKind::ReadOnlyEdit: {
        auto* edit = new QLineEdit;
        edit->setReadOnly(true);
        return edit;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption);
    case ControlKind::TabStrip: {
        auto* tabs = new QTabBar;
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(true);
        tabs->setDrawBase(false);
        return tabs;
    }
    case ControlKind::ListBox:
        return new CCompanionListBox;
    case ControlKind::Button:
        return new QPushButton(caption);
    case ControlKind::Progress: {
        auto* progress = new QProgressBar;
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        return progress;
    }
    }
    return nullptr;
}

LineKind LineKindOf(PointSection section)
{
    switch (section) {
    case PointSection::AnalogInput:
        return LineKind::AnalogInput;
    case PointSection::DigitalInput:
        return LineKind::DigitalInput;
    case PointSection::AnalogOutput:
        return LineKind::AnalogOutput;
    case PointSection::DigitalOutput:
        return LineKind::DigitalOutput;
    case PointSection::IndirectMessage:
        break;
    }
    return LineKind::IndirectMessage;
}

// The point list menu's own entries, beside the point commands.
constexpr int kMenuEdit = 1;
constexpr int kMenuRemove = 2;
constexpr int kMenuCopy = 3;
constexpr int kMenuCopyAll = 4;

// The menu text of a point command, as the Slave menu shows it.
std::string PointCommandText(int commandId)
{
    for (const MenuEntry& entry : PointCommandEntries()) {
        if (entry.Id == commandId) {
            return entry.Text;
        }
    }
    return {};
}

// The dialog of a new point: true when the user left it with OK.
template <typename Point>
PointEditor<Point> NewPointDialog(QWidget* parent, PointEdit (*edit)(QWidget*, Point&))
{
    return [parent, edit](Point& point) { return edit(parent, point) != PointEdit::Cancelled; };
}

// Opens the point's dialog on a copy; what OK changed reaches the document
// as one change of the point at the index. True when something changed.
template <typename Point>
bool EditAndStore(QWidget* parent, CQuorvinDoc& document, LineKind kind, int index, Point point)
{
    if (EditPoint(parent, point) != PointEdit::Changed) {
        return false;
    }
    return document.Change(
        [kind, index, &point](DocumentContent& content) {
            return VisitPointList(content.Config, kind, [index, &point](auto& list) {
                if constexpr (std::is_same_v<std::decay_t<decltype(list[index])>, Point>) {
                    list[index] = point;
                }
            });
        },
        ChangeEffect::Edit);
}

}  // namespace

CQuorvinView::CQuorvinView(CQuorvinDoc& document, QWidget* parent) : CResizableFormView(parent), document_(document)
{
    Form()->setFont(FormFont());
    CreateControls();
    CreatePointListMenu();
    CreateFindField();
    ConnectEvents();
    fileChange_ = new AfterModalDialogs([this] { document_.OnFileChangeConfirmed(); }, this,
                                        [this] { return deviceOperationRunning_; });
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), Form());
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->hide();
}

void CQuorvinView::SetDeviceOperationRunning(bool running)
{
    deviceOperationRunning_ = running;
    cancelButton_->setEnabled(true);
    cancelButton_->setVisible(running);
    // The bar gives up room for the button while it is there.
    ArrangeLayout();
    PlaceCancelButton();
}

void CQuorvinView::PlaceCancelButton()
{
    if (!deviceOperationRunning_) {
        return;
    }
    constexpr int kGap = 4;
    const QRect bar = progress_->geometry();
    const QSize size(cancelButton_->sizeHint().width(), std::max(cancelButton_->sizeHint().height(), bar.height()));
    progress_->setGeometry(bar.adjusted(0, 0, -(size.width() + kGap), 0));
    cancelButton_->setGeometry(QRect(QPoint(bar.right() + 1 - size.width(), bar.center().y() - size.height() / 2), size));
    cancelButton_->raise();
}

void CQuorvinView::resizeEvent(QResizeEvent* event)
{
    CResizableFormView::resizeEvent(event);
    PlaceCancelButton();
    PlaceFindField();
}

void CQuorvinView::CreatePointListMenu()
{
    pointListMenu_ = new QMenu(this);
    auto add = [this](int id, const char* text, void (CQuorvinView::*run)()) {
        QAction* action = pointListMenu_->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, run);
        pointListActions_[id] = action;
    };
    add(kMenuEdit, "&Edit\tEnter", &CQuorvinView::EditSelectedLine);
    add(kMenuRemove, "&Remove\tDel", &CQuorvinView::RemoveSelectedLine);
    pointListMenu_->addSeparator();
    const std::pair<int, LineKind> adds[] = {
        {CommandId::PointAddAnalogInput, LineKind::AnalogInput},
        {CommandId::PointAddDigitalInput, LineKind::DigitalInput},
        {CommandId::PointAddAnalogOutput, LineKind::AnalogOutput},
        {CommandId::PointAddDigitalOutput, LineKind::DigitalOutput},
        {CommandId::PointAddIndirectMessage, LineKind::IndirectMessage},
    };
    for (const auto& [id, kind] : adds) {
        QAction* action = pointListMenu_->addAction(ToQString(PointCommandText(id)));
        connect(action, &QAction::triggered, this, [this, kind = kind] { AddPoint(kind); });
        pointListActions_[id] = action;
    }
    pointListMenu_->addSeparator();
    add(kMenuCopy, "&Copy", &CQuorvinView::CopySelectedLine);
    add(kMenuCopyAll, "Copy A&ll", &CQuorvinView::CopyAllLines);
    add(CommandId::PointDuplicate, "&Duplicate\tCtrl+D", &CQuorvinView::DuplicateSelectedLine);
}

void CQuorvinView::CreateControls()
{
    const DialogUnits units(Form()->font());
    SetReferenceSize(units.Size(kFormSize.width(), kFormSize.height()));
    std::vector<QWidget*> groups;
    for (const ControlSpec& spec : kControls) {
        QWidget* control = MakeControl(spec);
        QRect rect = units.Rect(spec.Rect.x(), spec.Rect.y(), spec.Rect.width(), spec.Rect.height());
        if (spec.Kind == ControlKind::DropDownList) {
            // The design height is that of the opened list; closed, the
            // control has its natural height.
            rect.setHeight(control->sizeHint().height());
        }
        PlaceControl(spec.Id, control, rect);
        if (spec.Kind == ControlKind::Group) {
            groups.push_back(control);
        }
    }
    // Group boxes frame their controls from behind.
    for (QWidget* group : groups) {
        group->lower();
    }
    baudList_ = static_cast<QComboBox*>(Control(FormId::BaudRate));
    globalEventPoll_ = static_cast<QCheckBox*>(Control(FormId::GlobalEventPoll));
    timeSync_ = static_cast<QCheckBox*>(Control(FormId::TimeSync));
    dateSync_ = static_cast<QCheckBox*>(Control(FormId::DateSync));
    slaveTabs_ = static_cast<QTabBar*>(Control(FormId::SlaveTabs));
    pointList_ = static_cast<CCompanionListBox*>(Control(FormId::PointList));
    editButton_ = static_cast<QPushButton*>(Control(FormId::EditButton));
    removeButton_ = static_cast<QPushButton*>(Control(FormId::RemoveButton));
    addButton_ = static_cast<QPushButton*>(Control(FormId::AddIndirectMessage));
    progress_ = static_cast<QProgressBar*>(Control(FormId::ProgressBar));
    editButton_->setEnabled(false);
    removeButton_->setEnabled(false);
}

void CQuorvinView::ConnectEvents()
{
    connect(baudList_, &QComboBox::activated, this, [this] { CommitForm(); });
    for (QCheckBox* box : {globalEventPoll_, timeSync_, dateSync_}) {
        connect(box, &QCheckBox::clicked, this, [this] { CommitForm(); });
    }
    for (int id : kCommittingEdits) {
        Edit(id)->installEventFilter(this);
    }
    // A value being typed is a change before it is committed.
    for (const RangedField& field : kRangedFields) {
        QLineEdit* edit = Edit(field.Id);
        connect(edit, &QLineEdit::textEdited, this, [this, edit, field] {
            document_.SetValueBeingTyped(edit->text() != QString::number(values_.*field.Value));
        });
    }
    connect(slaveTabs_, &QTabBar::currentChanged, this, &CQuorvinView::OnSlaveTabChanged);
    connect(pointList_, &CCompanionListBox::SelectionChanged, this, &CQuorvinView::UpdateButtons);
    connect(pointList_, &CCompanionListBox::LineDoubleClicked, this, &CQuorvinView::EditSelectedLine);
    connect(pointList_, &CCompanionListBox::FocusChanged, this, [this](bool hasFocus) { listHasFocus_ = hasFocus; });
    pointList_->installEventFilter(this);
    pointList_->viewport()->installEventFilter(this);
    connect(editButton_, &QPushButton::clicked, this, &CQuorvinView::EditSelectedLine);
    connect(removeButton_, &QPushButton::clicked, this, &CQuorvinView::RemoveSelectedLine);
    connect(addButton_, &QPushButton::clicked, this, &CQuorvinView::AddIndirectMessage);
}

QLineEdit* CQuorvinView::Edit(int controlId) const { return qobject_cast<QLineEdit*>(Control(controlId)); }

void CQuorvinView::OnInitialUpdate()
{
    AddAnchor(FormId::PointList, kAnchorTopLeft, kAnchorBottomRight);
    AddAnchor(FormId::TemplateInfo, kAnchorTopLeft, kAnchorBottomRight);
    AddAnchor(FormId::SlaveTabs, kAnchorTopLeft, kAnchorBottomRight);
    AddAnchor(FormId::EditButton, kAnchorBottomLeft, kNoAnchor);
    AddAnchor(FormId::AddIndirectMessage, kAnchorBottomLeft, kNoAnchor);
    AddAnchor(FormId::RemoveButton, kAnchorBottomLeft, kNoAnchor);
    AddAnchor(FormId::ButtonGroup, kAnchorBottomLeft, kAnchorBottomRight);
    AddAnchor(FormId::ProgressBar, kAnchorBottomLeft, kAnchorBottomRight);

    InitialLayout();
    ResizeFrameToFit();
    FillBaudList();
    pointList_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document_.Ui().SetComPortChecks(document_.ComPort());
    LoadForm();
    ArrangeLayout();
}

void CQuorvinView::OnFormInitialUpdate()
{
    ShowFormValues();
    OnUpdate();
}

void CQuorvinView::ResizeFrameToFit()
{
    QWidget* frame = window();
    if (frame == this) {
        return;
    }
    if (frame->layout()) {
        frame->layout()->activate();
    }
    if (firstLayoutDone_) {
        return;
    }
    firstLayoutDone_ = true;
    // The frame shrinks so that the form fits it exactly; it never grows
    // beyond its initial size.
    // The view's own frame around the form; the viewport of a view that is
    // not shown yet has not been laid out.
    const QSize needed = ReferenceSize() + (size() - contentsRect().size());
    const QSize shrink = (size() - needed).expandedTo(QSize(0, 0));
    frame->resize(frame->size() - shrink);
}

void CQuorvinView::FillBaudList()
{
    baudList_->clear();
    for (int rate : kSpaBaudRates) {
        baudList_->addItem(QString::number(rate));
    }
}

void CQuorvinView::OnUpdate()
{
    LoadForm();
    RefreshSlaveTabs();
    RefillPointList();
}

void CQuorvinView::LoadForm()
{
    const ConfigTemplate& config = document_.Config();
    values_.IdleTime = config.SpaIdleTime;
    values_.ReplyTimeout = config.SpaReplyTimeout;
    values_.RetryCount = config.SpaRetryCount;
    values_.ProfibusAddress = config.ProfibusDefaultAddress;
    values_.DecimalPlace = config.ProfibusDecimalPlace;
    values_.DateSync = config.DateSync;
    values_.TimeSync = config.TimeSync;
    values_.GlobalEventPoll = config.GlobalEventPoll;
    values_.GlobalPollInterval = config.GlobalEventPollPeriod;
    values_.BaudIndex = BaudIndexOf(config.SpaBaudRate);
    ShowFormValues();
    document_.SetValueBeingTyped(false);
    formLoaded_ = true;
}

void CQuorvinView::ShowFormValues()
{
    for (const RangedField& field : kRangedFields) {
        Edit(field.Id)->setText(QString::number(values_.*field.Value));
    }
    globalEventPoll_->setChecked(values_.GlobalEventPoll);
    timeSync_->setChecked(values_.TimeSync);
    dateSync_->setChecked(values_.DateSync);
    baudList_->setCurrentIndex(values_.BaudIndex < baudList_->count() ? values_.BaudIndex : -1);
}

bool CQuorvinView::ReadFormValues(MainFormValues& values)
{
    for (const RangedField& field : kRangedFields) {
        QLineEdit* edit = Edit(field.Id);
        const std::optional<int> value = ParseInteger(edit->text());
        if (!value || *value < field.Range.Minimum || *value > field.Range.Maximum) {
            document_.Ui().Notice(value ? SettingRangeMessage(field.Range) : "Please enter an integer.");
            refusedField_ = edit;
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return false;
        }
        values.*field.Value = *value;
    }
    values.GlobalEventPoll = globalEventPoll_->isChecked();
    values.TimeSync = timeSync_->isChecked();
    values.DateSync = dateSync_->isChecked();
    values.BaudIndex = baudList_->currentIndex();
    return true;
}

bool CQuorvinView::CommitForm()
{
    // Before the first load the fields hold nothing of the document's.
    if (!formLoaded_) {
        return true;
    }
    MainFormValues values = values_;
    if (!ReadFormValues(values)) {
        return false;
    }
    refusedField_ = nullptr;
    values_ = values;
    // The document marks itself modified (and keeps an undo step) only when a value differs.
    document_.Change(
        [&values](DocumentContent& content) {
            ConfigTemplate& config = content.Config;
            config.SpaIdleTime = values.IdleTime;
            config.SpaReplyTimeout = values.ReplyTimeout;
            config.SpaRetryCount = values.RetryCount;
            config.ProfibusDefaultAddress = values.ProfibusAddress;
            config.ProfibusDecimalPlace = values.DecimalPlace;
            config.GlobalEventPollPeriod = values.GlobalPollInterval;
            config.DateSync = values.DateSync;
            config.TimeSync = values.TimeSync;
            config.GlobalEventPoll = values.GlobalEventPoll;
            config.SpaBaudRate = BaudRateAt(values.BaudIndex);
            return true;
        },
        ChangeEffect::Edit);
    document_.SetValueBeingTyped(false);
    emit EditCommandsChanged();
    return true;
}

void CQuorvinView::CommitAfterFocusLoss()
{
    // The focus that a refused commit gives back to its field takes it from
    // another edit; that is no reason to refuse again.
    if (refusedField_ && QApplication::focusWidget() == refusedField_) {
        return;
    }
    CommitForm();
}

void CQuorvinView::RefreshSlaveTabs()
{
    refreshingTabs_ = true;
    while (slaveTabs_->count() > 0) {
        slaveTabs_->removeTab(slaveTabs_->count() - 1);
    }
    bool selectedExists = false;
    const SlaveAddressTable& usedSlaves = document_.UsedSlaves();
    for (int address : usedSlaves) {
        if (address == -1) {
            continue;
        }
        const int index = slaveTabs_->addTab(QStringLiteral("Slave %1").arg(address));
        slaveTabs_->setTabData(index, address);
        selectedExists |= address == document_.SelectedSlave();
    }
    if (!selectedExists) {
        document_.SelectSlave(usedSlaves[0]);
    }
    for (int index = 0; index < slaveTabs_->count(); ++index) {
        if (slaveTabs_->tabData(index).toInt() == document_.SelectedSlave()) {
            slaveTabs_->setCurrentIndex(index);
        }
    }
    refreshingTabs_ = false;
}

void CQuorvinView::OnSlaveTabChanged(int index)
{
    if (refreshingTabs_ || index < 0) {
        return;
    }
    CommitForm();
    document_.SelectSlave(slaveTabs_->tabData(index).toInt());
    RefillPointList();
}

void CQuorvinView::RefillPointList()
{
    const int oldInputBytes = inputBytes_;
    const int oldOutputBytes = outputBytes_;
    const PointListContents contents =
        Finding() ? BuildFoundPointList(document_.Config(), ToLatin1(findField_->text()))
                  : BuildPointList(document_.Config(), document_.SelectedSlave(), document_.HasNoSlaves());
    const int horizontalPosition = pointList_->horizontalScrollBar()->value();
    std::vector<CCompanionListBox::Line> lines;
    lines.reserve(contents.Lines.size());
    for (const PointListLine& line : contents.Lines) {
        lines.push_back({ToQString(line.Text), line.Number});
    }
    pointList_->ResetContent();
    pointList_->AddLines(std::move(lines));
    pointList_->horizontalScrollBar()->setValue(horizontalPosition);
    inputBytes_ = contents.InputBytes;
    outputBytes_ = contents.OutputBytes;
    Edit(FormId::InputBytes)->setText(QString::number(inputBytes_));
    Edit(FormId::OutputBytes)->setText(QString::number(outputBytes_));
    if (inputBytes_ != oldInputBytes || outputBytes_ != oldOutputBytes) {
        if (inputBytes_ > kTemplateSizeWarningLimit) {
            document_.Ui().Notice("Warning : Total template size (input) exceeds 240 bytes");
        }
        if (outputBytes_ > kTemplateSizeWarningLimit) {
            document_.Ui().Notice("Warning : Total template size (output) exceeds 240 bytes");
        }
    }
    UpdateButtons();
}

void CQuorvinView::UpdateButtons()
{
    const int selection = pointList_->CurrentSelection();
    const bool pointSelected =
        selection >= 0 && KindOfLineNumber(pointList_->Number(selection)) != LineKind::Heading;
    editButton_->setEnabled(pointSelected);
    removeButton_->setEnabled(pointSelected);
    addButton_->setEnabled(!document_.HasNoSlaves());
    UpdatePointListMenu(pointSelected);
    emit EditCommandsChanged();
    emit SlavesAvailable(!document_.HasNoSlaves());
}

void CQuorvinView::UpdatePointListMenu(bool pointSelected)
{
    const bool hasSlaves = !document_.HasNoSlaves();
    for (const auto& [id, action] : pointListActions_) {
        switch (id) {
        case kMenuEdit:
        case kMenuRemove:
        case CommandId::PointDuplicate:
            action->setEnabled(pointSelected);
            break;
        case kMenuCopy:
            action->setEnabled(pointList_->CurrentSelection() >= 0);
            break;
        case kMenuCopyAll:
            action->setEnabled(pointList_->Count() > 0);
            break;
        default:
            action->setEnabled(hasSlaves);
            break;
        }
    }
}

void CQuorvinView::SelectLineNumber(std::uint32_t number)
{
    for (int line = 0; line < pointList_->Count(); ++line) {
        if (pointList_->Number(line) == number) {
            pointList_->SetCurrentSelection(line);
            return;
        }
    }
    pointList_->SetCurrentSelection(0);
}

std::optional<int> CQuorvinView::SelectedPointLine()
{
    if (document_.HasNoSlaves()) {
        document_.Ui().Notice(kNoSlavesNotice);
        return std::nullopt;
    }
    const int selection = pointList_->CurrentSelection();
    if (selection < 0 || KindOfLineNumber(pointList_->Number(selection)) == LineKind::Heading) {
        return std::nullopt;
    }
    return selection;
}

void CQuorvinView::EditSelectedLine()
{
    const std::optional<int> line = SelectedPointLine();
    if (!line) {
        return;
    }
    const int selection = *line;
    const std::uint32_t number = pointList_->Number(selection);
    const int index = IndexOfLineNumber(number);
    const LineKind kind = KindOfLineNumber(number);
    if (kind == LineKind::DigitalInput && !ParseRange(document_.Config().DigitalInputs[index].Address)) {
        // The message says why the address shown is not the stored one; the
        // dialog then lets the user repair it.
        document_.Ui().ErrorBox("Error", "Error in Ch/Cat/Dno");
    }
    const ConfigTemplate& config = document_.Config();
    bool changed = false;
    switch (kind) {
    case LineKind::Heading:
        return;
    case LineKind::AnalogInput:
        changed = EditAndStore(this, document_, kind, index, config.AnalogInputs[index]);
        break;
    case LineKind::DigitalInput:
        changed = EditAndStore(this, document_, kind, index, config.DigitalInputs[index]);
        break;
    case LineKind::AnalogOutput:
        changed = EditAndStore(this, document_, kind, index, config.AnalogOutputs[index]);
        break;
    case LineKind::DigitalOutput:
        changed = EditAndStore(this, document_, kind, index, config.DigitalOutputs[index]);
        break;
    case LineKind::IndirectMessage:
        changed = EditAndStore(this, document_, kind, index, config.IndirectMessages[index]);
        break;
    }
    if (changed) {
        RefillPointList();
        pointList_->SetCurrentSelection(selection);
        UpdateButtons();
    }
}

void CQuorvinView::RemoveSelectedLine()
{
    const std::optional<int> line = SelectedPointLine();
    if (!line) {
        return;
    }
    const int selection = *line;
    const std::uint32_t number = pointList_->Number(selection);
    const LineKind kind = KindOfLineNumber(number);
    if (!document_.ExtendedMode() &&
        !document_.Ui().Question("Remove?", "Do you really want to remove this parameter?")) {
        return;
    }
    const int index = IndexOfLineNumber(number);
    const bool removed = document_.Change(
        [kind, index](DocumentContent& content) {
            return VisitPointList(content.Config, kind, [index](auto& list) { list.RemoveAt(index); });
        },
        ChangeEffect::Edit);
    if (!removed) {
        return;
    }
    RefillPointList();
    pointList_->SetCurrentSelection(selection - 1);
    UpdateButtons();
}

void CQuorvinView::AddIndirectMessage()
{
    if (const std::optional<int> added = document_.AddIndirectMessage()) {
        ShowNewLine(LineKind::IndirectMessage, *added);
    }
}

void CQuorvinView::ShowSlave(int slaveAddress)
{
    document_.SelectSlave(slaveAddress);
    RefreshSlaveTabs();
    RefillPointList();
}

void CQuorvinView::SelectPoint(const PointReference& point)
{
    ShowSlave(point.SlaveAddress);
    SelectLineNumber(LineNumber(LineKindOf(point.Section), point.Index));
    UpdateButtons();
    pointList_->setFocus();
}

void CQuorvinView::AddPoint(LineKind kind)
{
    std::optional<int> added;
    switch (kind) {
    case LineKind::AnalogInput:
        added = document_.AddAnalogInput(NewPointDialog(this, &EditAnalogInput));
        break;
    case LineKind::DigitalInput:
        added = document_.AddDigitalInput(NewPointDialog(this, &EditDigitalInput));
        break;
    case LineKind::AnalogOutput:
        added = document_.AddAnalogOutput(NewPointDialog(this, &EditAnalogOutput));
        break;
    case LineKind::DigitalOutput:
        added = document_.AddDigitalOutput(NewPointDialog(this, &EditDigitalOutput));
        break;
    case LineKind::IndirectMessage:
        AddIndirectMessage();
        return;
    case LineKind::Heading:
        return;
    }
    if (added) {
        ShowNewLine(kind, *added);
    }
}

void CQuorvinView::DuplicateSelectedLine()
{
    const std::optional<int> line = SelectedPointLine();
    if (!line) {
        return;
    }
    const std::uint32_t number = pointList_->Number(*line);
    const LineKind kind = KindOfLineNumber(number);
    if (const std::optional<int> copy = document_.DuplicatePoint(kind, IndexOfLineNumber(number))) {
        ShowNewLine(kind, *copy);
    }
}

void CQuorvinView::ShowNewLine(LineKind kind, int index)
{
    RefillPointList();
    SelectLineNumber(LineNumber(kind, index));
    UpdateButtons();
}

void CQuorvinView::CopySelectedLine()
{
    const int selection = pointList_->CurrentSelection();
    if (selection >= 0) {
        QGuiApplication::clipboard()->setText(pointList_->Text(selection) + QLatin1Char('\n'));
    }
}

void CQuorvinView::CopyAllLines()
{
    QString text;
    for (int line = 0; line < pointList_->Count(); ++line) {
        text += pointList_->Text(line) + QLatin1Char('\n');
    }
    if (!text.isEmpty()) {
        QGuiApplication::clipboard()->setText(text);
    }
}

void CQuorvinView::ShowPointListMenu(QContextMenuEvent* event, bool atViewport)
{
    QPoint where = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse && atViewport) {
        const int line = pointList_->LineAt(event->pos());
        if (line >= 0 && line != pointList_->CurrentSelection()) {
            pointList_->SetCurrentSelection(line);
        }
    } else if (pointList_->CurrentSelection() >= 0) {
        where = pointList_->viewport()->mapToGlobal(pointList_->LineRect(pointList_->CurrentSelection()).center());
    }
    UpdateButtons();
    pointListMenu_->exec(where);
}

void CQuorvinView::SetProgress(int percent)
{
    progress_->setValue(std::clamp(percent, 0, 100));
}

void CQuorvinView::OnFilePrint() { PrintConfiguration(document_.Config(), document_.Ui(), this); }

bool CQuorvinView::event(QEvent* event)
{
    if (event->type() == FileChangeEventType()) {
        fileChange_->Request();
        return true;
    }
    return CResizableFormView::event(event);
}

bool CQuorvinView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu && (watched == pointList_ || watched == pointList_->viewport())) {
        ShowPointListMenu(static_cast<QContextMenuEvent*>(event), watched != pointList_);
        return true;
    }
    if (watched == pointList_ && event->type() == QEvent::KeyPress && listHasFocus_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditSelectedLine();
            return true;
        }
        if (key == Qt::Key_Delete) {
            RemoveSelectedLine();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && watched != pointList_ &&
        IsFocusMoveWithinWindow(static_cast<QFocusEvent*>(event)->reason())) {
        QTimer::singleShot(0, this, &CQuorvinView::CommitAfterFocusLoss);
    }
    return CResizableFormView::eventFilter(watched, event);
}
