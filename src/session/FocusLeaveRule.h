#pragma once

namespace vorn {

// When the keyboard focus is about to leave the event-length box for another control of the window, the
// typed length is checked, and a refused length keeps the focus in the box. A move onto the event-length
// list goes unchecked, so that the user can pick a listed length instead of mending the typed one; the
// next move from the list is then checked as if it left the box. Both front ends follow this rule, each
// with its own mechanics of the focus.
class FocusLeaveRule {
public:
    // Where a move would take the focus. Stay: nowhere, or where it already is.
    enum class Target { Stay, Box, List, Other };

    // Whether a move of the focus from where it is now answers to the rule. A move while a check runs
    // (its message box takes the focus) does not.
    bool holds(bool boxEnabled, bool focusInBox, bool focusOnList) const
    {
        return boxEnabled && !m_checking && (focusInBox || (m_deferred && focusOnList));
    }

    // True when the move needs the length checked: the front end checks it, then reports with checked().
    bool needsCheck(Target target)
    {
        if (target == Target::List)
            m_deferred = true;
        m_checking = target == Target::Other;
        return m_checking;
    }
    void checked(bool accepted)
    {
        m_checking = false;
        if (accepted)
            m_deferred = false;
    }
    // The focus came back into the box: a check put off by a move onto the list is no longer due.
    void boxFocused() { m_deferred = false; }

private:
    bool m_deferred = false;
    bool m_checking = false;
};

} // namespace vorn
