#pragma once

#include "session/EventBatch.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <vector>

class QCommandLineParser;

namespace vorn {

// --add-event: one event recorded in many character files from the command line, with no window and no
// display, for a game's staff after an event.
struct AddEventRequest {
    BatchEvent event;
    bool dryRun = false;
    QStringList files;
    std::vector<Message> notices; // told before the files are read: an event name or note that was cut
};

struct AddEventOptions {
    QCommandLineOption addEvent;
    QCommandLineOption coin;
    QCommandLineOption blankets;
    QCommandLineOption date;
    QCommandLineOption event;
    QCommandLineOption note;
    QCommandLineOption dryRun;
};
AddEventOptions describeAddEventOptions(QCommandLineParser& parser);

// Whether the arguments (argv's, the program's name first) ask for --add-event: such a command line
// takes none of Qt's own options, and is answered without any window system.
bool asksToAddEvent(const QStringList& arguments);

// What a parsed command line asks with these options: nothing (no --add-event), a request, or the
// problem with its values.
struct AddEventReading {
    std::optional<AddEventRequest> request;
    QString problem;
};
AddEventReading readAddEvent(const QCommandLineParser& parser, const AddEventOptions& options,
                             const CalendarDay& today);

// Records the event in the files and reports on them, one row per file and a line with the counts: 0
// when it was recorded (or already was) in every file, 1 when a file stopped it.
int runAddEvent(const AddEventRequest& request, std::FILE* out, std::FILE* errors);

} // namespace vorn
