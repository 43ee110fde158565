#include "calculator/SideWindow.h"

#include "common/ScreenFit.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSettings>

namespace vorn {
namespace {

// Qt speaks of a plain QWidget as a client area, which screen readers call a filler, even where it is a
// window of its own; a window beside the calculator is a window to them, named by its title.
QAccessibleInterface* spokenOfAsAWindow(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("QWidget") || !widget || widget->windowType() != Qt::Window)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

// Before the first side window's QWidget is built: a screen reader may ask about it from then on, and
// keeps what it was told first.
QWidget* spokenOfAsWindows(QWidget* calculator)
{
    static const bool installed = (QAccessible::installFactory(&spokenOfAsAWindow), true);
    (void)installed;
    return calculator;
}

} // namespace

SideWindow::SideWindow(QWidget* calculator) : QWidget(spokenOfAsWindows(calculator), Qt::Window)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

SideWindow::~SideWindow()
{
    // Still open when the calculator closes: the next run opens it here again.
    if (isVisible())
        rememberPlace();
}

void SideWindow::shareCommands(const QList<QAction*>& commands)
{
    addActions(commands);
}

void SideWindow::openAt(QSize preferred)
{
    sizeWithinScreen(this, preferred.expandedTo(sizeHint()));
}

void SideWindow::showBeside()
{
    if (!m_placed && !restorePlace()) {
        const QMargins margins = expectedFrameMargins(this);
        const QWidget* calculator = parentWidget();
        const QRect frame = besideFrame(calculator->frameGeometry(), size().grownBy(margins),
                                        calculator->screen()->availableGeometry(), margins.top());
        placeOnScreen(this, frame.topLeft() + QPoint(margins.left(), margins.top()));
    }
    m_placed = true;
    show();
}

QString SideWindow::settingsKey(const char* what) const
{
    return objectName() + QLatin1Char('/') + QLatin1String(what);
}

// A screen unplugged or made smaller since: the window would open partly out of reach, so the saved
// place counts for nothing. The frame is kept rather than the client area, so that a window as large as
// the screen is not turned away for want of a frame allowance.
bool SideWindow::restorePlace()
{
    const QSettings settings;
    const QRect frame = settings.value(settingsKey("frame")).toRect();
    const QSize size = settings.value(settingsKey("size")).toSize();
    if (!frame.isValid() || !size.isValid())
        return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(frame)) {
            resize(size);
            // A window's place is its frame's, as saved.
            move(frame.topLeft());
            keepOnScreenOnceShown(this);
            return true;
        }
    }
    return false;
}

void SideWindow::rememberPlace() const
{
    QSettings settings;
    settings.setValue(settingsKey("frame"), frameGeometry());
    settings.setValue(settingsKey("size"), size());
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
    if (!event->spontaneous())
        rememberPlace();
    // Closed, not minimised: the keyboard goes back to where the user was working before.
    QWidget* calculator = parentWidget();
    if (!event->spontaneous() && calculator && calculator->isVisible())
        calculator->activateWindow();
}

} // namespace vorn
