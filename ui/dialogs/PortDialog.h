#pragma once

#include "PortDiscovery.h"

#include <QDialog>
#include <QTimer>

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

// "Other Port": the serial devices present (device, description, by-id link,
// whether the user may open it), looked for again every second while the
// dialog is open, and an editable device path or network address of a
// serial device server (socket://HOST:PORT, rfc2217://HOST:PORT). Choosing a
// device (mouse or arrow keys) puts its by-id link in the path when it has
// one, else its node; a double click or Enter takes it at once; choosing a
// recent address puts it in the field. OK needs a path or a well-formed
// address; what is wrong with an address is shown below the field.
class PortDialog : public QDialog {
public:
    // Preset with the device path in use; the devices are looked for below
    // systemRoot ("/": this machine). The recent network addresses, the
    // latest first, are offered in a list of their own (hidden when empty).
    explicit PortDialog(const std::string& devicePath, QWidget* parent = nullptr, const std::string& systemRoot = "/",
                        const std::vector<std::string>& recentAddresses = {});

    // The path as the user left it, without surrounding blanks.
    std::string DevicePath() const;

    // Looks for the devices again; the list changes only when they did, and
    // the chosen device stays chosen.
    void Refresh();

    QTreeWidget* DeviceList() const { return list_; }
    QLineEdit* PathEdit() const { return path_; }
    QLabel* Hint() const { return hint_; }
    QComboBox* RecentAddresses() const { return recent_; }
    QLabel* AddressProblem() const { return addressProblem_; }
    const QTimer& RefreshTimer() const { return timer_; }

    static constexpr int kRefreshMilliseconds = 1000;

private:
    void ShowDevices();
    void SelectDeviceOfPath();
    void DeviceChosen();
    void CheckPath();

    std::string systemRoot_;
    std::vector<SerialDeviceInfo> devices_;
    bool showing_ = false;  // the list is being filled or its choice restored
    QTreeWidget* list_;
    QLineEdit* path_;
    QLabel* hint_;
    QComboBox* recent_;
    QLabel* addressProblem_;
    QDialogButtonBox* buttons_;
    QTimer timer_;
};
