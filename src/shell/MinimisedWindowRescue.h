#pragma once

#include <QObject>

class QWidget;

namespace vorn {

// Keeps a window without a task-bar entry from being lost while minimised. Such a window comes back only
// through the program's own command for it, and once the program's other windows have closed there is
// none: the user would see nothing while the program runs on. So whenever the window is minimised with
// no other window of the program left to reach, or the last such window closes while it is minimised,
// it is restored. Made a child of the window it looks after.
class MinimisedWindowRescue : public QObject {
public:
    explicit MinimisedWindowRescue(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchOtherWindows(bool watch);
    void restoreIfAlone();

    QWidget* m_window;
    bool m_watchingOthers = false;
};

} // namespace vorn
