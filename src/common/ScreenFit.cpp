#include "common/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace vorn {
namespace {

// The least border allowed for before a window is framed: window systems draw from one to eight pixels.
constexpr int kLeastBorder = 4;
// Room above and below the title text in the title-bar allowance.
constexpr int kTitlePadding = 8;

const QScreen* screenFor(const QRect& frame, const QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::screenAt(frame.center()))
        return screen;
    return window->screen();
}

void moveFrameTo(QWidget* window, const QRect& frame, const QMargins& margins)
{
    // The client area's place, not the frame's: a window that is not framed yet can only be placed that
    // way without the window system adding the margins a second time.
    window->setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), window->size()));
}

bool onScreen(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle && handle->isExposed();
}

// Runs an action once, when the window is first on screen: by then the window system has placed it and
// framed it, so its real title bar and borders are known. Waits for the window to be shown, then for its
// first expose.
class OnceOnScreen : public QObject {
public:
    OnceOnScreen(QWidget* window, std::function<void()> action)
        : QObject(window), m_window(window), m_action(std::move(action))
    {
        if (window->windowHandle())
            window->windowHandle()->installEventFilter(this);
        else
            window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            // The native window exists from the show on.
            m_window->removeEventFilter(this);
            m_window->windowHandle()->installEventFilter(this);
        } else if (watched != m_window && event->type() == QEvent::Expose && onScreen(m_window)) {
            watched->removeEventFilter(this);
            // Not inside the expose itself, which the window is still busy with.
            QTimer::singleShot(0, m_window, m_action);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_action;
};

// Keeps a window on the available area as it grows: see keepOnScreenAsItGrows.
class KeptOnScreen : public QObject {
public:
    explicit KeptOnScreen(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Resize && m_window->isVisible()) {
            const auto* resize = static_cast<QResizeEvent*>(event);
            if (resize->size().width() > resize->oldSize().width() ||
                resize->size().height() > resize->oldSize().height())
                keepOnScreen(m_window);
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

QRect fitOnScreen(const QRect& frame, const QRect& available)
{
    QRect fitted = frame;
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    // Last, so that where the frame cannot fit its top-left corner wins.
    if (fitted.left() < available.left())
        fitted.moveLeft(available.left());
    if (fitted.top() < available.top())
        fitted.moveTop(available.top());
    return fitted;
}

QSize fitWithin(QSize wanted, const QMargins& frame, const QRect& available)
{
    const QSize room = available.marginsRemoved(frame).size();
    return wanted.boundedTo(room.expandedTo(QSize(1, 1)));
}

QRect besideFrame(const QRect& other, QSize frame, const QRect& available, int cascade)
{
    const QRect candidates[] = {
        QRect(QPoint(other.right() + 1, other.top()), frame),
        QRect(QPoint(other.left() - frame.width(), other.top()), frame),
        QRect(QPoint(other.left(), other.bottom() + 1), frame),
    };
    for (const QRect& candidate : candidates) {
        // Sliding up or sideways along the other window's edge is fine, sliding over it is not.
        const QRect fitted = fitOnScreen(candidate, available);
        if (available.contains(fitted) && !fitted.intersects(other))
            return fitted;
    }
    return fitOnScreen(QRect(other.topLeft() + QPoint(cascade, cascade), frame), available);
}

QMargins expectedFrameMargins(const QWidget* window)
{
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QRect client = window->geometry();
        const QMargins known(client.left() - frame.left(), client.top() - frame.top(),
                             frame.right() - client.right(), frame.bottom() - client.bottom());
        if (!known.isNull())
            return known;
    }
    const QStyle* style = window->style();
    QStyleOptionTitleBar option;
    option.initFrom(window);
    option.titleBarFlags = window->windowFlags();
    const QFontMetrics titleFont(QApplication::font("QMdiSubWindowTitleBar"));
    const int title = std::max(style->pixelMetric(QStyle::PM_TitleBarHeight, &option, window),
                               titleFont.height() + kTitlePadding);
    const int border =
        std::max(style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, &option, window), kLeastBorder);
    return QMargins(border, border + title, border, border);
}

void placeOnScreen(QWidget* window, QPoint clientTopLeft)
{
    const QMargins margins = expectedFrameMargins(window);
    const QRect frame = QRect(clientTopLeft, window->size()).marginsAdded(margins);
    moveFrameTo(window, fitOnScreen(frame, screenFor(frame, window)->availableGeometry()), margins);
    // Placed with the frame allowance; once on screen, again with the real frame.
    if (!onScreen(window))
        new OnceOnScreen(window, [window, clientTopLeft] { placeOnScreen(window, clientTopLeft); });
}

void sizeWithinScreen(QWidget* window, QSize wanted)
{
    const QMargins margins = expectedFrameMargins(window);
    const QRect available = window->screen()->availableGeometry();
    window->setMinimumSize(fitWithin(window->minimumSizeHint(), margins, available));
    window->resize(fitWithin(wanted, margins, available));
}

void keepOnScreen(QWidget* window)
{
    const QMargins margins = expectedFrameMargins(window);
    const QRect frame = window->geometry().marginsAdded(margins);
    const QRect fitted = fitOnScreen(frame, screenFor(frame, window)->availableGeometry());
    if (fitted != frame)
        moveFrameTo(window, fitted, margins);
}

void centreOver(QWidget* box, const QWidget* window)
{
    const QMargins margins = expectedFrameMargins(box);
    QRect client(QPoint(), box->size());
    client.moveCenter(window->geometry().center());
    const QRect frame = client.marginsAdded(margins);
    moveFrameTo(box, fitOnScreen(frame, screenFor(frame, window)->availableGeometry()), margins);
}

void keepOnScreenAsItGrows(QWidget* window)
{
    new KeptOnScreen(window);
}

void keepOnScreenOnceShown(QWidget* window, std::function<void()> then)
{
    const auto keep = [window, then = std::move(then)] {
        keepOnScreen(window);
        if (then)
            QTimer::singleShot(0, window, then);
    };
    if (onScreen(window))
        keep();
    else
        new OnceOnScreen(window, keep);
}

} // namespace vorn
