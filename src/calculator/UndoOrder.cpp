#include "calculator/UndoOrder.h"

#include <QLineEdit>

namespace vorn {

UndoOrder::UndoOrder(std::function<bool()> stepCanBeRedone) : m_stepCanBeRedone(std::move(stepCanBeRedone)) {}

void UndoOrder::typingUndone(QLineEdit* box)
{
    m_undone.push_back({false, box});
}

void UndoOrder::stepUndone()
{
    m_undone.push_back({true, nullptr});
}

std::optional<QLineEdit*> UndoOrder::next()
{
    // A new step leaves no step to redo, and new typing none of the box's: whatever was undone before
    // them is gone for good.
    if (!m_stepCanBeRedone())
        std::erase_if(m_undone, [](const Undone& u) { return u.step; });
    // A box the user can't type in (the event-length box while a list entry gives the length) shows
    // the entry's figure, not its old typing, so that typing is not brought back either.
    while (!m_undone.empty() && !m_undone.back().step &&
           (!m_undone.back().box || !m_undone.back().box->isEnabled() ||
            !m_undone.back().box->isRedoAvailable()))
        m_undone.pop_back();
    if (m_undone.empty())
        return std::nullopt;
    return m_undone.back().step ? nullptr : m_undone.back().box.data();
}

void UndoOrder::redone()
{
    if (!m_undone.empty())
        m_undone.pop_back();
}

} // namespace vorn
