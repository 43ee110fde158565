#include "shell/CommandLine.h"

#include "session/CharacterFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <vector>

namespace vorn {
namespace {

const QString kHelpAll = QStringLiteral("help-all");

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
    AddEventOptions addEvent;
};

Options describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Follows a VORN character's Build, Loose XP, Level and Body from event to event."));
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    Options options{help, version, describeAddEventOptions(parser)};
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A character file (%1) to open; with --add-event, the files to record it in.")
            .arg(QString::fromUtf8(kCharacterFileExtension)),
        QStringLiteral("[FILE]"));
    return options;
}

void quietUnlessFatal(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

StartRequest readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const Options options = describeOptions(parser);

    StartRequest request;
    request.withoutWindow = asksToAddEvent(arguments);
    auto fail = [&](const QString& problem) {
        request.exitCode = 2;
        request.answerIsError = true;
        request.answer = problem + QStringLiteral("\n\n") + parser.helpText();
        return request;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(options.help) || parser.isSet(kHelpAll)) {
        request.exitCode = 0;
        request.answer = parser.helpText();
        request.qtOptionsHelp = parser.isSet(kHelpAll);
        return request;
    }
    if (parser.isSet(options.version)) {
        request.exitCode = 0;
        request.answer = QCoreApplication::applicationName() + QLatin1Char(' ') +
                         QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return request;
    }
    const QDate today = QDate::currentDate();
    AddEventReading addEvent =
        readAddEvent(parser, options.addEvent, {today.year(), today.month(), today.day()});
    if (!addEvent.problem.isEmpty())
        return fail(addEvent.problem);
    if (addEvent.request) {
        request.addEvent = std::move(addEvent.request);
        return request;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return fail(QStringLiteral("Only one character file can be opened at a time."));
    if (!files.isEmpty())
        request.file = files.front();
    return request;
}

StartRequest readCommandLine(int argc, char** argv)
{
    QStringList arguments;
    QStringList undecodable;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        arguments << QFile::decodeName(bytes);
        if (QFile::encodeName(arguments.back()) != bytes)
            undecodable << arguments.back();
    }
    StartRequest request = readCommandLine(arguments);
    if (undecodable.contains(request.file)) {
        request.fileProblem = QStringLiteral("\"%1\" could not be opened: The file name is not valid UTF-8.")
                                  .arg(QFileInfo(request.file).fileName());
        request.file.clear();
    }
    return request;
}

int argumentsForQt(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--") == 0)
            return i;
    return argc;
}

// Qt names the program in the usage as it was started, path and all.
QByteArray programFileName(const char* argv0)
{
    return QFile::encodeName(QFileInfo(QFile::decodeName(argv0)).fileName());
}

StartRequest readCommandLineWithoutWindow(int argc, char** argv)
{
    QByteArray name = programFileName(argv[0]);
    std::vector<char*> given = {name.data()};
    given.insert(given.end(), argv + 1, argv + argc);
    int count = int(given.size());
    given.push_back(nullptr);
    const QCoreApplication application(count, given.data());
    return readCommandLine(argc, argv);
}

StartRequest readCommandLineWithQt(int argc, char** argv)
{
    const int forQt = argumentsForQt(argc, argv);
    QByteArray name = programFileName(argv[0]);
    std::vector<char*> given = {name.data()};
    given.insert(given.end(), argv + 1, argv + forQt);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Given last, this overrides any platform the user named; Windows and macOS always have their own.
    char platformOption[] = "-platform";
    char minimal[] = "minimal";
    given.insert(given.end(), {platformOption, minimal});
#endif
    int count = int(given.size());
    given.push_back(nullptr);
    // What the stand-in platform has to say about its surroundings (XDG_RUNTIME_DIR unset …) concerns no
    // window the user will see.
    const QtMessageHandler previous = qInstallMessageHandler(quietUnlessFatal);
    const QApplication application(count, given.data());
    qInstallMessageHandler(previous);
    // The application has taken its options out of `given`, and left the rest in front.
    std::vector<char*> left(given.begin(), given.begin() + count);
    left.insert(left.end(), argv + forQt, argv + argc);
    const StartRequest request = readCommandLine(int(left.size()), left.data());
    if (request.qtOptionsHelp) {
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(QCoreApplication::arguments());
    }
    return request;
}

} // namespace vorn
