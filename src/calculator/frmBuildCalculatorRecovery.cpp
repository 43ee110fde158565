// The calculator window's care for work not yet in a file: the recovery file that keeps it through a
// crash, the offer of what calculators that ended without closing left, and the watch on the open
// character's file for changes made by other programs.
#include "calculator/CharacterFileWatch.h"
#include "calculator/RecoveryKeeper.h"
#include "calculator/frmBuildCalculator.h"
#include "calculator/frmHistory.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorn {

void frmBuildCalculator::keepRecoveryIn(const QString& folder)
{
    m_recovery = std::make_unique<RecoveryKeeper>(
        folder, [this](RecoveryRecord& record) { recoverySnapshot(record); });
    showSessionState();
}

void frmBuildCalculator::recoverySnapshot(RecoveryRecord& record) const
{
    m_session.state(boxTexts(), record.state);
    record.file.reset();
    record.fileSize = -1;
    record.fileSha256.clear();
    if (!m_path.isEmpty()) {
        record.file = m_path.toStdString();
        record.fileSize = m_fingerprint.size;
        if (m_fingerprint.size >= 0)
            record.fileSha256 = m_fingerprint.sha256.toHex().toStdString();
    }
}

void frmBuildCalculator::offerRecovery()
{
    if (!m_recovery)
        return;
    for (ClaimedRecovery& claimed : claimLeftRecoveries(m_recovery->folder())) {
        const RecoveryRead read = readRecovery(claimed.path);
        if (!read.record) {
            // Never removed unseen: set aside where it is no longer offered, and said where.
            const QString kept = QDir::toNativeSeparators(setDamagedRecoveryAside(claimed.path));
            // The file's own words in the problem are never taken for a place to fill in.
            const QString where =
                QStringLiteral(
                    " The unsaved character in it could not be recovered; the file is kept as \"%1\".")
                    .arg(kept);
            showMessage({(read.problem + where).toStdString()});
            continue;
        }
        const QDateTime written =
            QDateTime::fromString(QString::fromStdString(read.record->written), Qt::ISODate).toLocalTime();
        switch (m_prompter->askRecover(locale().toString(written, QLocale::ShortFormat).toStdString())) {
        case Prompter::RecoverAnswer::Recover:
            // The others stay for the next start: the window holds one character.
            recover(*read.record, std::move(claimed));
            return;
        case Prompter::RecoverAnswer::Discard:
            QFile::remove(claimed.path);
            break;
        }
    }
}

void frmBuildCalculator::recover(const RecoveryRecord& record, ClaimedRecovery claimed)
{
    m_session.restore(record.state);
    // Its work is in no file until the user saves it.
    m_session.markUnsaved();
    if (m_history && m_history->isVisible())
        m_history->reload();
    m_path = record.file ? QString::fromStdString(*record.file) : QString();
    // What the calculator knew of the file when it ended: a save over a file changed since asks first.
    m_fingerprint = {record.fileSize, QByteArray::fromHex(QByteArray::fromStdString(record.fileSha256))};
    m_keptMine = {};
    showChoicesOf(record.state);
    m_recovery->keepNowReplacing(std::move(claimed));
}

void frmBuildCalculator::fileWatch_Changed()
{
    if (m_path.isEmpty() || m_askingReload)
        return;
    // Over another box (a save's own question, a file dialog) the question waits until it is closed.
    if (QApplication::activeModalWidget()) {
        m_watch->askAgainSoon();
        return;
    }
    // The window's own saves leave the file as it last wrote it; a file removed has nothing to reload.
    if (!changedSince(m_path, m_fingerprint))
        return;
    const FileFingerprint now = fingerprintNow(m_path);
    if (now.size < 0 || now == m_keptMine)
        return;
    m_askingReload = true;
    const Prompter::ReloadAnswer answer =
        m_prompter->askReload(displayName(m_path).toStdString(), m_session.needsSaveQuestion(true));
    m_askingReload = false;
    m_keptMine = now;
    if (answer == Prompter::ReloadAnswer::Reload)
        openCharacter(QString(m_path));
    // A change that came while the question was open is looked at now.
    m_watch->askAgainSoon();
}

} // namespace vorn
