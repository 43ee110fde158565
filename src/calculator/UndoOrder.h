#pragma once

#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class QLineEdit;

namespace vorn {

// Ctrl+Z takes back a box's typing before the character's steps; this keeps the order in which typing and
// steps were taken back, across the calculator and its side windows, so that Redo brings them back in
// the reverse order, as one list of undone changes.
class UndoOrder {
public:
    // Whether the character has an undone step that Redo can bring back.
    explicit UndoOrder(std::function<bool()> stepCanBeRedone);

    void typingUndone(QLineEdit* box);
    void stepUndone();

    // What Redo brings back next: a box's typing, or (nullptr) the character's step; nothing when no
    // undone change is kept. Changes that can no longer be redone (new typing, a new step, a box gone) are
    // dropped first.
    std::optional<QLineEdit*> next();
    // Redo brought back what next() named.
    void redone();

private:
    struct Undone {
        bool step = false;
        QPointer<QLineEdit> box;
    };

    std::function<bool()> m_stepCanBeRedone;
    std::vector<Undone> m_undone; // the last taken back last
};

} // namespace vorn
