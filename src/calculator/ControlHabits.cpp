#include "calculator/ControlHabits.h"

#include "calculator/UndoOrder.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vorn {

namespace {

enum class UndoKey { None, Undo, Redo };

UndoKey undoKey(QEvent* event)
{
    const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
    if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_Z))
        return UndoKey::Undo;
    if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
        pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z))
        return UndoKey::Redo;
    return UndoKey::None;
}

} // namespace

ControlHabits::ControlHabits(QWidget* window, QLineEdit* typedBox, UndoOrder* undoOrder)
    : QObject(window), m_window(window), m_typedBox(typedBox), m_undoOrder(undoOrder)
{
}

void ControlHabits::watch(QWidget* control)
{
    control->installEventFilter(this);
}

bool ControlHabits::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* list = qobject_cast<QComboBox*>(watched)) {
        // The wheel passing over a list must not change the class or the length behind the user's back,
        // nor slip past the event-length check.
        if (event->type() == QEvent::Wheel && !list->hasFocus()) {
            event->ignore();
            return true;
        }
    } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            // One press, one click: a held Enter must not record event after event.
            if (enter && !(key->modifiers() & ~Qt::KeypadModifier)) {
                if (key->isAutoRepeat())
                    return true;
                button->click();
                return true;
            }
        }
    } else if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::ShortcutOverride && isWindowShortcut(event) &&
            !takesUndoKey(box, event)) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && undoOrRedoTyping(box, static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusIn)
            return boxTakesFocus(box, static_cast<QFocusEvent*>(event)->reason());
    }
    return false;
}

// A text box claims Ctrl+A for select-all through ShortcutOverride; the window's own shortcuts come first.
bool ControlHabits::isWindowShortcut(QEvent* event) const
{
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : m_window->actions())
        if (action->shortcuts().contains(pressed))
            return true;
    return false;
}

// While a box has typing to undo, its Ctrl+Z is its own, as in any editor; once the typing is used up it
// undoes the character's steps. Ctrl+Y brings back whatever was undone last, typing or step.
bool ControlHabits::takesUndoKey(const QLineEdit* box, QEvent* event) const
{
    switch (undoKey(event)) {
    case UndoKey::Undo:
        return box->isUndoAvailable();
    case UndoKey::Redo:
        if (const std::optional<QLineEdit*> next = m_undoOrder->next())
            return *next != nullptr;
        return box->isRedoAvailable();
    case UndoKey::None:
        break;
    }
    return false;
}

// The box's own undo and redo, kept in the order the character's steps share with them.
bool ControlHabits::undoOrRedoTyping(QLineEdit* box, QKeyEvent* event)
{
    switch (undoKey(event)) {
    case UndoKey::Undo:
        if (!box->isUndoAvailable())
            return false;
        box->undo();
        m_undoOrder->typingUndone(box);
        return true;
    case UndoKey::Redo:
        if (const std::optional<QLineEdit*> next = m_undoOrder->next(); next && *next) {
            (*next)->redo();
            m_undoOrder->redone();
            return true;
        }
        return false;
    case UndoKey::None:
        break;
    }
    return false;
}

bool ControlHabits::boxTakesFocus(QLineEdit* box, Qt::FocusReason reason)
{
    const bool byKey =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    if (box == m_typedBox) {
        if (!byKey)
            return false;
        // Qt's line edit selects all by itself for these reasons; this box gets the focus without one.
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(box, &plain);
        return true;
    }
    // OtherFocusReason is the program's own move, after a message about this box.
    if (byKey || reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason) {
        box->selectAll();
        // A click's press places the cursor after the focus has arrived.
        if (reason == Qt::MouseFocusReason)
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return false;
}

} // namespace vorn
