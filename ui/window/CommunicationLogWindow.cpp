#include "CommunicationLogWindow.h"

#include "CommunicationLog.h"
#include "FileAccess.h"
#include "WindowSystem.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CommunicationLogWindow::CommunicationLogWindow(CommunicationLog& log, WindowSystem& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), ui_(ui), text_(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Communication Log"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setMaximumBlockCount(CommunicationLog::kMaxLines);
    text_->setPlainText(log.Lines().join(QLatin1Char('\n')));

    auto* clear = new QPushButton(QStringLiteral("&Clear"), this);
    auto* save = new QPushButton(QStringLiteral("&Save..."), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    connect(clear, &QPushButton::clicked, this, &CommunicationLogWindow::OnClear);
    connect(save, &QPushButton::clicked, this, &CommunicationLogWindow::OnSave);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(760, 420);

    log_.SetLineListener([this](const QString& line) { text_->appendPlainText(line); });
}

CommunicationLogWindow::~CommunicationLogWindow() { log_.SetLineListener({}); }

void CommunicationLogWindow::OnClear()
{
    log_.Clear();
    text_->clear();
}

void CommunicationLogWindow::OnSave()
{
    const auto path = ui_.ChooseFileToSave(
        {"Log files (*.log)|*.log|Text files (*.txt)|*.txt|All files (*.*)|*.*||", "LOG", "communication.log", true});
    if (!path) {
        return;
    }
    if (!ReplaceFileContents(*path, log_.Text().toStdString())) {
        ui_.ErrorBox("Error", "Unable to write " + *path);
    }
}
