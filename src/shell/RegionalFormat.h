#pragma once

#include "rules/Conversions.h"

class QLocale;

namespace vorn {

// The decimal and group separators of a locale, in UTF-8, for the number conversions. Read once from
// the user's locale at start-up: a separator such as the narrow no-break space stays one character.
NumberFormat numberFormatOf(const QLocale& locale);

} // namespace vorn
