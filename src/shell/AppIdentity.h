#pragma once

#include "shell/AppIdentityValues.h"

#include <cstdint>
#include <string>

namespace vorn {

// The application's identity: the About window shows it, and the version record and the package are
// generated from the same project() values. Nothing writes it.
struct AppIdentity {
    std::string title;
    int16_t major;
    int16_t minor;
    int16_t revision;
};

inline const AppIdentity& appIdentity()
{
    static const AppIdentity identity{identity_values::kTitle, identity_values::kMajor,
                                      identity_values::kMinor, identity_values::kRevision};
    return identity;
}

// The program's homepage, opened by the About window's "Visit Homepage" button.
inline constexpr const char* kHomepageUrl = identity_values::kHomepage;

} // namespace vorn
