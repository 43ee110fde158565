// Thousands of random user actions on the real calculator window, each followed by a comparison of
// everything the window shows with what SessionModel says it should show. VORN_SOAK_SEED and
// VORN_SOAK_ACTIONS (actions for each regional format) override the fixed seed and count; a failure
// prints both, with the last actions, so that the session can be replayed. VORN_SOAK_TRACE=1 prints
// every action with what it showed (run with -maxwarnings 0).
#include "SoakSession.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <utility>

using vorn::test::Calculator;
using vorn::test::SessionModel;
using vorn::test::SoakSession;

namespace {

constexpr uint32_t kDefaultSeed = 20240611;
constexpr int kDefaultActions = 5000; // for each regional format

QStringList g_warnings;
QtMessageHandler g_previousHandler = nullptr;
// How to replay the running session; also said when it ends in a crash or an escaped exception.
std::function<QString()> g_replay;

// The offscreen platform says what it can't do (raise a window, size hints); anything else Qt warns
// about is a fault of the window.
bool harmless(const QString& message)
{
    return message.startsWith("This plugin does not support");
}

// Harmless chatter is dropped: thousands of actions would bury the test log in it.
void recordWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) {
        if (harmless(message))
            return;
        g_warnings << message;
        if (type == QtFatalMsg && g_replay)
            fprintf(stderr, "%s\n", qPrintable(g_replay()));
    }
    g_previousHandler(type, context, message);
}

uint32_t fromEnvironment(const char* name, uint32_t fallback)
{
    bool ok = false;
    const uint32_t value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

} // namespace

class tst_SessionSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        g_previousHandler = qInstallMessageHandler(recordWarnings);
        std::set_terminate([] {
            if (g_replay)
                fprintf(stderr, "%s\n", qPrintable(g_replay()));
            std::abort();
        });
    }
    void cleanupTestCase() { qInstallMessageHandler(g_previousHandler); }
    void cleanup() { vorn::setNumberFormat({}); }
    void soak_data();
    void soak();
};

void tst_SessionSoak::soak_data()
{
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("group");
    QTest::addColumn<uint32_t>("seedOffset");
    QTest::newRow("full stop decimal, comma groups") << "."
                                                     << "," << 0U;
    QTest::newRow("comma decimal, full stop groups") << ","
                                                     << "." << 1U;
    QTest::newRow("comma decimal, no-break space groups") << "," << QString(QChar(0x00A0)) << 2U;
}

void tst_SessionSoak::soak()
{
    QFETCH(QString, decimal);
    QFETCH(QString, group);
    QFETCH(uint32_t, seedOffset);
    const uint32_t seed = fromEnvironment("VORN_SOAK_SEED", kDefaultSeed);
    const int actions = int(fromEnvironment("VORN_SOAK_ACTIONS", kDefaultActions));

    vorn::setNumberFormat({decimal.toStdString(), group.toStdString()});
    SoakSession session(seed + seedOffset, decimal, group, actions, g_warnings);
    QVERIFY(session.opened());
    session.verify();

    int done = 0;
    g_replay = [&] {
        return QString("Replay: VORN_SOAK_SEED=%1 VORN_SOAK_ACTIONS=%2 VORN_SOAK_TRACE=1 tst_session_soak "
                       "-maxwarnings 0 \"soak:%3\"\nThe last actions:\n%4")
            .arg(seed)
            .arg(done + 1)
            .arg(QTest::currentDataTag(), session.lastActions());
    };
    QElapsedTimer clock;
    clock.start();
    for (; done < actions; ++done) {
        try {
            session.act(done);
            if (!QTest::currentTestFailed())
                session.verify();
        } catch (const std::exception& e) {
            QTest::qFail(qPrintable(QString("an exception escaped: ") + e.what()), __FILE__, __LINE__);
        }
        if (QTest::currentTestFailed()) {
            qInfo().noquote() << g_replay();
            g_replay = nullptr;
            return;
        }
    }
    g_replay = nullptr;
    qInfo().noquote() << session.tally();
    qInfo("seed %u: %d actions in %lld ms", seed, actions, static_cast<long long>(clock.elapsed()));
}

QTEST_MAIN(tst_SessionSoak)
#include "tst_session_soak.moc"
