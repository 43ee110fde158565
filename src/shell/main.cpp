#include "calculator/frmBuildCalculator.h"
#include "common/ScreenFit.h"
#include "rules/Conversions.h"
#include "shell/AboutWindowHolder.h"
#include "shell/AppIcons.h"
#include "shell/RegionalFormat.h"

#include <QApplication>
#include <QLocale>

// The program creates the calculator window and reacts to the user until the last of its windows has
// closed: the calculator, or the About window when that is still open. Nothing is saved.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("vorn-build-calculator"));
    QApplication::setWindowIcon(vorn::programIcon());

    // Typed numbers are read, and results written, in the user's own number format.
    vorn::setNumberFormat(vorn::numberFormatOf(QLocale::system()));

    // The program's two windows, one of each for the whole run: both are owned here and handed to whoever
    // needs them, never reached through a global.
    vorn::AboutWindowHolder about;
    vorn::frmBuildCalculator calculator;
    calculator.setAboutCommand([&about] { about.show(); });
    calculator.show();
    // The window system chooses where the calculator opens; with large text it may run off the screen.
    vorn::keepOnScreenOnceShown(&calculator);
    return QApplication::exec();
}
