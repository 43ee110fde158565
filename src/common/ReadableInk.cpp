#include "common/ReadableInk.h"

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableInk(const QColor& ground, const QColor& faint, const QColor& strong, double least)
{
    constexpr int kSteps = 32;
    for (int step = 0; step <= kSteps; ++step) {
        const double t = double(step) / kSteps;
        const QColor mixed = QColor::fromRgbF(float(faint.redF() + (strong.redF() - faint.redF()) * t),
                                              float(faint.greenF() + (strong.greenF() - faint.greenF()) * t),
                                              float(faint.blueF() + (strong.blueF() - faint.blueF()) * t));
        if (contrastRatio(mixed, ground) >= least)
            return mixed;
    }
    return strong;
}

} // namespace vorn
