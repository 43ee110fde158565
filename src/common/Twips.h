#pragma once

#include <QRect>

class QFont;

namespace vorn {

// Layouts are written in twips: 15 twips make one logical pixel with the reference font (8-point
// MS Sans Serif). With another font every position and size is multiplied by how much wider and taller
// its characters are, the way dialog units work, so that captions keep fitting. Qt itself applies the
// device pixel ratio on top.
struct TwipsScale {
    double x = 1.0;
    double y = 1.0;
};

TwipsScale twipsScale(const QFont& font);

// The rectangle's edges are rounded, not its size, so that neighbours stay flush.
QRect twipsRect(int left, int top, int width, int height, TwipsScale scale);

} // namespace vorn
