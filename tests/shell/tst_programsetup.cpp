#include "common/Prompter.h"
#include "shell/AppIcons.h"
#include "shell/AppIdentity.h"
#include "shell/RegionalFormat.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

// What main puts together before the first window opens: the number format, the icons, and the
// executable's version record, which must agree with the application identity.
class tst_ProgramSetup : public QObject {
    Q_OBJECT

private slots:
    void numberFormatOfLocale_data();
    void numberFormatOfLocale();
    void icons();
    void versionRecordAgreesWithIdentity();
    void boxTitleIsTheApplicationTitle();
};

void tst_ProgramSetup::numberFormatOfLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("decimal");
    QTest::addColumn<QByteArray>("group");

    QTest::newRow("C") << QLocale::c() << QByteArray(".") << QByteArray(",");
    QTest::newRow("English (US)") << QLocale(QLocale::English, QLocale::UnitedStates) << QByteArray(".")
                                  << QByteArray(",");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << QByteArray(",")
                            << QByteArray(".");
    // The group separator is a no-break space, which must arrive as one UTF-8 character.
    const QLocale french(QLocale::French, QLocale::France);
    QTest::newRow("French") << french << QByteArray(",") << french.groupSeparator().toUtf8();
}

void tst_ProgramSetup::numberFormatOfLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, decimal);
    QFETCH(QByteArray, group);

    const vorn::NumberFormat format = vorn::numberFormatOf(locale);
    QCOMPARE(QByteArray::fromStdString(format.decimalSeparator), decimal);
    QCOMPARE(QByteArray::fromStdString(format.groupSeparator), group);
    QCOMPARE(QString::fromStdString(format.groupSeparator).size(), 1);
}

void tst_ProgramSetup::icons()
{
    const QIcon icon = vorn::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
    for (const QSize& size : sizes)
        QCOMPARE(icon.pixmap(size).size(), size);

    const QPixmap picture = vorn::aboutPicture();
    QCOMPARE(picture.size(), QSize(38, 32));
    QVERIFY(!picture.hasAlphaChannel());
}

void tst_ProgramSetup::versionRecordAgreesWithIdentity()
{
    QFile file(QStringLiteral(VORN_RC_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), VORN_RC_FILE);
    const QString rc = QString::fromUtf8(file.readAll());
    const vorn::AppIdentity& identity = vorn::appIdentity();

    const QString numeric =
        QStringLiteral("%1,%2,0,%3").arg(identity.major).arg(identity.minor).arg(identity.revision);
    for (const char* field : {"FILEVERSION", "PRODUCTVERSION"}) {
        const QRegularExpression line(QStringLiteral("^%1\\s+(\\S+)\\s*$").arg(QLatin1String(field)),
                                      QRegularExpression::MultilineOption);
        QCOMPARE(line.match(rc).captured(1), numeric);
    }

    // The record writes the minor number with two digits and the revision with four.
    const QString text = QStringLiteral("%1.%2.%3")
                             .arg(identity.major)
                             .arg(identity.minor, 2, 10, QLatin1Char('0'))
                             .arg(identity.revision, 4, 10, QLatin1Char('0'));
    const QList<std::pair<QString, QString>> strings{
        {"Comments", "Simple program to calculate build."},
        {"ProductName", QString::fromStdString(identity.title)},
        {"FileVersion", text},
        {"ProductVersion", text},
        {"CompanyName", {}},
        {"FileDescription", {}},
        {"InternalName", {}},
        {"LegalCopyright", {}},
        {"LegalTrademarks", {}},
        {"OriginalFilename", {}},
    };
    for (const auto& [name, value] : strings) {
        const QRegularExpression entry(QStringLiteral("VALUE \"%1\", \"([^\"]+)\"").arg(name));
        const QRegularExpressionMatch match = entry.match(rc);
        QVERIFY2(match.hasMatch(), qPrintable(name));
        if (!value.isEmpty())
            QCOMPARE(match.captured(1), value);
    }
    QVERIFY(rc.contains(QStringLiteral("VALUE \"Translation\", 0x409, 1200")));
    QVERIFY(rc.contains(QStringLiteral("BLOCK \"040904B0\"")));
}

// The message boxes carry the title as a fixed text of their own, which must not drift from the identity.
void tst_ProgramSetup::boxTitleIsTheApplicationTitle()
{
    QCOMPARE(QString::fromUtf8(vorn::appTitle()), QString::fromStdString(vorn::appIdentity().title));
}

QTEST_MAIN(tst_ProgramSetup)
#include "tst_programsetup.moc"
