#pragma once

#include <cstdint>
#include <span>

// The calculator window as data: every frame and control with its name, kind, rectangle in twips
// (frames relative to the client area, controls relative to their frame's outer edge), tab index,
// caption or initial text and tooltip. The window builds itself from these rows.
namespace vorn::layout {

enum class Kind { Frame, Label, ValueLabel, TextBox, List, CheckBox, Button };

enum Flag : unsigned {
    None = 0,
    Disabled = 1u << 0,
    Checked = 1u << 1,
    RightAligned = 1u << 2,
};

struct Control {
    const char* name;
    Kind kind;
    const char* frame; // nullptr for the frames themselves
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    const char* text;
    const char* toolTip;
    unsigned flags;
};

struct ListEntry {
    const char* list;
    const char* text;
    int32_t itemData;
};

// What a screen reader announces for the boxes and lists, whose visible captions are separate labels;
// the caption label names its control as its buddy too (some platforms read only that). The captions
// carry no access key, so the buddies add no shortcut that could move the focus.
struct SpokenName {
    const char* control;
    const char* name;
    const char* captionLabel; // nullptr when no label captions the control alone
};

struct Size {
    int width;
    int height;
};

// The client area below the menu bar.
inline constexpr Size kClientArea{5085, 5205};

std::span<const Control> controls();
std::span<const ListEntry> listEntries();
std::span<const SpokenName> spokenNames();

} // namespace vorn::layout
