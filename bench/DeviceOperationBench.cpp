// A 65275-byte archive downloaded through the window program's Device menu
// to halvex-gateway-sim paced at 38400 baud. While it runs, a 10 ms timer on
// the user-interface thread records how late it fires: the longest lateness
// is the longest stall of the event loop. Also reported: the processor time
// of this process over the transfer (the simulator is a process of its own),
// and the wall time against the time the line needs for the bytes traced
// plus the protocol's pauses (500 ms after opening, 5 ms before each frame).
#include "BenchApplication.h"
#include "CMainFrame.h"
#include "CQuorvinApp.h"
#include "CommandTable.h"
#include "QtWindowSystem.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr int kBaud = 38400;
constexpr int kProbeMilliseconds = 10;

double ProcessCpuMilliseconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The line time of the traced frames: ten bits per byte.
double WireMilliseconds(const QStringList& trace, int& frames)
{
    double bytes = 0;
    frames = 0;
    for (const QString& line : trace) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() >= 3 && (fields[1] == QLatin1String("TX") || fields[1] == QLatin1String("RX"))) {
            bytes += static_cast<double>((fields[2].size() + 1) / 3);
            frames += fields[1] == QLatin1String("TX") ? 1 : 0;
        }
    }
    return bytes * 10.0 * 1000.0 / kBaud;
}

// Hands every dialog to the step once it is shown, from the event loop.
class ShownDialogs : public QObject {
public:
    explicit ShownDialogs(std::function<void(QWidget*)> step) : step_(std::move(step))
    {
        qApp->installEventFilter(this);
    }
    ~ShownDialogs() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched) != nullptr) {
            QPointer<QWidget> dialog = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, this, [this, dialog] {
                if (dialog) {
                    step_(dialog);
                }
            });
        }
        return false;
    }

private:
    std::function<void(QWidget*)> step_;
};

void ArchiveDownloadKeepsTheWindowAlive(benchmark::State& state)
{
    QApplication& application = BenchApplication();
    TemporaryDirectory directory;
    const std::string archive = directory.File("site.zip");
    WriteTextFile(archive, std::string(65275, 'z'));
    SimProcess gateway({"--line-rate", std::to_string(kBaud)});

    auto profile = std::make_unique<ProfileStore>(QString::fromStdString(directory.File("profile.ini")));
    profile->WriteString("Settings", "DecimalSeparator", ".");
    profile->WriteString("Settings", "COM1Device", gateway.Path());
    CQuorvinApp app(ParseStartOptions({"halvex"}), std::move(profile));
    app.InitInstance();

    for (auto _ : state) {
        app.Ui().Log().Clear();
        QElapsedTimer wall;
        double cpuStart = 0;
        qint64 longestStall = 0;
        qint64 lastProbe = -1;
        bool transferring = false;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = wall.elapsed();
            if (transferring && lastProbe >= 0) {
                longestStall = std::max(longestStall, now - lastProbe - kProbeMilliseconds);
            }
            lastProbe = now;
        });
        // The file dialog is answered and the timing starts; the success box
        // ends it. Both are caught as they are shown, without polling.
        double wallMs = 0;
        double cpuMs = 0;
        ShownDialogs dialogs([&](QWidget* modal) {
            if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                files->selectFile(QString::fromStdString(archive));
                wall.start();
                cpuStart = ProcessCpuMilliseconds();
                transferring = true;
                static_cast<QDialog*>(files)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && transferring) {
                transferring = false;
                wallMs = static_cast<double>(wall.elapsed());
                cpuMs = ProcessCpuMilliseconds() - cpuStart;
                if (box->text() != QStringLiteral("Archive download OK!")) {
                    state.SkipWithError(box->text().toStdString().c_str());
                }
                box->button(QMessageBox::Ok)->click();
            }
        });
        probe.start(kProbeMilliseconds);
        app.Frame().CommandAction(CommandId::DeviceDownloadArchive)->trigger();
        probe.stop();
        application.processEvents();

        int frames = 0;
        const double expectedMs = WireMilliseconds(app.Ui().Log().Lines(), frames) + 500.0 + 5.0 * frames;
        state.SetIterationTime(wallMs / 1000.0);
        state.counters["longest_stall_ms"] = static_cast<double>(longestStall);
        state.counters["cpu_percent_of_wall"] = 100.0 * cpuMs / wallMs;
        state.counters["wire_and_pauses_ms"] = expectedMs;
        state.counters["wall_over_wire_percent"] = 100.0 * (wallMs - expectedMs) / expectedMs;
        state.counters["frames"] = frames;
    }
}

// The probe timer's own cost, to subtract from the processor share above.
void ProbeTimerAlone(benchmark::State& state)
{
    BenchApplication();
    for (auto _ : state) {
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [] {});
        const double cpuStart = ProcessCpuMilliseconds();
        probe.start(kProbeMilliseconds);
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        state.counters["cpu_percent_of_wall"] = 100.0 * (ProcessCpuMilliseconds() - cpuStart) / 5000.0;
    }
}

}  // namespace

BENCHMARK(ArchiveDownloadKeepsTheWindowAlive)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ProbeTimerAlone)->Iterations(1)->Unit(benchmark::kMillisecond);
