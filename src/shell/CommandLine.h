#pragma once

#include "shell/AddEventCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vorn {

// What the command line asks of the program: a character file to open, or only an answer (the help, the
// version, or what is wrong with the command line) after which the program ends without a window.
struct StartRequest {
    QString file;                // empty: start with a new character
    QString fileProblem;         // set instead of `file` when the named file can't be reached
    std::optional<int> exitCode; // set when the program only answers
    QString answer;              // printed before ending
    bool answerIsError = false;  // goes to standard error
    bool qtOptionsHelp = false;  // --help-all, whose Qt options only an application can list
    // --add-event: the event to record in the files named, with no window.
    std::optional<AddEventRequest> addEvent;
    // Asked with --add-event, even where it can't be read: no window system, and none of Qt's options.
    bool withoutWindow = false;
};

// `arguments` begins with the program's name, as argv does. Needs no application object, so that it can
// be read where no window could open. Qt's own options (-platform, -style …) are unknown here: only an
// application takes them out of the arguments.
StartRequest readCommandLine(const QStringList& arguments);

// The same from argv's bytes, each decoded as a file name is. A name that is not valid UTF-8 does not
// survive decoding, so no file function could reach the file: the request says so rather than name
// another file.
StartRequest readCommandLine(int argc, char** argv);

// Qt reads its own options on past "--", after which every argument is a file name: the number of
// arguments before it, which is all Qt may be given.
int argumentsForQt(int argc, char** argv);

// Reads the command line inside a short-lived application on a platform that needs no display: it takes
// Qt's own options out and knows them, and the program is named by its file's name in the usage. Answers
// --help-all itself, Qt's options included, and ends the program; otherwise returns what to do. Only
// while no other application object exists.
StartRequest readCommandLineWithQt(int argc, char** argv);

// The same inside a bare core application, named by its file's name in the usage: for a command line that
// asks for no window (--add-event), whose every answer needs no window system at all.
StartRequest readCommandLineWithoutWindow(int argc, char** argv);

} // namespace vorn
