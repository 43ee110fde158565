#include "shell/MinimisedWindowRescue.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vorn {
namespace {

// A visible window the user can get back to: one with a task-bar entry, even when minimised there, or a
// dialog, which sits over its owner. Tool windows and pop-ups have no entry of their own.
bool withinReach(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return window->isVisible() && (type == Qt::Window || type == Qt::Dialog);
}

} // namespace

MinimisedWindowRescue::MinimisedWindowRescue(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

bool MinimisedWindowRescue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange) {
        // Other windows matter only while this one is minimised.
        watchOtherWindows(m_window->isMinimized());
        if (m_window->isMinimized())
            QTimer::singleShot(0, this, &MinimisedWindowRescue::restoreIfAlone);
    } else if (watched != m_window && event->type() == QEvent::Hide) {
        if (const auto* widget = qobject_cast<const QWidget*>(watched); widget && widget->isWindow())
            QTimer::singleShot(0, this, &MinimisedWindowRescue::restoreIfAlone);
    }
    return false;
}

void MinimisedWindowRescue::watchOtherWindows(bool watch)
{
    if (watch == m_watchingOthers)
        return;
    m_watchingOthers = watch;
    // Every event of the program passes an application filter, which is why it is there only meanwhile.
    if (watch)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void MinimisedWindowRescue::restoreIfAlone()
{
    if (!m_window->isVisible() || !m_window->isMinimized())
        return;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != m_window && withinReach(other))
            return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace vorn
