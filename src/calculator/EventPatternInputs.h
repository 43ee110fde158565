#pragma once

#include <cstdint>

class QComboBox;
class QLineEdit;

// The event's length and training coin as Plan Ahead and Record Event ask for them: a list with a box
// beside it that the list's choice fills or opens for typing.
namespace vorn {

// The chosen entry's data; 0 while nothing is chosen.
int32_t selectedData(const QComboBox* list);

// The calculator's own event-length entries, manual input included.
void addEventLengths(QComboBox* list);

// A fixed entry shows its length in the box, as the calculator's list does; manual input lets the user
// type one.
void followLengthChoice(const QComboBox* list, QLineEdit* days);

// The silver box takes input only while the coin chosen is silver for training.
void followCoinChoice(const QComboBox* list, QLineEdit* silver);

} // namespace vorn
