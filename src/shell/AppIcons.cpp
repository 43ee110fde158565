#include "shell/AppIcons.h"

namespace vorn {

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vorn-build-calculator-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/vorn-build-calculator-16.png"), QSize(16, 16));
    return icon;
}

QPixmap aboutPicture()
{
    return QPixmap(QStringLiteral(":/icons/about.png"));
}

} // namespace vorn
