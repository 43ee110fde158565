// Character files under threat, through the window: another program's changes since the window read the
// file, names that are not regular files (a FIFO, a socket, a device), files and folders the user may not
// write to, and a disk that fills up during a save.
//
// No test can fill a real disk without privileges, so this program stands in for the C library's write()
// and fsync(): an executable's own definitions come before any library's, Qt's calls included. On regular
// files, write() takes what room is left, then fails with ENOSPC as the kernel's does on a full disk, and
// fsync() can fail the same way (a disk that allots blocks only when data is flushed); fsync also notes
// each folder it syncs.
#include "CalculatorHarness.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using vorn::Prompter;
using vorn::test::Calculator;
using Answer = Prompter::OverwriteAnswer;

namespace {

constexpr qint64 kRoomEnough = -1;
std::atomic<qint64> g_room = kRoomEnough; // bytes the disk still takes
std::atomic<bool> g_syncFails = false;

// A folder synced, and the size the watched file had at that moment.
struct FolderSync {
    dev_t device;
    ino_t inode;
    qint64 watchedSize;
};
QByteArray g_watched;
std::vector<FolderSync> g_folderSyncs;

template <typename Function> Function theLibrarys(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool isRegular(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = theLibrarys<ssize_t (*)(int, const void*, size_t)>("write");
    const qint64 room = g_room;
    if (room == kRoomEnough || !isRegular(fd))
        return real(fd, data, size);
    if (room == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = real(fd, data, std::min(size, size_t(room)));
    if (written > 0)
        g_room = room - written;
    return written;
}

extern "C" int fsync(int fd)
{
    static const auto real = theLibrarys<int (*)(int)>("fsync");
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        struct stat watched {};
        const bool exists = !g_watched.isEmpty() && ::stat(g_watched.constData(), &watched) == 0;
        g_folderSyncs.push_back({status.st_dev, status.st_ino, exists ? qint64(watched.st_size) : -1});
    }
    if (g_syncFails && S_ISREG(status.st_mode)) {
        errno = ENOSPC;
        return -1;
    }
    return real(fd);
}

// Root may write wherever the permission bits say no, so access() answers here as it would the owner of
// the file: a file or folder made read-only is one to this test whoever runs it.
extern "C" int access(const char* name, int mode)
{
    static const auto real = theLibrarys<int (*)(const char*, int)>("access");
    struct stat status {};
    if (::geteuid() == 0 && ::stat(name, &status) == 0 &&
        (((mode & R_OK) && !(status.st_mode & S_IRUSR)) || ((mode & W_OK) && !(status.st_mode & S_IWUSR)) ||
         ((mode & X_OK) && !(status.st_mode & S_IXUSR)))) {
        errno = EACCES;
        return -1;
    }
    return real(name, mode);
}

namespace {

void choose(Calculator& c, const char* command)
{
    c.window.findChild<QAction*>(command)->trigger();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString buildIn(const QString& path)
{
    Calculator reader;
    return reader.window.openCharacter(path) ? reader.text("lblBuild") : QStringLiteral("(unreadable)");
}

// A socket's name in the file system, as a program that serves others leaves it; it stays when the
// socket is closed.
bool makeSocketFile(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// An open of a FIFO that waits for a writer would stop the test for good: this writer comes along and
// lets it go on, to fail on what it read.
class FifoWriter {
public:
    explicit FifoWriter(const QString& path)
        : m_thread([this, name = QFile::encodeName(path)] {
              while (!m_stop) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0)
                      ::close(fd);
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~FifoWriter()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace

class tst_FileSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup()
    {
        g_room = kRoomEnough;
        g_syncFails = false;
    }
    void changedByAnotherProgram_data();
    void changedByAnotherProgram();
    void notRegularFiles_data();
    void notRegularFiles();
    void saveOnAFullDisk_data();
    void saveOnAFullDisk();
    void saveWherePermissionsForbid_data();
    void saveWherePermissionsForbid();
    void folderSyncedOnceTheFileIsInPlace();

private:
    QTemporaryDir m_dir;
};

void tst_FileSafety::changedByAnotherProgram_data()
{
    QTest::addColumn<QString>("meanwhile");            // what happens to the file after window B opened it
    QTest::addColumn<std::optional<Answer>>("answer"); // none: no question expected
    QTest::addColumn<bool>("byClosing");               // B saves through the close prompt
    QTest::addColumn<QString>("fileHolds");            // whose character is in the file at the end
    const std::optional<Answer> none;
    QTest::newRow("untouched") << "nothing" << none << false << "B";
    QTest::newRow("written again, same bytes") << "rewritten" << none << false << "B";
    QTest::newRow("deleted is written again") << "deleted" << none << false << "B";
    QTest::newRow("another copy saved, Cancel") << "A saved" << std::optional(Answer::Cancel) << false << "A";
    QTest::newRow("another copy saved, Overwrite")
        << "A saved" << std::optional(Answer::Overwrite) << false << "B";
    QTest::newRow("another copy saved, Save As…")
        << "A saved" << std::optional(Answer::SaveAs) << false << "A";
    QTest::newRow("Cancel also cancels the close")
        << "A saved" << std::optional(Answer::Cancel) << true << "A";
}

// Two copies of the calculator with the same file open: A saves, then B does.
void tst_FileSafety::changedByAnotherProgram()
{
    QFETCH(QString, meanwhile);
    QFETCH(std::optional<Answer>, answer);
    QFETCH(bool, byClosing);
    QFETCH(QString, fileHolds);

    const QString path = m_dir.filePath(QString("shared %1.vornchar").arg(QTest::currentDataTag()));
    const QString elsewhere = m_dir.filePath(QString("elsewhere %1.vornchar").arg(QTest::currentDataTag()));
    Calculator a;
    a.click("cmdAddEvent");
    a.prompter.files.push_back(path.toStdString());
    choose(a, "mnuSaveAs");
    Calculator b;
    QVERIFY(b.window.openCharacter(path));

    if (meanwhile == "rewritten") {
        const QByteArray same = contentOf(path);
        QFile::remove(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(same) == same.size());
    } else if (meanwhile == "deleted") {
        QVERIFY(QFile::remove(path));
    } else if (meanwhile == "A saved") {
        a.click("cmdAddMaxOut");
        choose(a, "mnuSave");
        QVERIFY(!a.window.isWindowModified());
    }
    b.click("cmdAddEvent");
    b.click("cmdAddEvent");
    if (answer)
        b.prompter.overwriteAnswers.push_back(*answer);
    b.prompter.files.push_back(elsewhere.toStdString()); // for Save As…
    b.prompter.shown.clear();
    if (byClosing) {
        b.prompter.saveAnswers.push_back(Prompter::SaveAnswer::Save);
        QVERIFY(!b.window.close());
    } else {
        choose(b, "mnuSave");
    }

    const auto question = std::find_if(b.prompter.shown.begin(), b.prompter.shown.end(), [](const auto& s) {
        return s.kind == vorn::ScriptedPrompter::Kind::OverwriteQuestion;
    });
    QCOMPARE(question != b.prompter.shown.end(), answer.has_value());
    if (answer)
        QCOMPARE(question->text, "\"" + QFileInfo(path).fileName().toStdString() +
                                     "\" was changed by another program since you opened it. Overwrite it?");
    QCOMPARE(buildIn(path), (fileHolds == "A" ? a : b).text("lblBuild"));
    const bool savedElsewhere = answer == Answer::SaveAs;
    QCOMPARE(QFile::exists(elsewhere), savedElsewhere);
    if (savedElsewhere)
        QCOMPARE(buildIn(elsewhere), b.text("lblBuild"));
    // Cancelled, the character is still unsaved and the window still open.
    QCOMPARE(b.window.isWindowModified(), answer == Answer::Cancel);
    QVERIFY(b.window.isVisible());
    QVERIFY(b.messages().isEmpty());
}

void tst_FileSafety::notRegularFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("saving"); // else opening
    for (const bool saving : {false, true}) {
        const char* verb = saving ? "save to" : "open";
        QTest::addRow("%s a FIFO", verb) << "fifo" << saving;
        QTest::addRow("%s a socket", verb) << "socket" << saving;
    }
    // Nothing is ever written in place of a device; a test that writes there would replace it.
    QTest::newRow("open a device") << "device" << false;
}

void tst_FileSafety::notRegularFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, saving);

    QString path = m_dir.filePath(QString("%1 %2.vornchar").arg(kind).arg(saving));
    if (kind == "device")
        path = QStringLiteral("/dev/null");
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(makeSocketFile(path));
    const FifoWriter writer(path);

    Calculator c;
    c.click("cmdAddEvent");
    const QStringList before = c.labels();
    const QString name = QFileInfo(path).fileName();
    if (saving) {
        c.prompter.files.push_back(path.toStdString());
        choose(c, "mnuSaveAs");
        QCOMPARE(c.messages(),
                 QStringList{"\"" + name + "\" is not a regular file. Your changes are not saved yet."});
    } else {
        QVERIFY(!c.window.openCharacter(path));
        QCOMPARE(c.messages(), QStringList{"\"" + name + "\" is not a regular file."});
    }
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
    const QFileInfo after(path);
    QVERIFY(after.exists() && !after.isFile());
}

void tst_FileSafety::saveOnAFullDisk_data()
{
    QTest::addColumn<int>("events");
    QTest::addColumn<qint64>("room");
    QTest::addColumn<bool>("syncFails");
    QTest::newRow("no room for a short history") << 2 << qint64(0) << false;
    QTest::newRow("room for part of a short history") << 2 << qint64(100) << false;
    // Beyond what Qt would hold in its buffer before writing.
    QTest::newRow("room for part of a long history") << 400 << qint64(20000) << false;
    QTest::newRow("no room when flushed to the disk") << 2 << kRoomEnough << true;
}

// The file saved before stays as it was, the window keeps its unsaved mark, and the message says why.
void tst_FileSafety::saveOnAFullDisk()
{
    QFETCH(int, events);
    QFETCH(qint64, room);
    QFETCH(bool, syncFails);

    const QString folder = m_dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/Full.vornchar";
    Calculator c;
    c.click("cmdAddEvent");
    c.prompter.files.push_back(path.toStdString());
    choose(c, "mnuSaveAs");
    const QByteArray saved = contentOf(path);
    QVERIFY(!saved.isEmpty());
    for (int i = 0; i < events; ++i)
        c.click("cmdAddEvent");

    g_room = room;
    g_syncFails = syncFails;
    choose(c, "mnuSave");
    cleanup();

    QCOMPARE(c.messages(), QStringList{"\"Full.vornchar\" could not be saved: No space left on device. Your "
                                       "changes are not saved yet."});
    QVERIFY(c.window.isWindowModified());
    QCOMPARE(contentOf(path), saved);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Full.vornchar"});
    // Once there is room again, the same Save goes through without a question.
    c.prompter.shown.clear();
    choose(c, "mnuSave");
    QVERIFY(c.prompter.shown.empty());
    QVERIFY(!c.window.isWindowModified());
}

void tst_FileSafety::saveWherePermissionsForbid_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QFile::Permissions>("file");
    QTest::addColumn<QFile::Permissions>("folder");
    QTest::addColumn<QString>("why"); // FOLDER: the folder as the system writes it
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    const QFile::Permissions all = readOnly | QFile::WriteOwner;
    QTest::newRow("read-only file") << true << QFile::Permissions(QFile::ReadOwner) << all
                                    << "the file is read-only";
    QTest::newRow("new file in a read-only folder")
        << false << QFile::Permissions() << readOnly << "you may not write to the folder \"FOLDER\"";
    QTest::newRow("writable file in a read-only folder")
        << true << QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner) << readOnly
        << "you may not write to the folder \"FOLDER\"";
    QTest::newRow("read-only file in a read-only folder")
        << true << QFile::Permissions(QFile::ReadOwner) << readOnly << "the file is read-only";
}

// Saved as, nothing is written and the window keeps its unsaved mark; the message says why as the system
// would, without the file's whole path.
void tst_FileSafety::saveWherePermissionsForbid()
{
    QFETCH(bool, fileExists);
    QFETCH(QFile::Permissions, file);
    QFETCH(QFile::Permissions, folder);
    QFETCH(QString, why);

    const QString where = m_dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(where));
    const QString path = where + "/rofile.vornchar";
    if (fileExists) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(QFile::setPermissions(path, file));
    }
    QVERIFY(QFile::setPermissions(where, folder));
    const auto restore = qScopeGuard([&] { QFile::setPermissions(where, folder | QFile::WriteOwner); });
    Calculator c;
    c.click("cmdAddEvent");
    c.prompter.files.push_back(path.toStdString());
    choose(c, "mnuSaveAs");

    QCOMPARE(c.messages(), QStringList{"\"rofile.vornchar\" could not be saved: " +
                                       QString(why).replace("FOLDER", QDir::toNativeSeparators(where)) +
                                       ". Your changes are not saved yet."});
    QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
    QCOMPARE(contentOf(path), fileExists ? QByteArray("old") : QByteArray());
    QCOMPARE(QDir(where).entryList(QDir::Files | QDir::Hidden),
             fileExists ? QStringList{"rofile.vornchar"} : QStringList());
}

// A power cut after a save was reported done must not bring back the old file: the folder, which holds
// the name, is synced after the new file took the name.
void tst_FileSafety::folderSyncedOnceTheFileIsInPlace()
{
    const QString path = m_dir.filePath("Synced.vornchar");
    g_watched = QFile::encodeName(path);
    g_folderSyncs.clear();
    Calculator c;
    c.click("cmdAddEvent");
    c.prompter.files.push_back(path.toStdString());
    choose(c, "mnuSaveAs");
    QVERIFY(!c.window.isWindowModified());

    struct stat folder {};
    QCOMPARE(::stat(QFile::encodeName(m_dir.path()).constData(), &folder), 0);
    QVERIFY(!g_folderSyncs.empty());
    const FolderSync& last = g_folderSyncs.back();
    QVERIFY(last.device == folder.st_dev && last.inode == folder.st_ino);
    QCOMPARE(last.watchedSize, QFileInfo(path).size());
    g_watched.clear();
}

QTEST_MAIN(tst_FileSafety)
#include "tst_file_safety.moc"
