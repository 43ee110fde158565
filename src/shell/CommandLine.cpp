#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace vorn {

StartRequest readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Follows a VORN character's Build, Loose XP, Level and Body from event to event."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A character file (.vornchar) to open."),
                                 QStringLiteral("[FILE]"));

    StartRequest request;
    auto fail = [&](const QString& problem) {
        request.exitCode = 2;
        request.answerIsError = true;
        request.answer = problem + QStringLiteral("\n\n") + parser.helpText();
        return request;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        request.exitCode = 0;
        request.answer = parser.helpText();
        return request;
    }
    if (parser.isSet(version)) {
        request.exitCode = 0;
        request.answer = QCoreApplication::applicationName() + QLatin1Char(' ') +
                         QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return request;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(QStringLiteral("Only one character file can be opened at a time."));
    if (!files.isEmpty())
        request.file = files.front();
    return request;
}

} // namespace vorn
