#pragma once

#include "calculator/frmBuildCalculator.h"
#include "common/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWindow>

#include <string>

namespace vorn::test {

// The value labels in the order the results area shows them, next-event figures last.
inline const QStringList kValueLabels = {"lblLevel",   "lblBody",      "lblBuild",          "lblLooseXP",
                                         "lblTotalXP", "lblXPBPRatio", "lblNextEventBuild", "lblNextEventXP"};

inline constexpr const char* kTooLarge =
    "The numbers would grow too large for this calculator. Nothing was changed.";
inline constexpr const char* kBadLength = "Event Length must be a positive integer.";
inline constexpr const char* kBadSilver =
    "You entered an invalid amount of silver for training. Please correct the error and try again.";

// A calculator window whose boxes are answered from a script (unless told otherwise), shown and active, so
// that the focus, Tab and clicks behave the way they do for a user. Clicks go through the window's platform
// window, the road a real click takes, so that the focus-leave check of the event-length box sees them.
class Calculator {
public:
    // With real boxes the window shows QMessageBox and QInputDialog; someone has to close them.
    explicit Calculator(bool realBoxes = false) : window(realBoxes ? nullptr : &prompter)
    {
        window.show();
        active = QTest::qWaitForWindowActive(&window);
    }

    template <typename T = QWidget> T* get(const QString& name) const
    {
        T* w = window.findChild<T*>(name);
        if (!w)
            qFatal("the calculator has no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return w;
    }

    QString text(const QString& name) const
    {
        QObject* o = get<QWidget>(name);
        if (auto* label = qobject_cast<QLabel*>(o))
            return label->text();
        if (auto* box = qobject_cast<QLineEdit*>(o))
            return box->text();
        if (auto* button = qobject_cast<QAbstractButton*>(o))
            return button->text();
        return {};
    }

    // What the eight value labels show, to compare before and after an action.
    QStringList labels() const
    {
        QStringList texts;
        for (const QString& name : kValueLabels)
            texts << text(name);
        return texts;
    }

    void click(const QString& name)
    {
        QWidget* w = get(name);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, w->mapTo(&window, w->rect().center()));
    }

    // A key pressed where the keyboard focus is, through the shortcut map like a real key press.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &window, k, modifiers);
    }

    QString focusName() const
    {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("(none)");
    }

    bool wholeTextSelected(const QString& name) const
    {
        auto* box = get<QLineEdit>(name);
        return box->selectedText() == box->text() && (box->text().isEmpty() || box->selectionStart() == 0);
    }

    // Replaces the text of a box by typing, as a user who selected the old text would.
    void type(const QString& name, const QString& typed)
    {
        auto* box = get<QLineEdit>(name);
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, typed);
    }

    void setStart(const QString& build, const QString& looseXP)
    {
        type("txtStartingBuild", build);
        type("txtStartingLooseXP", looseXP);
        click("cmdSetStartingBuild");
    }

    void selectLength(const QString& entry)
    {
        auto* list = get<QComboBox>("cboEventLength");
        list->setCurrentIndex(list->findText(entry));
    }

    // "<manual input>" with a typed length; the focus is left in the box.
    void typeLength(const QString& typed)
    {
        selectLength("<manual input>");
        type("txtEventLength", typed);
    }

    // The text of every message box shown so far (input boxes left out).
    QStringList messages() const
    {
        QStringList texts;
        for (const std::string& m : prompter.messages())
            texts << QString::fromStdString(m);
        return texts;
    }

    static void closePopups()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    ScriptedPrompter prompter;
    frmBuildCalculator window;
    bool active = false;
};

} // namespace vorn::test
