#include "calculator/SpokenNews.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>

namespace vorn {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
namespace {

const QString kStatusBar = QStringLiteral("staNews");
const QString kNotification = QStringLiteral("ntfNews");

// A plain QWidget is a filler to a screen reader; these two are what their names say.
QAccessibleInterface* spokenOfAsNews(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QLatin1String("QWidget") || !widget)
        return nullptr;
    if (widget->objectName() == kStatusBar)
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    if (widget->objectName() == kNotification)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

// A widget that takes no room, no clicks and no focus, and paints nothing.
QWidget* unseen(QWidget* parent, const QString& name)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(name);
    widget->setGeometry(0, 0, 1, 1);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

} // namespace
#endif

SpokenNews::SpokenNews(QWidget* window) : QObject(window), m_window(window)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Before either widget is made: a screen reader keeps what it was told of a widget first.
    static const bool installed = (QAccessible::installFactory(&spokenOfAsNews), true);
    (void)installed;
    m_notification = unseen(unseen(window, kStatusBar), kNotification);
    m_notification->hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget*) { focusMoved(from); });
#endif
}

void SpokenNews::tell(const QString& news)
{
    if (news == m_last)
        return;
    m_last = news;
    if (!m_window->isVisible())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(m_window, news);
    QAccessible::updateAccessibility(&event);
#else
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        // Shown again with the news as its name: Orca reads a notification out as it is shown.
        m_notification->hide();
        m_notification->setAccessibleName(news);
        m_notification->show();
        return;
    }
    if (focus != m_told) {
        restore();
        m_told = focus;
        m_toldWas = focus->accessibleDescription();
    }
    // Sends DescriptionChanged itself; a second one would have the news read out twice.
    focus->setAccessibleDescription(news);
#endif
}

void SpokenNews::focusMoved(QWidget* from)
{
    if (from && from == m_told)
        restore();
}

void SpokenNews::restore()
{
    if (m_told)
        m_told->setAccessibleDescription(m_toldWas);
    m_told = nullptr;
}

} // namespace vorn
