#include "OperationsLogWindow.h"

#include "OperationRecord.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString EntryTextOf(const OperationRecord& record)
{
    const std::pair<const char*, const std::string*> fields[] = {
        {"time", &record.Time},         {"user", &record.User},       {"host", &record.Host},
        {"program", &record.Program},   {"action", &record.Action},   {"port", &record.Port},
        {"port by id", &record.PortById}, {"file", &record.File},     {"sha256", &record.Sha256},
        {"firmware", &record.Firmware}, {"result", &record.Result},   {"message", &record.Message},
        {"verify", &record.Verify},
    };
    QString text;
    for (const auto& [key, value] : fields) {
        if (!value->empty()) {
            text += QString::fromLatin1(key) + QStringLiteral(": ") + Text(*value) + QLatin1Char('\n');
        }
    }
    return text;
}

}  // namespace

OperationsLogWindow::OperationsLogWindow(std::string logPath, QWidget* parent)
    : QWidget(parent, Qt::Window), logPath_(std::move(logPath)), table_(new QTableWidget(0, 6, this))
{
    setWindowTitle(QStringLiteral("Operations Log"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Action"), QStringLiteral("Port"),
                                       QStringLiteral("File"), QStringLiteral("Result"), QStringLiteral("Message")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ShowEntry(row); });

    auto* refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(refresh, &QPushButton::clicked, this, &OperationsLogWindow::Reload);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    resize(900, 420);
}

void OperationsLogWindow::Reload()
{
    const OperationsLogContents log = ReadOperationsLog(logPath_);
    table_->setRowCount(static_cast<int>(log.Records.size()));
    entries_.clear();
    int row = 0;
    for (const OperationRecord& record : log.Records) {
        const std::string* cells[] = {&record.Time, &record.Action, &record.Port,
                                      &record.File, &record.Result, &record.Message};
        for (int column = 0; column < 6; ++column) {
            table_->setItem(row, column, new QTableWidgetItem(Text(*cells[column]).section(QLatin1Char('\n'), 0, 0)));
        }
        entries_.push_back(EntryTextOf(record));
        ++row;
    }
    table_->resizeColumnsToContents();
    table_->scrollToBottom();
}

QString OperationsLogWindow::EntryText(int row) const
{
    return row >= 0 && row < static_cast<int>(entries_.size()) ? entries_[static_cast<std::size_t>(row)] : QString();
}

void OperationsLogWindow::ShowEntry(int row)
{
    if (row < 0 || row >= static_cast<int>(entries_.size())) {
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Operations Log"), EntryText(row), QMessageBox::Ok,
                    this);
    box.exec();
}

void OperationsLogWindow::showEvent(QShowEvent* event)
{
    Reload();
    QWidget::showEvent(event);
}
