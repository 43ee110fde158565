#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// The application's identity, in one place: the About window shows it and the version record agrees
// with it. Nothing writes it.
struct AppIdentity {
    std::string title;
    int16_t major;
    int16_t minor;
    int16_t revision;
};

inline const AppIdentity& appIdentity()
{
    static const AppIdentity identity{"VORN Build Calculator", 1, 0, 6};
    return identity;
}

// The program's homepage, opened by the About window's "Visit Homepage" button.
inline constexpr const char* kHomepageUrl = "https://github.com/vorn-build-calculator/vorn-build-calculator";

} // namespace vorn
