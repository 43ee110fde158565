#include "shell/AddEventCommand.h"

#include "calculator/EventRecording.h"
#include "rules/Conversions.h"
#include "session/Roster.h"

#include <QCommandLineParser>
#include <QDir>

#include <algorithm>

namespace vorn {
namespace {

const QString kAddEvent = QStringLiteral("add-event");

QString number(std::size_t count)
{
    return QString::number(qulonglong(count));
}

QString text(const std::optional<int32_t>& value)
{
    return value ? QString::number(*value) : QString();
}

// What a terminal shows as one character each, close enough for names and figures.
qsizetype widthOf(const QString& text)
{
    return text.toUcs4().size();
}

// The rows as columns, each as wide as its widest cell; the last cell of a row runs on.
QString table(const std::vector<QStringList>& rows)
{
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c + 1 < row.size(); ++c) {
            if (std::size_t(c) >= widths.size())
                widths.push_back(0);
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], widthOf(row[c]));
        }
    QString out;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += QString(widths[std::size_t(c)] - widthOf(row[c]) + 2, QLatin1Char(' '));
        }
        out += line.trimmed() + QLatin1Char('\n');
    }
    return out;
}

QStringList rowOf(const RecordingFile& file)
{
    const QString name = QDir::toNativeSeparators(file.path);
    if (!file.problem().isEmpty())
        return {name, file.problem()};
    const QString className = QString::fromStdString(vorn::className(file.step.before.classCode));
    if (file.step.kind == BatchStep::Kind::AlreadyRecorded)
        return {name, className, QStringLiteral("already recorded")};
    return {name, className,
            QString::fromStdString(changeText(file.step.before.build, file.step.after.build)),
            QString::fromStdString(changeText(file.step.before.level, file.step.after.level)),
            text(file.step.after.totalXP)};
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

AddEventOptions describeAddEventOptions(QCommandLineParser& parser)
{
    AddEventOptions o{
        {kAddEvent,
         QStringLiteral("Records one event in every FILE, without a window: LENGTH is the event's length in "
                        "days or an event length such as \"Normal Event\". Every file is read and checked "
                        "first; when one can't take the event, none is written. A file that already holds an "
                        "event of the same name on the same date is left as it is."),
         QStringLiteral("LENGTH")},
        {QStringLiteral("coin"),
         QStringLiteral(
             "With --add-event: \"max\" (or \"max out\") for the most training coin, or the silver "
             "spent on training, such as 12.5. None: no training."),
         QStringLiteral("max|SILVER")},
        {QStringLiteral("blankets"),
         QStringLiteral("With --add-event: blankets added before the event, as an Import Events row adds "
                        "them."),
         QStringLiteral("N")},
        {QStringLiteral("date"), QStringLiteral("With --add-event: the event's date. Default: today."),
         QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("event"), QStringLiteral("With --add-event: the event's name."),
         QStringLiteral("NAME")},
        {QStringLiteral("note"), QStringLiteral("With --add-event: a note kept with the event."),
         QStringLiteral("TEXT")},
        {QStringLiteral("dry-run"),
         QStringLiteral("With --add-event: shows what would be recorded, and writes nothing.")},
    };
    parser.addOptions({o.addEvent, o.coin, o.blankets, o.date, o.event, o.note, o.dryRun});
    return o;
}

bool asksToAddEvent(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i)
        if (arguments[i] == QLatin1String("--add-event") ||
            arguments[i].startsWith(QLatin1String("--add-event=")))
            return true;
    return false;
}

AddEventReading readAddEvent(const QCommandLineParser& parser, const AddEventOptions& options,
                             const CalendarDay& today)
{
    AddEventReading reading;
    const auto fail = [&reading](const QString& problem) {
        reading.problem = problem;
        return reading;
    };
    if (!parser.isSet(options.addEvent)) {
        for (const QCommandLineOption* option : {&options.coin, &options.blankets, &options.date,
                                                 &options.event, &options.note, &options.dryRun})
            if (parser.isSet(*option))
                return fail(QStringLiteral("--%1 goes with --add-event.").arg(option->names().front()));
        return reading;
    }
    // An option given twice would leave one of its values unused.
    for (const QCommandLineOption* option :
         {&options.addEvent, &options.coin, &options.blankets, &options.date, &options.event, &options.note})
        if (parser.values(*option).size() > 1)
            return fail(QStringLiteral("--%1 is given more than once.").arg(option->names().front()));

    AddEventRequest r;
    const std::optional<int16_t> length = batchEventLength(parser.value(options.addEvent).toStdString());
    if (!length)
        return fail(QStringLiteral("--add-event must be a whole number of days or an event length such as "
                                   "\"Normal Event\"."));
    r.event.length = *length;
    if (parser.isSet(options.coin)) {
        const std::optional<double> coin = batchTrainingCoin(parser.value(options.coin).toStdString());
        if (!coin)
            return fail(QStringLiteral("--coin must be \"max\", \"max out\" or an amount of silver such as "
                                       "12.5."));
        r.event.trainingCoin = *coin;
    }
    if (parser.isSet(options.blankets)) {
        const std::optional<int32_t> blankets = batchBlankets(parser.value(options.blankets).toStdString());
        if (!blankets)
            return fail(QStringLiteral("--blankets must be a whole number of 0 or more."));
        r.event.blankets = *blankets;
    }
    CalendarDay day = today;
    if (parser.isSet(options.date)) {
        const std::optional<CalendarDay> given = dayFromIsoDate(parser.value(options.date).toStdString());
        if (!given)
            return fail(QStringLiteral("--date must be a day of the calendar written as 2026-12-08."));
        day = *given;
    }
    CleanedNotes notes = cleanedNotes(parser.value(options.event).toStdString(),
                                      parser.value(options.note).toStdString(), day);
    r.event.notes = std::move(notes.notes);
    r.notices = std::move(notes.notices);
    r.dryRun = parser.isSet(options.dryRun);
    r.files = parser.positionalArguments();
    if (r.files.isEmpty())
        return fail(QStringLiteral("--add-event needs at least one character file to record the event in."));
    reading.request = std::move(r);
    return reading;
}

int runAddEvent(const AddEventRequest& request, std::FILE* out, std::FILE* errors)
{
    for (const Message& notice : request.notices)
        print(errors, QString::fromStdString(notice.text) + QLatin1Char('\n'));
    const RecordingPlan plan = planRecording(request.files, request.event);
    std::vector<QStringList> rows{{QStringLiteral("File"), QStringLiteral("Class"), QStringLiteral("Build"),
                                   QStringLiteral("Level"), QStringLiteral("Total XP")}};
    std::size_t stopping = 0;
    for (const RecordingFile& file : plan.files) {
        rows.push_back(rowOf(file));
        stopping += file.problem().isEmpty() ? 0 : 1;
    }
    print(out, table(rows));
    std::fflush(out);

    const std::size_t recorded = plan.count(BatchStep::Kind::Recorded);
    const std::size_t already = plan.count(BatchStep::Kind::AlreadyRecorded);
    if (stopping > 0) {
        print(errors,
              QStringLiteral("Nothing was written: %1 %2 of %3 can't take this event.\n")
                  .arg(number(stopping), stopping == 1 ? QStringLiteral("file") : QStringLiteral("files"),
                       number(plan.files.size())));
        return 1;
    }
    if (request.dryRun) {
        print(out,
              QStringLiteral("Dry run: %1 would be recorded, %2 already recorded. Nothing was written.\n")
                  .arg(number(recorded), number(already)));
        return 0;
    }
    const RecordingDone done = writeRecording(plan);
    for (const QString& problem : done.problems)
        print(errors, problem + QLatin1Char('\n'));
    if (!done.problems.isEmpty()) {
        print(errors,
              done.written.empty()
                  ? QStringLiteral("Nothing was written.\n")
                  : QStringLiteral("%1 of %2 recorded, %3 already recorded; the others were not written.\n")
                        .arg(number(done.written.size()), number(recorded), number(already)));
        return 1;
    }
    print(out, QStringLiteral("%1 recorded, %2 already recorded.\n").arg(number(recorded), number(already)));
    return 0;
}

} // namespace vorn
