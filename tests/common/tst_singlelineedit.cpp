#include "common/SingleLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class tst_SingleLineEdit : public QObject {
    Q_OBJECT

private slots:
    void pasted_data();
    void pasted();
};

void tst_SingleLineEdit::pasted_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");

    QTest::newRow("no line break: as pasted") << "12" << 2 << "34"
                                              << "1234" << 4;
    QTest::newRow("trailing LF, as copied from a cell") << "" << 0 << "250\n"
                                                        << "250" << 3;
    QTest::newRow("CR LF inside") << "" << 0 << "12\r\n34"
                                  << "1234" << 4;
    QTest::newRow("Unicode line separator") << "" << 0 << QStringLiteral("12\u202834") << "1234" << 4;
    QTest::newRow("into the middle: cursor after the paste") << "ab" << 1 << "\nx\r\ny\n"
                                                             << "axyb" << 3;
    QTest::newRow("only line breaks") << "ab" << 1 << "\r\n\r\n"
                                      << "ab" << 1;
    QTest::newRow("blanks stay") << "" << 0 << " 1 \n"
                                 << " 1 " << 3;
}

void tst_SingleLineEdit::pasted()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);

    QLineEdit box;
    vorn::stripLineBreaksWhileEditing(&box);
    box.setText(before);
    box.setCursorPosition(cursor);
    QApplication::clipboard()->setText(clipboard);
    QSignalSpy changes(&box, &QLineEdit::textChanged);
    box.paste();

    QCOMPARE(box.text(), after);
    QCOMPARE(box.cursorPosition(), cursorAfter);
    // Whoever follows the box's changes never sees the line breaks either.
    for (const QList<QVariant>& change : changes)
        QCOMPARE(change.front().toString(), after);
}

QTEST_MAIN(tst_SingleLineEdit)
#include "tst_singlelineedit.moc"
