#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorn {

// What the command line asks of the program: a character file to open, or only an answer (the help, the
// version, or what is wrong with the command line) after which the program ends without a window.
struct StartRequest {
    QString file;                // empty: start with a new character
    std::optional<int> exitCode; // set when the program only answers
    QString answer;              // printed before ending
    bool answerIsError = false;  // goes to standard error
};

// `arguments` begins with the program's name, as argv does. Needs no application object, so that
// --help works where no window could open.
StartRequest readCommandLine(const QStringList& arguments);

} // namespace vorn
