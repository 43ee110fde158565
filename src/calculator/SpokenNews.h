#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace vorn {

// Tells a screen reader what an action did, as the page's live region does: "Build 34, Level 2, Loose XP
// 2" once the results have changed. Qt 6.8 has announcements for this. Before it, on Linux, Orca hears
// no text change of a control without the focus, so the news becomes the accessible description of the
// focused control, which Orca reads out when it changes; the control gets its own description back once
// the focus leaves it. With no control focused, the news goes to a notification inside a status bar,
// which Orca reads out as it is shown. Both lie in the window, one pixel large and drawing nothing.
class SpokenNews : public QObject {
public:
    explicit SpokenNews(QWidget* window);

    // Says `news` unless it is what was said last. Before the window is shown there is nobody to hear
    // it, and it is only remembered.
    void tell(const QString& news);

private:
    void focusMoved(QWidget* from);
    // The focused control's own description back, if it has the news as its description.
    void restore();

    QWidget* m_window;
    QString m_last;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QWidget* m_notification = nullptr;
#endif
    QPointer<QWidget> m_told; // the control whose description is the news
    QString m_toldWas;        // and its own description
};

} // namespace vorn
