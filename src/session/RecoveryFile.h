#pragma once

#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// A recovery file: the unsaved character of a calculator that is running, kept so that a crash, a power
// cut or the end of the session loses nothing. One line of JSON says what the character needs besides
// itself (its file, what the calculator last knew of that file, when it was kept); the rest is the
// character file exactly as Save would write it.

// What a recovery file's name ends with.
inline constexpr std::string_view kRecoveryFileExtension = ".vornrecover";
// What a damaged recovery file's name gets when it is set aside: it is no longer offered, and still there.
inline constexpr std::string_view kDamagedRecoverySuffix = ".damaged";
// The first line (a path of a few thousand bytes, escaped) and the largest character file under it.
inline constexpr std::size_t kMostRecoveryFileBytes = kMostCharacterFileBytes + 1024u * 1024u;

struct RecoveryRecord {
    CharacterState state;
    // The character's file (UTF-8), or none for a character never saved.
    std::optional<std::string> file;
    // What the calculator last read from that file or wrote to it: a save over it asks first when another
    // program changed it since. -1 and "" when there was none.
    int64_t fileSize = -1;
    std::string fileSha256; // lowercase hexadecimal
    // When it was kept, in UTC: "2026-12-08T18:30:05Z".
    std::string written;

    friend bool operator==(const RecoveryRecord&, const RecoveryRecord&) = default;
};

std::string writeRecoveryFile(const RecoveryRecord& record);

// Either the record, checked through as a character file is, or the one message the user sees, naming the
// file by `fileName`.
struct RecoveryFileReading {
    std::optional<RecoveryRecord> record;
    std::string problem;
};
RecoveryFileReading readRecoveryFile(std::string_view bytes, std::string_view fileName);

// The name of the recovery file of the calculator with process id `pid`, started at `startMs`
// (milliseconds since 1970): unique to one run, and telling whose it is.
std::string recoveryFileName(int64_t pid, int64_t startMs);

} // namespace vorn
