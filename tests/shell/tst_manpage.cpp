// The manual page's keyboard shortcuts against the calculator's command table: a command or key that one
// of them has and the other lacks fails here.
#include "session/Commands.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

class tst_ManPage : public QObject {
    Q_OBJECT

private slots:
    void listsEveryCommandWithItsKeys();
};

namespace {

// What the page says of each entry of its shortcut section: "Ctrl+Y, Ctrl+Shift+Z" -> "Redo".
QMap<QString, QString> shortcutSection(const QString& page)
{
    const qsizetype from = page.indexOf(".SH KEYBOARD SHORTCUTS");
    const qsizetype to = page.indexOf(".SH", from + 1);
    const QStringList lines = page.mid(from, to - from).split('\n');
    QMap<QString, QString> entries;
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) {
        if (!lines[i].startsWith(".TP"))
            continue;
        QString keys = lines[i + 1];
        keys.remove(QRegularExpression("^\\.BR? "));
        keys.remove('"').replace(QRegularExpression("\\s*,\\s*"), ", ");
        entries[keys.simplified()] = lines[i + 2].section(':', 0, 0);
    }
    return entries;
}

} // namespace

void tst_ManPage::listsEveryCommandWithItsKeys()
{
    QFile file(VORN_MAN_PAGE);
    QVERIFY2(file.open(QIODevice::ReadOnly), VORN_MAN_PAGE);
    QMap<QString, QString> listed = shortcutSection(QString::fromUtf8(file.readAll()));
    QVERIFY(!listed.isEmpty());
    for (const vorn::Command& c : vorn::commands()) {
        QStringList keys;
        for (const char* key : c.keys)
            if (key)
                keys << QString::fromUtf8(key);
        if (keys.isEmpty())
            continue;
        const QString caption = QString::fromUtf8(c.caption).remove('&').replace(u'\u2026', "...");
        const QString joined = keys.join(", ");
        QVERIFY2(listed.contains(joined), qPrintable(c.name + QStringLiteral(": no entry for ") + joined));
        QCOMPARE(listed.take(joined), caption);
    }
    QVERIFY2(listed.isEmpty(), qPrintable("keys no command has: " + listed.keys().join(" / ")));
}

QTEST_MAIN(tst_ManPage)
#include "tst_manpage.moc"
