#include "calculator/frmBuildCalculator.h"
#include "rules/Conversions.h"
#include "shell/AboutWindowHolder.h"
#include "shell/AppIcons.h"
#include "shell/AppIdentity.h"
#include "shell/CommandLine.h"
#include "shell/RegionalFormat.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QStandardPaths>

#include <cstdio>

namespace {

int answer(const vorn::StartRequest& request)
{
    std::fputs(request.answer.toLocal8Bit().constData(), request.answerIsError ? stderr : stdout);
    return request.exitCode.value_or(0);
}

} // namespace

// The program creates the calculator window and reacts to the user until the last of its windows has
// closed: the calculator, or the About window when that is still open. A character is saved only when
// the user saves it; until then its unsaved work is kept in a recovery file of its own.
int main(int argc, char* argv[])
{
    // Where the settings (Recent Characters) are kept, and what --version says.
    QCoreApplication::setOrganizationName(QStringLiteral("vorncalc"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vorncalc.org"));
    QCoreApplication::setApplicationName(QString::fromStdString(vorn::appIdentity().title));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(vorn::appIdentity().major)
                                                .arg(vorn::appIdentity().minor)
                                                .arg(vorn::appIdentity().revision));

#ifdef Q_OS_WIN
    // Windows hands the application the command line as UTF-16 and always has a display for a window.
    QApplication app(argc, argv);
    const vorn::StartRequest request = vorn::readCommandLine(QApplication::arguments());
    if (request.exitCode)
        return answer(request);
    if (request.addEvent)
        return vorn::runAddEvent(*request.addEvent, stdout, stderr);
#else
    // The command line is read before any window system is needed, so that answers and mistakes are
    // told on a bare terminal. Options that are not the program's may be Qt's own (-platform, -style …),
    // which only an application can take out: one that needs no display reads such a command line again.
    vorn::StartRequest request = vorn::readCommandLine(argc, argv);
    // --add-event runs on a bare terminal, on a server or in a script: no window system at all.
    if (request.exitCode)
        request = request.withoutWindow ? vorn::readCommandLineWithoutWindow(argc, argv)
                                        : vorn::readCommandLineWithQt(argc, argv);
    if (request.exitCode)
        return answer(request);
    if (request.addEvent) {
        const QCoreApplication app(argc, argv);
        return vorn::runAddEvent(*request.addEvent, stdout, stderr);
    }
    int forQt = vorn::argumentsForQt(argc, argv);
    QApplication app(forQt, argv);
#endif
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorncalc.BuildCalculator"));
    QApplication::setWindowIcon(vorn::programIcon());

    // Typed numbers are read, and results written, in the user's own number format.
    vorn::setNumberFormat(vorn::numberFormatOf(QLocale::system()));

    // The program's two windows, one of each for the whole run: both are owned here and handed to whoever
    // needs them, never reached through a global.
    vorn::AboutWindowHolder about;
    vorn::frmBuildCalculator calculator;
    calculator.setAboutCommand([&about] { about.show(); });
    // Unsaved work is kept among the user's application data, where a crash leaves it for the next start.
    calculator.keepRecoveryIn(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                              QStringLiteral("/recovery"));
    // A file that can't be opened says why and leaves the new character.
    calculator.showAtStart(request.file, request.fileProblem);
    return QApplication::exec();
}
