#include "shell/RegionalFormat.h"

#include <QLocale>

namespace vorn {

NumberFormat numberFormatOf(const QLocale& locale)
{
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace vorn
