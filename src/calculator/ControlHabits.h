#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace vorn {

class UndoOrder;

// How the calculator's controls answer the keyboard, the mouse wheel and the focus, where Qt's own ways
// differ from what players of the calculator expect:
// - a list changes with the wheel only once it has the focus;
// - Enter and the keypad's Enter press the button that has the focus, as Space does;
// - the window's shortcuts (Ctrl+A, Ctrl+R) come before a text box's own, but for undo while the box
//   has typing to undo, and for redo while typing is what Redo brings back next (`UndoOrder`);
// - the number boxes select their whole text when the focus comes from another control, never when it
//   only comes back with the window or from a closed menu; the typed-in box (the event length) never
//   selects on its own.
class ControlHabits : public QObject {
public:
    ControlHabits(QWidget* window, QLineEdit* typedBox, UndoOrder* undoOrder);

    // Lists, buttons and text boxes of the window.
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool boxTakesFocus(QLineEdit* box, Qt::FocusReason reason);
    bool isWindowShortcut(QEvent* event) const;
    bool takesUndoKey(const QLineEdit* box, QEvent* event) const;
    bool undoOrRedoTyping(QLineEdit* box, QKeyEvent* event);

    QPointer<QWidget> m_window;
    QPointer<QLineEdit> m_typedBox;
    UndoOrder* m_undoOrder;
};

} // namespace vorn
