#pragma once

#include "CResizableFormView.h"
#include "PointClipboard.h"
#include "PointList.h"

#include <QPointer>

#include <cstdint>
#include <map>
#include <optional>

class AfterModalDialogs;
class CCompanionListBox;
struct PointReference;
class QAction;
class QContextMenuEvent;
class CQuorvinDoc;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabBar;

// The identifiers of the main form's controls.
namespace FormId {
inline constexpr int BaudRate = 1000;
inline constexpr int ReplyTimeout = 1001;
inline constexpr int IdleTime = 1002;
inline constexpr int ProfibusAddress = 1003;
inline constexpr int TimeSync = 1004;
inline constexpr int PointList = 1006;
inline constexpr int DecimalPlace = 1009;
inline constexpr int RetryCount = 1010;
inline constexpr int GlobalPollInterval = 1011;
inline constexpr int DateSync = 1013;
inline constexpr int AddIndirectMessage = 1014;
inline constexpr int RemoveButton = 1015;
inline constexpr int GlobalEventPoll = 1016;
inline constexpr int EditButton = 1017;
inline constexpr int ProgressBar = 1023;
inline constexpr int SlaveTabs = 1053;
inline constexpr int InputBytes = 1054;
inline constexpr int OutputBytes = 1055;
inline constexpr int TemplateInfo = 1056;
inline constexpr int ButtonGroup = 1057;
}  // namespace FormId

// The main form's values, one per field.
struct MainFormValues {
    int ReplyTimeout = 0;
    int IdleTime = 0;
    int RetryCount = 0;
    int GlobalPollInterval = 0;
    int ProfibusAddress = 0;
    int DecimalPlace = 0;
    bool GlobalEventPoll = false;
    bool TimeSync = false;
    bool DateSync = false;
    int BaudIndex = 0;
};

// The main form: the SPA and Profibus settings on the left; the area byte
// counts, one tab per slave, the selected slave's point list and its buttons
// on the right; the progress bar of the device operations at the bottom.
// The configuration is the only truth: every update rebuilds form, tabs and
// list from it.
class CQuorvinView : public CResizableFormView {
    Q_OBJECT

public:
    explicit CQuorvinView(CQuorvinDoc& document, QWidget* parent = nullptr);

    // The first display after a document was created or opened.
    void OnInitialUpdate();
    // The document's update of all views: LoadForm, RefreshSlaveTabs,
    // RefillPointList.
    void OnUpdate();

    void LoadForm();
    // Validates every field and writes what changed into the configuration;
    // false, with a message and the focus on the field, when a field is out of
    // range. Nothing is written then.
    bool CommitForm();
    void RefreshSlaveTabs();
    void RefillPointList();
    void UpdateButtons();
    void EditSelectedLine();
    void RemoveSelectedLine();
    void AddIndirectMessage();
    // Adds a point of the kind to the selected slave through its dialog and
    // selects its line; an indirect message is added as by its button.
    void AddPoint(LineKind kind);
    // Appends a copy of the selected point and selects it.
    void DuplicateSelectedLine();
    // The selected line, or every line of the list, to the clipboard as text.
    void CopySelectedLine();
    void CopyAllLines();
    // Edit > Cut, Copy, Paste: the selected point, or with no point line
    // selected every point of the selected slave, to the clipboard as the
    // configuration file's point lines; a paste adds the clipboard's points
    // to the selected slave and selects the first.
    void CopyPoints();
    void CutPoints();
    void PastePoints();
    bool CanCopyPoints() const;
    bool CanPastePoints() const;
    // Edit > Find: the filter field in place of the slave tabs; the list
    // shows the points of every slave whose description or Ch/Cat/Dno holds
    // its text. Esc ends it, Enter opens the selected (or first) point.
    void ShowFind();
    void EndFind();
    bool Finding() const;
    QLineEdit* FindField() const { return findField_; }

    // The point list's context menu: Edit, Remove, the adds, Copy, Copy All
    // and Duplicate, enabled as the list's selection allows.
    QMenu* PointListMenu() const { return pointListMenu_; }

    // Shows the slave's tab and point list, and selects the line of the
    // point there (Device > "Check Configuration" goes to what it found).
    void ShowSlave(int slaveAddress);
    void SelectPoint(const PointReference& point);

    void SetProgress(int percent);
    // While a device operation runs: the Cancel button beside the progress
    // bar, and "FILECHANGE" waits until the operation has ended.
    void SetDeviceOperationRunning(bool running);
    QPushButton* CancelButton() const { return cancelButton_; }
    // File > Print: the printed report of the configuration as it is.
    void OnFilePrint();

    int InputBytes() const { return inputBytes_; }
    int OutputBytes() const { return outputBytes_; }
    bool ListHasFocus() const { return listHasFocus_; }

    CCompanionListBox* PointList() const { return pointList_; }
    QTabBar* SlaveTabs() const { return slaveTabs_; }
    QLineEdit* Edit(int controlId) const;

signals:
    // The selection, the list or the document changed: what the Edit
    // commands can do may have changed.
    void EditCommandsChanged();
    // Whether there is a slave for the commands that work on one; sent with
    // every update of the buttons.
    void SlavesAvailable(bool available);

protected:
    void OnFormInitialUpdate() override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceCancelButton();
    void CreateControls();
    void CreatePointListMenu();
    // Right-click selects the line under the mouse; the menu opens at the
    // mouse, or from the keyboard at the selected line.
    void ShowPointListMenu(QContextMenuEvent* event, bool atViewport);
    void UpdatePointListMenu(bool pointSelected);
    void ShowNewLine(LineKind kind, int index);
    void ConnectEvents();
    void ShowFormValues();
    // Reads and checks the fields into values; false after the range message.
    bool ReadFormValues(MainFormValues& values);
    void FillBaudList();
    void ResizeFrameToFit();
    void CommitAfterFocusLoss();
    void OnSlaveTabChanged(int index);
    void SelectLineNumber(std::uint32_t number);
    // The selected line when it shows a point or message; none for a heading
    // or no selection, and after the no-slaves notice when there are no slaves.
    std::optional<int> SelectedPointLine();
    // The point of the selected line; none for a heading or no selection.
    std::optional<PointPosition> SelectedPointPosition() const;
    void CreateFindField();
    void PlaceFindField();
    // Enter in the find field: the selected point line, else the first, is edited.
    void EditFoundPoint();

    CQuorvinDoc& document_;
    MainFormValues values_;
    int inputBytes_ = 0;
    int outputBytes_ = 0;
    bool listHasFocus_ = false;
    bool firstLayoutDone_ = false;
    bool refreshingTabs_ = false;
    bool formLoaded_ = false;
    // The field that the last refused commit sent the user back to.
    QPointer<QWidget> refusedField_;
    // "FILECHANGE" waits for the open dialogs: an edit dialog stores into
    // the point it was opened for, never into a reloaded list.
    AfterModalDialogs* fileChange_ = nullptr;

    QComboBox* baudList_ = nullptr;
    QCheckBox* globalEventPoll_ = nullptr;
    QCheckBox* timeSync_ = nullptr;
    QCheckBox* dateSync_ = nullptr;
    QTabBar* slaveTabs_ = nullptr;
    CCompanionListBox* pointList_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool deviceOperationRunning_ = false;
    QLineEdit* findField_ = nullptr;
    QMenu* pointListMenu_ = nullptr;
    std::map<int, QAction*> pointListActions_;  // by command, and the menu's own
};
