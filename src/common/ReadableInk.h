#pragma once

#include <QColor>

namespace vorn {

// WCAG 2 contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The faint colour when it stands out enough against the ground, otherwise the first colour on the way
// from it to the strong one that does: a disabled text stays visibly faint and still readable.
QColor readableInk(const QColor& ground, const QColor& faint, const QColor& strong, double least = 4.5);

} // namespace vorn
