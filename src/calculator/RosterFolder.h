#pragma once

#include "calculator/CharacterFileIO.h"
#include "calculator/ParallelWork.h"
#include "session/Roster.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vorn {

// A character file of a roster folder as read: its row, and the character where it could be opened.
struct RosterEntry {
    QString path;
    RosterRow row;
    std::optional<CharacterState> state;
};

// The character files (.vornchar, any case) directly in the folder, by name. Whatever is there under such
// a name is taken, a FIFO or a broken link too, so that the roster lists it with its reason rather than
// hide it; hidden files (a sync tool's own) are passed over.
QStringList characterFilesIn(const QString& folder);

// Each file read and checked as Open Character reads it.
std::vector<RosterEntry> readRoster(const QStringList& paths, const Progress& progress = {});

} // namespace vorn
