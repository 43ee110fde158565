#pragma once

#include <QString>
#include <qwindowdefs.h>

#include <functional>

namespace vorn {

// One request to the system shell to open an address with its default action (a web address opens
// in the user's browser). The fields are the shell's own arguments, in its order; null texts stay null.
struct ShellExecuteCall {
    WId window = 0;
    const char* operation = nullptr;
    QString file;
    const char* parameters = nullptr;
    QString directory;
    int showCommand = 0;
};

// The About window is given the opener, so that tests can see what it asks for instead of opening a
// browser. Its result is never looked at: a homepage that fails to open is not reported.
using HomepageOpener = std::function<void(const ShellExecuteCall&)>;

// The program's own opener. On Windows it is the shell's ShellExecuteA, with the texts in the ANSI code
// page; elsewhere the desktop's URL handler opens the address and the Windows-only fields are unused.
void shellExecute(const ShellExecuteCall& call);

} // namespace vorn
