#include "common/Twips.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace vorn {
namespace {

constexpr double kTwipsPerPixel = 15.0;
// Average character width and line height of the reference font at 96 dots per inch.
constexpr double kReferenceAverageWidth = 5.5;
constexpr double kReferenceLineHeight = 13.0;

int toPixels(int twips, double factor)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel * factor));
}

} // namespace

TwipsScale twipsScale(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth = metrics.horizontalAdvance(alphabet) / alphabet.size();
    // Never smaller than the reference: a small font gets the reference layout, never a cramped one.
    return {std::max(1.0, averageWidth / kReferenceAverageWidth),
            std::max(1.0, metrics.height() / kReferenceLineHeight)};
}

QRect twipsRect(int left, int top, int width, int height, TwipsScale scale)
{
    const int x = toPixels(left, scale.x);
    const int y = toPixels(top, scale.y);
    return QRect(x, y, toPixels(left + width, scale.x) - x, toPixels(top + height, scale.y) - y);
}

} // namespace vorn
