// Every text of the calculator and the About window stands out from what lies behind it, in the light
// and the dark palettes a user may run with, and after a theme switch while a window is open.
#include "calculator/frmBuildCalculator.h"
#include "common/ScriptedPrompter.h"
#include "shell/frmAbout.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// WCAG 2 relative luminance and contrast ratio.
double luminance(const QColor& colour)
{
    auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a widget's text is drawn on when it paints no background of its own: that of the nearest
// widget that fills its background, the window at the latest.
QColor groundBehind(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    return {};
}

struct Text {
    QString name;
    QColor ink;
    QColor ground;
};

// The texts a user sees in the window, with the colours Fusion draws them in. A disabled control takes the
// palette's disabled colours, which are faint on purpose and left out here, but for a disabled box, whose
// number the user still reads; check boxes are left out
// because the calculator's only one shows no caption of its own (Label14 is its caption).
QList<Text> visibleTexts(QWidget* window)
{
    QList<Text> texts;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QPalette& palette = w->palette();
        // A disabled box still shows its number (the event length of a fixed entry).
        if (auto* box = qobject_cast<QLineEdit*>(w); box && !w->isEnabled()) {
            texts.append({w->objectName(), palette.color(QPalette::Disabled, QPalette::Text),
                          palette.color(QPalette::Disabled, QPalette::Base)});
            continue;
        }
        if (!w->isEnabled())
            continue;
        const QColor ink = palette.color(w->foregroundRole());
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
            texts.append({w->objectName(), ink, groundBehind(w)});
        else if (auto* frame = qobject_cast<QGroupBox*>(w); frame && !frame->title().isEmpty())
            texts.append({w->objectName(), ink, groundBehind(w)});
        else if (qobject_cast<QPushButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w))
            texts.append({w->objectName(), ink, palette.color(w->backgroundRole())});
        else if (qobject_cast<QMenuBar*>(w))
            texts.append({QStringLiteral("menu bar"), palette.color(QPalette::ButtonText),
                          palette.color(QPalette::Window)});
    }
    return texts;
}

// The dark palette Fusion users commonly set up by hand.
QPalette darkPalette()
{
    QPalette p;
    const QColor grey(53, 53, 53);
    const QColor faint(127, 127, 127);
    p.setColor(QPalette::Window, grey);
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(42, 42, 42));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::ToolTipBase, Qt::white);
    p.setColor(QPalette::ToolTipText, grey);
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, grey);
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(42, 130, 218));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, faint);
    p.setColor(QPalette::Disabled, QPalette::Text, faint);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, faint);
    return p;
}

std::unique_ptr<QWidget> openWindow(const QString& which, vorn::ScriptedPrompter& prompter)
{
    if (which == "About")
        return std::make_unique<vorn::frmAbout>([](const vorn::ShellExecuteCall&) { return true; },
                                                vorn::appIdentity(), &prompter);
    return std::make_unique<vorn::frmBuildCalculator>(&prompter);
}

} // namespace

class tst_Contrast : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everyTextStandsOut_data();
    void everyTextStandsOut();
    void aboutKeepsBlackTextOnLightPalettes_data();
    void aboutKeepsBlackTextOnLightPalettes();

private:
    QPalette m_standard;
};

void tst_Contrast::initTestCase()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    m_standard = QApplication::style()->standardPalette();
}

void tst_Contrast::cleanup()
{
    QApplication::setPalette(m_standard);
}

void tst_Contrast::everyTextStandsOut_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPalette>("openedUnder");
    QTest::addColumn<QPalette>("checkedUnder");

    const QPalette light = m_standard;
    const QPalette dark = darkPalette();
    const QPalette whiteOnBlack(QColor(Qt::black));
    for (const char* window : {"About", "calculator"}) {
        const QString w = QString::fromLatin1(window);
        QTest::addRow("%s, Fusion's standard light palette", window) << w << light << light;
        QTest::addRow("%s, dark palette", window) << w << dark << dark;
        QTest::addRow("%s, high contrast white on black", window) << w << whiteOnBlack << whiteOnBlack;
        QTest::addRow("%s, switched from light to dark while open", window) << w << light << dark;
    }
}

void tst_Contrast::everyTextStandsOut()
{
    QFETCH(QString, window);
    QFETCH(QPalette, openedUnder);
    QFETCH(QPalette, checkedUnder);

    QApplication::setPalette(openedUnder);
    vorn::ScriptedPrompter prompter;
    const std::unique_ptr<QWidget> shown = openWindow(window, prompter);
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    QApplication::setPalette(checkedUnder);
    QCoreApplication::processEvents();

    const QList<Text> texts = visibleTexts(shown.get());
    QVERIFY(!texts.isEmpty());
    QStringList faint;
    for (const Text& t : texts) {
        const double ratio = contrast(t.ink, t.ground);
        if (ratio < 4.5)
            faint << QStringLiteral("%1 (%2 on %3, %4:1)")
                         .arg(t.name, t.ink.name(), t.ground.name())
                         .arg(ratio, 0, 'f', 2);
    }
    QVERIFY2(faint.isEmpty(), qPrintable(QStringLiteral("below 4.5:1: ") + faint.join(QStringLiteral(", "))));
}

void tst_Contrast::aboutKeepsBlackTextOnLightPalettes_data()
{
    QTest::addColumn<QPalette>("openedUnder");
    QTest::addColumn<QPalette>("checkedUnder");
    QTest::addColumn<QColor>("ink");

    QPalette greyText = m_standard;
    greyText.setColor(QPalette::WindowText, QColor(64, 64, 64));
    const QPalette dark = darkPalette();
    QTest::newRow("light palette with grey text") << greyText << greyText << QColor(Qt::black);
    QTest::newRow("dark palette") << dark << dark << QColor(Qt::white);
    QTest::newRow("switched from light to dark while open") << greyText << dark << QColor(Qt::white);
    QTest::newRow("switched from dark to light while open") << dark << greyText << QColor(Qt::black);
}

void tst_Contrast::aboutKeepsBlackTextOnLightPalettes()
{
    QFETCH(QPalette, openedUnder);
    QFETCH(QPalette, checkedUnder);
    QFETCH(QColor, ink);

    QApplication::setPalette(openedUnder);
    vorn::ScriptedPrompter prompter;
    const std::unique_ptr<QWidget> about = openWindow(QStringLiteral("About"), prompter);
    QApplication::setPalette(checkedUnder);
    QCoreApplication::processEvents();
    for (const char* name : {"lblTitle", "Label2", "lblDescription", "lblDisclaimer"}) {
        const auto* label = about->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY(label);
        QCOMPARE(label->palette().color(QPalette::WindowText), ink);
    }
}

QTEST_MAIN(tst_Contrast)
#include "tst_contrast.moc"
