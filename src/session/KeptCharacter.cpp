#include "session/KeptCharacter.h"

#include <algorithm>

namespace vorn {

std::size_t KeptCharacter::firstChanged(std::span<const Step> steps) const
{
    // Steps change mostly at the end (a step added, undone, redone); a note edited changes one anywhere.
    // Comparing steps is cheap beside writing them: it costs a keeping of 100,000 steps well under a
    // frame.
    const std::size_t common = std::min(steps.size(), m_steps.size());
    std::size_t i = 0;
    while (i < common && steps[i] == m_steps[i])
        ++i;
    return i;
}

KeptChange KeptCharacter::change(const CharacterState& choices, std::span<const Step> steps, bool all)
{
    constexpr std::size_t perBlock = KeptChange::kStepsPerBlock;
    KeptChange change;
    CharacterFileFrame frame = characterFileFrame(choices, steps);
    const bool known = m_known && !all;
    const std::size_t from = known ? firstChanged(steps) : 0;
    change.blockCount = (steps.size() + perBlock - 1) / perBlock;
    change.unchanged = known && from == steps.size() && from == m_steps.size() && frame.head == m_head &&
                       frame.tail == m_tail;
    change.firstBlock = from / perBlock;
    for (std::size_t block = change.firstBlock; block < change.blockCount; ++block) {
        std::string text;
        const std::size_t end = std::min(steps.size(), (block + 1) * perBlock);
        for (std::size_t i = block * perBlock; i < end; ++i) {
            // Each block but the first opens with the separator after the block before it, so that the
            // storage's reader makes the file by putting the parts together as they come.
            if (i != 0)
                text += kCharacterFileStepSeparator;
            addCharacterFileStep(text, steps[i]);
        }
        change.blocks.push_back(std::move(text));
    }
    m_pendingFrom = from;
    m_pendingSteps.assign(steps.begin() + static_cast<std::ptrdiff_t>(from), steps.end());
    m_pendingHead = frame.head;
    m_pendingTail = frame.tail;
    change.head = std::move(frame.head);
    change.tail = std::move(frame.tail);
    return change;
}

void KeptCharacter::written()
{
    m_steps.resize(std::min(m_pendingFrom, m_steps.size()));
    m_steps.insert(m_steps.end(), m_pendingSteps.begin(), m_pendingSteps.end());
    m_head = m_pendingHead;
    m_tail = m_pendingTail;
    m_known = true;
}

void KeptCharacter::took(const CharacterState& state)
{
    CharacterFileFrame frame = characterFileFrame(state, state.steps);
    m_steps = state.steps;
    m_head = std::move(frame.head);
    m_tail = std::move(frame.tail);
    m_known = true;
}

void KeptCharacter::forget()
{
    m_known = false;
    m_steps.clear();
}

bool KeptCharacter::holds(const CharacterState& choices, std::span<const Step> steps) const
{
    if (!m_known || steps.size() != m_steps.size() || firstChanged(steps) != steps.size())
        return false;
    const CharacterFileFrame frame = characterFileFrame(choices, steps);
    return frame.head == m_head && frame.tail == m_tail;
}

} // namespace vorn
