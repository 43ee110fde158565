#include "calculator/FocusLeaveGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vorn {

FocusLeaveGuard::FocusLeaveGuard(QWidget* window, QWidget* box, QWidget* exempt, std::function<bool()> check)
    : m_window(window), m_box(box), m_exempt(exempt), m_check(std::move(check))
{
    qApp->installEventFilter(this);
}

FocusLeaveGuard::~FocusLeaveGuard()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool FocusLeaveGuard::guarding() const
{
    if (!m_window || !m_box)
        return false;
    QWidget* focus = m_window->focusWidget();
    return m_rule.holds(m_box->isEnabled(), focus == m_box, focus == m_exempt);
}

QWidget* FocusLeaveGuard::tabTarget(bool forward) const
{
    QWidget* from = m_window->focusWidget();
    QWidget* w = from;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w->window() == m_window && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            return w;
    } while (w != from);
    return nullptr;
}

// The widget a click would give the focus to, walking up from the widget under the cursor the way Qt
// does for click focus.
QWidget* FocusLeaveGuard::clickTarget(QWidget* under) const
{
    for (QWidget* w = under; w; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
            while (w->focusProxy())
                w = w->focusProxy();
            return w;
        }
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool FocusLeaveGuard::allowMoveTo(QWidget* target)
{
    using Target = FocusLeaveRule::Target;
    const Target to = !target || target == m_window->focusWidget() ? Target::Stay
                      : target == m_box                            ? Target::Box
                      : target == m_exempt                         ? Target::List
                                                                   : Target::Other;
    if (!m_rule.needsCheck(to))
        return true;
    const bool ok = m_check();
    m_rule.checked(ok);
    return ok;
}

bool FocusLeaveGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == m_box)
            m_rule.boxFocused();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (m_window && watched == m_window->windowHandle() && guarding()) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            return !allowMoveTo(clickTarget(m_window->childAt(pos)));
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && guarding() &&
            watched == m_window->focusWidget()) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            return !allowMoveTo(tabTarget(forward));
        }
        break;
    }
    case QEvent::Shortcut: {
        // A mnemonic moves the focus to its widget, or to a label's buddy. Menu commands are actions,
        // not widgets, and never move the focus.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == m_window && guarding()) {
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
                widget = label->buddy();
            return !allowMoveTo(clickTarget(widget));
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace vorn
