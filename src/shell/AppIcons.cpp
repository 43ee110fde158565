#include "shell/AppIcons.h"

// The window's icons are compiled in as XPM, which Qt reads without its image-format plugins: reading a
// PNG at start-up would first look through every installed plugin, before any window is on screen.
#include "icons/vorn-build-calculator-16.xpm"
#include "icons/vorn-build-calculator-32.xpm"

namespace vorn {

QIcon programIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap(vorn_build_calculator_32));
    icon.addPixmap(QPixmap(vorn_build_calculator_16));
    return icon;
}

QPixmap aboutPicture()
{
    return QPixmap(QStringLiteral(":/icons/about.png"));
}

} // namespace vorn
