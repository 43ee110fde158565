#pragma once

#include <stdexcept>

namespace vorn {

// A number left the range of the integer it has to fit in (or was NaN or infinite).
struct OverflowError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A text that was to be read as a number is not one number as a whole.
struct TypeMismatchError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace vorn
