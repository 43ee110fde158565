#include "shell/HomepageOpener.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace vorn {

void shellExecute(const ShellExecuteCall& call)
{
#ifdef Q_OS_WIN
    // ShellExecuteA takes ANSI text; Qt's local 8-bit encoding on Windows is the ANSI code page.
    const QByteArray file = call.file.toLocal8Bit();
    const QByteArray directory = call.directory.toLocal8Bit();
    ShellExecuteA(reinterpret_cast<HWND>(call.window), call.operation, file.constData(), call.parameters,
                  directory.isEmpty() ? nullptr : directory.constData(), call.showCommand);
#else
    QDesktopServices::openUrl(QUrl(call.file));
#endif
}

} // namespace vorn
