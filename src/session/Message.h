#pragma once

#include <string>

namespace vorn {

enum class MessageIcon { None, Information };

// A message box the user has to dismiss: its text (line breaks are CR LF) and its icon. Every box
// carries the application title and a single OK button.
struct Message {
    std::string text;
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

} // namespace vorn
