#pragma once

#include <QString>
#include <qwindowdefs.h>

#include <concepts>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

namespace vorn {

// One request to the system shell to open an address with its default action (a web address opens
// in the user's browser). The fields are the shell's own arguments, in its order; null texts stay null.
struct ShellExecuteCall {
    WId window = 0;
    const char* operation = nullptr;
    QString file;
    const char* parameters = nullptr;
    QString directory;
    int showCommand = 0;
};

class HomepageOpener;

// Any function or lambda that takes the call, whether it answers or not.
template <typename Open>
concept OpensHomepage = !std::same_as<Open, HomepageOpener> && std::invocable<Open&, const ShellExecuteCall&>;

// What opens the homepage for the About window, which is given it so that tests can see what it asks
// for instead of opening a browser. It answers whether the address was handed to a browser; when not,
// the About window gives the user the address to type in. An opener that answers nothing (returns void)
// cannot tell, and is taken to have succeeded.
class HomepageOpener {
public:
    // No opener at all: the button then does nothing.
    HomepageOpener() = default;
    HomepageOpener(std::nullptr_t) {}

    // Not explicit: a function or lambda is an opener as it stands.
    template <OpensHomepage Open> HomepageOpener(Open open)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<Open&, const ShellExecuteCall&>>)
            m_open = [open = std::move(open)](const ShellExecuteCall& call) mutable {
                open(call);
                return true;
            };
        else
            m_open = std::move(open);
    }

    explicit operator bool() const { return bool(m_open); }
    bool operator()(const ShellExecuteCall& call) const { return m_open(call); }

private:
    std::function<bool(const ShellExecuteCall&)> m_open;
};

// The program's own opener. On Windows it is the shell's ShellExecuteA, with the texts in the ANSI code
// page; elsewhere the desktop's URL handler opens the address and the Windows-only fields are unused.
// False when no browser could be given the address.
bool shellExecute(const ShellExecuteCall& call);

} // namespace vorn
