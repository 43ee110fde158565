#pragma once

#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace vorn {

// What to write so that a storage of the character file in parts (CharacterFile.h) holds the character:
// its frame, and the steps in blocks of kStepsPerBlock from the block of the first step that changed.
// The storage holds the file as the frame's head, the blocks and the tail, one after another, and drops
// blocks from `blockCount` on.
struct KeptChange {
    static constexpr std::size_t kStepsPerBlock = 256;

    std::string head;
    std::string tail;
    std::size_t firstBlock = 0;
    std::vector<std::string> blocks; // blocks firstBlock, firstBlock + 1, ... to the last
    std::size_t blockCount = 0;
    bool unchanged = false; // nothing to write: the storage holds the character as it stands
};

// What of a character the browser's storage holds, as this page last wrote it or took it from there: a
// keeping writes only what differs, so that it costs the same for ten steps and a hundred thousand.
class KeptCharacter {
public:
    // What to write: all of it when `all` (the storage may hold another page's character) or when
    // nothing is held yet. `steps` are the steps in effect.
    KeptChange change(const CharacterState& choices, std::span<const Step> steps, bool all);
    // The storage now holds what the last change() gave.
    void written();
    // The storage holds this character, as it was taken from there.
    void took(const CharacterState& state);
    // Nothing is known of what the storage holds: the next change() writes it all.
    void forget();
    bool holds(const CharacterState& choices, std::span<const Step> steps) const;

private:
    std::size_t firstChanged(std::span<const Step> steps) const;

    bool m_known = false;
    std::vector<Step> m_steps;
    std::string m_head;
    std::string m_tail;
    // What the last change() would write, until written().
    std::size_t m_pendingFrom = 0;
    std::vector<Step> m_pendingSteps;
    std::string m_pendingHead;
    std::string m_pendingTail;
};

} // namespace vorn
