#pragma once

#include <cstdint>
#include <span>

// The Plan Ahead window as data, for the desktop window and the page alike: its title, its controls with
// the caption that names each form row's first control (its '&' marks the access key), the names screen
// readers speak, tooltips and first texts, and the entries of its lists. Its event-length list takes the
// calculator's entries (CalculatorLayout.h).
namespace vorn::planlayout {

enum class Kind { List, TextBox, Button, Table };

struct Control {
    const char* name;
    Kind kind;
    const char* caption;    // a form row's caption naming this control, or a button's; nullptr for none
    const char* spokenName; // nullptr where the caption says it
    const char* toolTip;
    const char* text; // a box's first text
};

struct ListEntry {
    const char* list;
    const char* text;
    int32_t itemData; // the PlanGoal or PlanCoin
    const char* key;  // the value's name for the page's scripts: "totalXP"
};

inline constexpr const char* kTitle = "Plan Ahead";

// In the window's order.
std::span<const Control> controls();
std::span<const ListEntry> listEntries();

} // namespace vorn::planlayout
