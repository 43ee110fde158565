#pragma once

#include "session/CalculatorSession.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vorn {

// Character files on disk. Reading never changes a file; writing goes through a temporary file that
// replaces the old one only once it is complete, so a crash, a full disk or a kill during a save leaves
// the previous file as it was.
struct CharacterFileRead {
    std::optional<CharacterState> state;
    QString problem; // the one message the user sees, naming the file
};
CharacterFileRead readCharacterFrom(const QString& path);
// An empty text when saved; otherwise what went wrong, naming the file.
QString saveCharacterTo(const QString& path, const CharacterState& state);

// The name a message or the title gives a file.
QString displayName(const QString& path);

// The last characters opened or saved, newest first, kept in the user's settings.
class RecentCharacters {
public:
    static constexpr int kMost = 8;
    QStringList paths() const;
    void remember(const QString& path);
    void forget(const QString& path);

private:
    void store(const QStringList& paths);
};

} // namespace vorn
