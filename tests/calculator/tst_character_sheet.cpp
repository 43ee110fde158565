// The printed character sheet, printed to a PDF file and read back as text with pdftotext.
#include "calculator/CharacterSheetPrinter.h"
#include "session/CalculatorSession.h"
#include "session/CharacterSheet.h"
#include "session/Chart.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vorn;

class tst_CharacterSheet : public QObject {
    Q_OBJECT

private slots:
    void init();
    void showsTheCharacterAndItsEvents_data();
    void showsTheCharacterAndItsEvents();
    void longHistoryRunsOnWithItsHeader();
};

namespace {

// The pages of the sheet as text, laid out as printed; one entry per page.
QStringList printedPages(const CharacterSheet& sheet, const Chart& chart, QPageSize paper, int* printed)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(paper);
    *printed = printCharacterSheet(sheet, chart, printer);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0)
        qFatal("pdftotext failed: %s", pdftotext.readAllStandardError().constData());
    // The ligatures a font draws ("ﬁ") read back as the letters they stand for.
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .split('\f');
    if (pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

void tst_CharacterSheet::init()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

void tst_CharacterSheet::showsTheCharacterAndItsEvents_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QStringList>("dates"); // the printed date, then the two steps' dates as written there

    QTest::newRow("US English on Letter") << "en_US" << QPageSize::Letter << QStringList{"12/8/26", "1/5/26"};
    QTest::newRow("German on A4") << "de_DE" << QPageSize::A4 << QStringList{"08.12.26", "05.01.26"};
    QTest::newRow("British English on A4")
        << "en_GB" << QPageSize::A4 << QStringList{"08/12/2026", "05/01/2026"};
}

void tst_CharacterSheet::showsTheCharacterAndItsEvents()
{
    QFETCH(QString, locale);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QStringList, dates);
    QLocale::setDefault(QLocale(locale));

    CalculatorSession s;
    s.setToday([] { return CalendarDay{2026, 12, 8}; });
    const BoxTexts boxes;
    s.selectClass(3, boxes);
    for (int i = 0; i < 3; ++i)
        s.addEvent(boxes);
    s.editEvent(1, "Spring Gathering");
    s.editNote(1, "Bought the blue cloak");
    s.editEvent(3, "Winter Feast");
    s.editDate(3, "5 Jan 2026", {2026, 1, 5});
    s.undo(boxes); // the undone date edit is not on the sheet
    s.editDate(3, "5 Jan 2026", {2026, 1, 5});
    s.editNote(3, "Ran out of silver");

    int printed = 0;
    const QString text = printedPages(characterSheet(s, boxes, "Aldric.vornchar", CalendarDay{2026, 12, 8}),
                                      historyChart(s), QPageSize(paper), &printed)
                             .join('\f');
    QCOMPARE(printed, 1);
    QStringList wanted = QString::fromStdString(s.resultsText(boxes)).split('\n');
    QCOMPARE(wanted.size(), 6);
    wanted << "Templar"
           << "Aldric.vornchar"
           << "Printed: " + dates[0] << "Spring Gathering"
           << "Bought the blue cloak"
           << "Winter Feast" << dates[1] << "Ran out of silver"
           << "Page 1 of 1";
    for (const QString& w : wanted)
        QVERIFY2(text.contains(w), qPrintable("missing: " + w + "\n" + text));
}

// Every step is on exactly one page, each page has the table's header and says which page of how many
// it is, whatever the paper.
void tst_CharacterSheet::longHistoryRunsOnWithItsHeader()
{
    constexpr int kSteps = 150;
    CalculatorSession s;
    const BoxTexts boxes;
    for (int i = 1; i <= kSteps; ++i) {
        s.addEvent(boxes);
        s.editEvent(std::size_t(i), QStringLiteral("ev%1x").arg(i, 4, 10, QChar('0')).toStdString());
        // Now and then a note long enough to take several lines of its column.
        if (i % 10 == 0)
            s.editNote(std::size_t(i), QString("a long note ").repeated(16).toStdString());
    }
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        int printed = 0;
        const QStringList pages = printedPages(characterSheet(s, boxes, "", std::nullopt), historyChart(s),
                                               QPageSize(paper), &printed);
        QCOMPARE(pages.size(), printed);
        QVERIFY(printed > 2);
        for (int n = 0; n < printed; ++n) {
            QVERIFY2(pages[n].contains("What was done"),
                     qPrintable(QString("page %1 lacks the header").arg(n)));
            QVERIFY(pages[n].contains(QStringLiteral("Page %1 of %2").arg(n + 1).arg(printed)));
            QVERIFY(pages[n].contains(QString::fromUtf8(kSheetNoFile)));
        }
        const QString all = pages.join('\f');
        for (int i = 1; i <= kSteps; ++i)
            QCOMPARE(all.count(QStringLiteral("ev%1x").arg(i, 4, 10, QChar('0'))), 1);
    }
}

QTEST_MAIN(tst_CharacterSheet)
#include "tst_character_sheet.moc"
