#pragma once

#include "session/FocusLeaveRule.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace vorn {

// The focus-leave rule of the event-length box (FocusLeaveRule) in Qt's terms: runs the check when the
// keyboard focus is about to leave the box for another control of its window, and cancels the move (and
// the click or key that caused it) when the check fails. Qt's focus-out event comes too late to cancel
// anything, so the guard watches the causes instead: a mouse press at the top-level window, Tab and
// Shift+Tab, and widget shortcuts. The exempt control is the rule's list.
class FocusLeaveGuard : public QObject {
public:
    // `check` returns true when the focus may go; when it fails it has told the user and put the focus
    // back into the box itself.
    FocusLeaveGuard(QWidget* window, QWidget* box, QWidget* exempt, std::function<bool()> check);
    ~FocusLeaveGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool guarding() const;
    QWidget* tabTarget(bool forward) const;
    QWidget* clickTarget(QWidget* under) const;
    // True when the move may happen; false when it must be swallowed.
    bool allowMoveTo(QWidget* target);

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_box;
    QPointer<QWidget> m_exempt;
    std::function<bool()> m_check;
    FocusLeaveRule m_rule;
};

} // namespace vorn
