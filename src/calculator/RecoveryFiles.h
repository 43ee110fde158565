#pragma once

#include "session/RecoveryFile.h"

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vorn {

// The recovery files that calculators leave in their folder, as a calculator starting finds them.

// A recovery file of a calculator that ended without closing, locked by this calculator while it decides
// what becomes of it, so that no other calculator offers it at the same time.
struct ClaimedRecovery {
    QString path;
    std::shared_ptr<QLockFile> lock;
};

// The lock that tells a running calculator's recovery file from a left one; it never goes stale with
// age, only with the end of the process that holds it.
std::unique_ptr<QLockFile> recoveryLock(const QString& recoveryFile);

// The recovery files in `folder` whose calculators are no longer running, newest first, each claimed.
std::vector<ClaimedRecovery> claimLeftRecoveries(const QString& folder);

struct RecoveryRead {
    std::optional<RecoveryRecord> record;
    QString problem; // the one message the user sees, naming the file
};
RecoveryRead readRecovery(const QString& path);

// Renames a damaged recovery file so that it is no longer offered, and says where it is now (still at
// `path` when it could not be renamed).
QString setDamagedRecoveryAside(const QString& path);

} // namespace vorn
