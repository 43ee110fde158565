// Start-up of the calculator beside an empty Qt main window, in the same run on the same platform: each
// is a fresh process of this program, launched in turn, timed from the moment it is launched until its
// window has been exposed and painted once. The calculator is put together as the program's main does
// it. Prints one line, the medians of the runs:
//   startup calculator_ms=<median> empty_ms=<median> ratio=<calculator/empty> runs=<n> platform=<name>
// The platform is the environment's (QT_QPA_PLATFORM, or xcb on a DISPLAY such as xvfb-run's); offscreen
// when there is neither.
#include "calculator/frmBuildCalculator.h"
#include "shell/AboutWindowHolder.h"
#include "shell/AppIcons.h"
#include "shell/RegionalFormat.h"

#include <QApplication>
#include <QLocale>
#include <QMainWindow>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 21;

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Tells the launcher how long the window took, once its first expose (and the painting that goes with
// it) is done, and ends the run.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(long long launchedNs) : m_launchedNs(launchedNs) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed() && !m_told) {
            m_told = true;
            QTimer::singleShot(0, [this] {
                std::printf("%.3f\n", static_cast<double>(nowNs() - m_launchedNs) / 1e6);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    long long m_launchedNs;
    bool m_told = false;
};

int runOne(bool calculator, long long launchedNs, int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("vorncalc-bench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_startup"));
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    ExposeWatch watch(launchedNs);
    app.installEventFilter(&watch);
    if (!calculator) {
        QMainWindow empty;
        empty.show();
        return QApplication::exec();
    }
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorncalc.BuildCalculator"));
    QApplication::setWindowIcon(vorn::programIcon());
    vorn::setNumberFormat(vorn::numberFormatOf(QLocale::system()));
    vorn::AboutWindowHolder about;
    vorn::frmBuildCalculator window;
    window.setAboutCommand([&about] { about.show(); });
    window.showAtStart({}, {});
    return QApplication::exec();
}

double launch(const char* self, const char* mode)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QString::fromLocal8Bit(self), {QString::fromLatin1(mode), QString::number(nowNs())});
    if (!child.waitForFinished(30'000) || child.exitCode() != 0) {
        std::fprintf(stderr, "the %s run failed\n", mode);
        std::exit(1);
    }
    bool ok = false;
    const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
    if (!ok) {
        std::fprintf(stderr, "the %s run told no time\n", mode);
        std::exit(1);
    }
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3) {
        const bool calculator = std::strcmp(argv[1], "calculator") == 0;
        int qtArgc = 1;
        return runOne(calculator, std::atoll(argv[2]), qtArgc, argv);
    }
    // Launched in turn, so that whatever else the machine is doing weighs on both alike.
    std::vector<double> calculator;
    std::vector<double> empty;
    for (int i = 0; i < kRuns; ++i) {
        const bool calculatorFirst = i % 2 == 0;
        (calculatorFirst ? calculator : empty)
            .push_back(launch(argv[0], calculatorFirst ? "calculator" : "empty"));
        (calculatorFirst ? empty : calculator)
            .push_back(launch(argv[0], calculatorFirst ? "empty" : "calculator"));
    }
    const double c = median(calculator);
    const double e = median(empty);
    std::printf("startup calculator_ms=%.2f empty_ms=%.2f ratio=%.3f runs=%d platform=%s\n", c, e, c / e,
                kRuns, qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("xcb")).toLatin1().constData());
    return 0;
}
