#include "shell/HomepageOpener.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace vorn {

bool shellExecute(const ShellExecuteCall& call)
{
#ifdef Q_OS_WIN
    // ShellExecuteA takes ANSI text; Qt's local 8-bit encoding on Windows is the ANSI code page.
    const QByteArray file = call.file.toLocal8Bit();
    const QByteArray directory = call.directory.toLocal8Bit();
    const HINSTANCE result =
        ShellExecuteA(reinterpret_cast<HWND>(call.window), call.operation, file.constData(), call.parameters,
                      directory.isEmpty() ? nullptr : directory.constData(), call.showCommand);
    // The shell's answer is an error number up to 32 and anything greater on success.
    return reinterpret_cast<INT_PTR>(result) > 32;
#else
    return QDesktopServices::openUrl(QUrl(call.file));
#endif
}

} // namespace vorn
