#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

// The parts of the page's markup, the manual page and the README that say what the session's tables say
// (the controls' captions, tooltips and list entries, the menus, the commands and their keys), written
// from those tables when the program and the page are built, so that they are never typed twice. Each
// document has placeholders, "{{name}}", where its parts go.
namespace vorn::fragments {

// A document's placeholder that names nothing, a table's control the page has no place for, or a
// README whose part is out of date.
struct Problem : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Parts = std::map<std::string, std::string, std::less<>>;

// The page's parts by placeholder: "menus" (the menu bar), "keyRows" (the About box's keys), and for
// each control of the calculator and the Plan Ahead window "text:NAME", "attributes:NAME" (its value,
// tooltip, spoken name and check as HTML attributes), "options:NAME" (a list's entries), "caption:NAME"
// and "accesskey:NAME"; then "historyTitle", "planTitle" and "characterFileExtension".
Parts pageParts();
// The manual page's "shortcuts": the desktop program's keys, each with what its command does.
Parts manualParts();
// The README's "keys": a table of every command that has keys, on the desktop and on the page.
Parts readmeParts();

// `document` with each "{{name}}" replaced by its part. An empty "attributes:" part takes the blank
// before it along. Throws a Problem for a name `parts` lacks, or, with `allUsed`, for a control's part
// that the document never asks for.
std::string fillIn(std::string_view document, const Parts& parts, bool allUsed = false);

// The README with its generated parts, between "<!-- {{name}} -->" and "<!-- end of {{name}} -->", written
// afresh.
std::string refreshReadme(std::string_view readme, const Parts& parts);

std::string escapeHtml(std::string_view text);

} // namespace vorn::fragments
