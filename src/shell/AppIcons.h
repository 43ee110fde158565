#pragma once

#include <QIcon>
#include <QPixmap>

namespace vorn {

// The program's icon: the shield, 32 x 32 and 16 x 16. Every window without an icon of its own shows it.
QIcon programIcon();

// The About window's picture, 38 x 32 in 24-bit colour; it is also that window's icon.
QPixmap aboutPicture();

} // namespace vorn
