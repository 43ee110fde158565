#pragma once

class QLineEdit;

namespace vorn {

// Line breaks pasted or typed into a one-line box are taken out as they arrive (CR, LF and the Unicode
// line and paragraph separators): a one-line box would show them as nothing or as a blank, so the text
// would hold characters the user cannot see. The cursor stays just after what the user put in. Works
// through the box's validator, so that the box reports only the cleaned text as changed; a validator the
// box already has goes on checking the cleaned text.
void stripLineBreaksWhileEditing(QLineEdit* box);

} // namespace vorn
