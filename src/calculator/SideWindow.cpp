#include "calculator/SideWindow.h"

#include "common/ScreenFit.h"

#include <QAction>
#include <QKeyEvent>

namespace vorn {

SideWindow::SideWindow(QWidget* calculator) : QWidget(calculator, Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void SideWindow::shareCommands(const QList<QAction*>& commands)
{
    addActions(commands);
}

void SideWindow::openAt(QSize preferred)
{
    sizeWithinScreen(this, preferred.expandedTo(sizeHint()));
}

void SideWindow::keyPressEvent(QKeyEvent* event)
{
    // Only an Esc that no control took for itself (a list's open popup closes first).
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SideWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Closed, not minimised: the keyboard goes back to where the user was working before.
    QWidget* calculator = parentWidget();
    if (!event->spontaneous() && calculator && calculator->isVisible())
        calculator->activateWindow();
}

} // namespace vorn
