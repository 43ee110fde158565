// The manual page's keyboard shortcuts and the README's menus against the calculator's command table: a
// command or key that one of them has and the table lacks, or the other way round, fails here.
#include "session/Commands.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

class tst_ManPage : public QObject {
    Q_OBJECT

private slots:
    void listsEveryCommandWithItsKeys();
    void readmeMenusNameEveryCommandWithItsKeys();
};

namespace {

// What the page says of each entry of its shortcut section: "Ctrl+Y, Ctrl+Shift+Z" -> "Redo".
QString readAll(const char* path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("can't read %s", path);
    return QString::fromUtf8(file.readAll());
}

// The desktop program's keys: a command only the page has is neither in its manual nor its menus.
QStringList keysOf(const vorn::Command& c)
{
    QStringList keys;
    if (!c.onDesktop)
        return keys;
    for (const char* key : c.keys)
        if (key)
            keys << QString::fromUtf8(key);
    return keys;
}

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
    QMap<QString, QString> listed = shortcutSection(readAll(VORN_MAN_PAGE));
    QVERIFY(!listed.isEmpty());
    for (const vorn::Command& c : vorn::commands()) {
        const QStringList keys = keysOf(c);
        if (keys.isEmpty())
            continue;
        const QString caption = QString::fromUtf8(c.caption).remove('&').replace(u'\u2026', "...");
        const QString joined = keys.join(", ");
        QVERIFY2(listed.contains(joined), qPrintable(c.name + QStringLiteral(": no entry for ") + joined));
        QCOMPARE(listed.take(joined), caption);
    }
    QVERIFY2(listed.isEmpty(), qPrintable("keys no command has: " + listed.keys().join(" / ")));
}

// The README's Menus section names each command as "Caption (Key)", two keys joined by "or".
void tst_ManPage::readmeMenusNameEveryCommandWithItsKeys()
{
    const QString readme = readAll(VORN_README);
    const qsizetype from = readme.indexOf("## Menus");
    QVERIFY(from >= 0);
    const QString menus = readme.mid(from, readme.indexOf("\n## ", from + 1) - from).simplified();
    QStringList unexplained;
    static const QRegularExpression keyed("\\(((Ctrl|Alt)\\+[^)]*)\\)");
    for (const QRegularExpressionMatch& m : keyed.globalMatch(menus))
        unexplained << m.captured(1);
    for (const vorn::Command& c : vorn::commands()) {
        const QStringList keys = keysOf(c);
        if (keys.isEmpty())
            continue;
        const QString named = QString::fromUtf8(c.caption).remove('&') + " (" + keys.join(" or ") + ")";
        QVERIFY2(menus.contains(named), qPrintable("the README's menus lack " + named));
        unexplained.removeOne(keys.join(" or "));
    }
    QVERIFY2(unexplained.isEmpty(), qPrintable("keys no command has: " + unexplained.join(" / ")));
}

QTEST_MAIN(tst_ManPage)
#include "tst_manpage.moc"
