#include "PortDialog.h"

#include "NetworkAddress.h"
#include "TextConversion.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The long by-id path last, so that the others stay in view.
enum Column { kDeviceColumn, kDescriptionColumn, kAccessColumn, kByIdColumn, kColumnCount };

QString AccessText(const SerialDeviceInfo& device)
{
    if (device.Accessible) {
        return QStringLiteral("yes");
    }
    return device.Group.empty() ? QStringLiteral("no")
                                : QStringLiteral("no (group %1)").arg(PathToQString(device.Group));
}

bool NamesDevice(const SerialDeviceInfo& device, const std::string& path)
{
    return !path.empty() && (device.Path == path || device.ById == path);
}

}  // namespace

PortDialog::PortDialog(const std::string& devicePath, QWidget* parent, const std::string& systemRoot,
                       const std::vector<std::string>& recentAddresses)
    : QDialog(parent), systemRoot_(systemRoot)
{
    setWindowTitle(QStringLiteral("Other Port"));
    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(QStringLiteral("Serial &devices present:"));
    list_ = new QTreeWidget;
    list_->setRootIsDecorated(false);
    list_->setColumnCount(kColumnCount);
    list_->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"), QStringLiteral("Access"),
                            QStringLiteral("By-id path")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    listLabel->setBuddy(list_);
    hint_ = new QLabel;
    hint_->setWordWrap(true);
    auto* recentLabel = new QLabel(QStringLiteral("Recent network &addresses:"));
    recent_ = new QComboBox;
    recent_->addItem(QString());
    for (const std::string& address : recentAddresses) {
        recent_->addItem(PathToQString(address));
    }
    recentLabel->setBuddy(recent_);
    recentLabel->setVisible(!recentAddresses.empty());
    recent_->setVisible(!recentAddresses.empty());
    auto* pathLabel = new QLabel(QStringLiteral("Device &path or network address (socket://HOST:PORT, "
                                                "rfc2217://HOST:PORT):"));
    path_ = new QLineEdit(PathToQString(devicePath));
    pathLabel->setBuddy(path_);
    addressProblem_ = new QLabel;
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    for (QWidget* widget : std::initializer_list<QWidget*>{listLabel, list_, hint_, recentLabel, recent_, pathLabel,
                                                           path_, addressProblem_, buttons_}) {
        layout->addWidget(widget);
    }
    resize(640, 320);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The user's choice, by mouse or keys; not the list's own changes, nor
    // the current item that the list takes without selecting it when it
    // gets the focus.
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!showing_) {
            DeviceChosen();
        }
    });
    connect(list_, &QTreeWidget::itemClicked, this, [this] { DeviceChosen(); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] {
        DeviceChosen();
        accept();
    });
    connect(recent_, &QComboBox::activated, this, [this](int index) {
        if (index > 0) {
            path_->setText(recent_->itemText(index));
        }
    });
    connect(path_, &QLineEdit::textChanged, this, [this] { CheckPath(); });
    CheckPath();

    devices_ = DiscoverSerialDevices(systemRoot_);
    ShowDevices();
    SelectDeviceOfPath();
    timer_.setInterval(kRefreshMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { Refresh(); });
    timer_.start();
}

std::string PortDialog::DevicePath() const { return PathFromQString(path_->text().trimmed()); }

void PortDialog::Refresh()
{
    std::vector<SerialDeviceInfo> devices = DiscoverSerialDevices(systemRoot_);
    if (devices == devices_) {
        return;
    }
    const QTreeWidgetItem* current = list_->currentItem();
    const QString chosen = current != nullptr ? current->text(kDeviceColumn) : QString();
    devices_ = std::move(devices);
    ShowDevices();
    const QScopedValueRollback<bool> showing(showing_, true);
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (!chosen.isEmpty() && list_->topLevelItem(i)->text(kDeviceColumn) == chosen) {
            list_->setCurrentItem(list_->topLevelItem(i));
        }
    }
}

void PortDialog::ShowDevices()
{
    const QScopedValueRollback<bool> showing(showing_, true);
    list_->clear();
    for (const SerialDeviceInfo& device : devices_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kDeviceColumn, PathToQString(device.Path));
        item->setText(kDescriptionColumn, MessageToQString(DeviceDescription(device)));
        item->setText(kByIdColumn, PathToQString(device.ById));
        item->setText(kAccessColumn, AccessText(device));
    }
    const auto refused = std::find_if(devices_.begin(), devices_.end(),
                                      [](const SerialDeviceInfo& device) { return !device.Accessible; });
    if (devices_.empty()) {
        hint_->setText(QStringLiteral("No serial device found. A USB adapter appears here when it is plugged in."));
    } else if (refused != devices_.end()) {
        // The superuser's group is no way in; serial devices are given to dialout.
        const std::string group = refused->Group.empty() || refused->Group == "root" ? "dialout" : refused->Group;
        hint_->setText(QStringLiteral("To open a device marked \"no\", join its group: sudo usermod -aG %1 $USER, "
                                      "then log out and log in again.")
                           .arg(PathToQString(group)));
    } else {
        hint_->clear();
    }
    hint_->setVisible(!hint_->text().isEmpty());
}

void PortDialog::SelectDeviceOfPath()
{
    const QScopedValueRollback<bool> showing(showing_, true);
    const std::string path = DevicePath();
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (NamesDevice(devices_[i], path)) {
            list_->setCurrentItem(list_->topLevelItem(static_cast<int>(i)));
        }
    }
}

void PortDialog::DeviceChosen()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    const int index = selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
    if (index >= 0 && static_cast<std::size_t>(index) < devices_.size()) {
        path_->setText(PathToQString(PreferredDevicePath(devices_[static_cast<std::size_t>(index)])));
    }
}

void PortDialog::CheckPath()
{
    const std::string path = DevicePath();
    std::string problem;
    if (LooksLikeNetworkAddress(path)) {
        ParseNetworkAddress(path, problem);
    }
    addressProblem_->setText(MessageToQString(problem));
    addressProblem_->setVisible(!problem.empty());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!path.empty() && problem.empty());
}
