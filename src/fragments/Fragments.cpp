#include "fragments/Fragments.h"

#include "session/AppText.h"
#include "session/CalculatorLayout.h"
#include "session/CharacterFile.h"
#include "session/Commands.h"
#include "session/PlanLayout.h"

#include <set>
#include <vector>

namespace vorn::fragments {
namespace {

std::string attribute(std::string_view name, std::string_view value)
{
    return " " + std::string(name) + "=\"" + escapeHtml(value) + "\"";
}

std::string join(const std::vector<std::string>& items, std::string_view between)
{
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : std::string(between)) + item;
    return joined;
}

// "Ctrl+Shift+Z" as aria-keyshortcuts names it.
std::string ariaKey(std::string key)
{
    if (key.starts_with("Ctrl+"))
        key.replace(0, 4, "Control");
    return key;
}

const layout::Control* layoutControl(std::string_view name)
{
    for (const layout::Control& c : layout::controls())
        if (name == c.name)
            return &c;
    return nullptr;
}

std::string options(std::string_view list)
{
    // Plan Ahead's event-length list has the calculator's entries, manual input included.
    const std::string_view entriesOf = list == "cboPlanLength" ? "cboEventLength" : list;
    std::string html;
    for (const layout::ListEntry& e : layout::listEntries())
        if (entriesOf == e.list)
            html +=
                "<option value=\"" + std::to_string(e.itemData) + "\">" + escapeHtml(e.text) + "</option>";
    for (const planlayout::ListEntry& e : planlayout::listEntries())
        if (list == e.list)
            html += "<option value=\"" + escapeHtml(e.key) + "\">" + escapeHtml(e.text) + "</option>";
    return html;
}

// A control of the calculator's: its text, and as attributes its first text (a box's), tooltip, spoken
// name where its caption's label doesn't say it, and check.
void addCalculatorControls(Parts& parts)
{
    for (const layout::Control& c : layout::controls()) {
        const std::string name = c.name;
        std::string attributes;
        if (c.kind == layout::Kind::TextBox)
            attributes += attribute("value", c.text);
        else if (c.kind != layout::Kind::List && c.kind != layout::Kind::CheckBox)
            parts["text:" + name] = escapeHtml(c.text);
        if (c.toolTip)
            attributes += attribute("title", c.toolTip);
        for (const layout::SpokenName& s : layout::spokenNames()) {
            const layout::Control* caption = s.captionLabel ? layoutControl(s.captionLabel) : nullptr;
            if (name == s.control && !(caption && std::string_view(caption->text) == s.name))
                attributes += attribute("aria-label", s.name);
        }
        if (c.flags & layout::Checked)
            attributes += " checked";
        parts["attributes:" + name] = attributes.empty() ? attributes : attributes.substr(1);
        if (c.kind == layout::Kind::List)
            parts["options:" + name] = options(name);
    }
}

void addPlanControls(Parts& parts)
{
    for (const planlayout::Control& c : planlayout::controls()) {
        const std::string name = c.name;
        std::string attributes;
        if (c.kind == planlayout::Kind::TextBox && *c.text)
            attributes += attribute("value", c.text);
        if (c.spokenName)
            attributes += attribute("aria-label", c.spokenName);
        parts["attributes:" + name] = attributes.empty() ? attributes : attributes.substr(1);
        if (c.caption) {
            parts["caption:" + name] = escapeHtml(shownCaption(c.caption));
            parts["accesskey:" + name] = std::string(1, accessKeyOf(c.caption));
        }
        if (c.kind == planlayout::Kind::List)
            parts["options:" + name] = options(name);
    }
}

// A command's item in its menu: its keys as the page takes them, and whether it starts hidden or
// disabled.
std::string menuItem(const Command& c)
{
    // A new character has no steps to undo or redo.
    static const std::set<std::string_view> kDisabledAtStart{"mnuUndo", "mnuRedo"};
    std::string html = c.startsGroup ? "        <li class=\"separator\" aria-hidden=\"true\"></li>\n" : "";
    html += c.pageMayLack ? "        <li hidden>" : "        <li>";
    html += "<button type=\"button\"" + attribute("id", c.name);
    const std::vector<std::string> keys = pageKeysOf(c);
    if (!keys.empty()) {
        std::vector<std::string> aria;
        for (const std::string& key : keys)
            aria.push_back(ariaKey(key));
        html += attribute("aria-keyshortcuts", join(aria, " ")) + attribute("data-keys", keys.front());
    }
    if (kDisabledAtStart.contains(c.name))
        html += " disabled";
    return html + ">" + escapeHtml(shownCaption(c.caption)) + "</button></li>\n";
}

std::string menuBar()
{
    std::string html;
    for (const Menu& m : menus()) {
        const std::string name = m.name;
        html += "    <li class=\"menu\">\n      <button type=\"button\"" + attribute("id", name);
        if (const char key = accessKeyOf(m.caption))
            html += attribute("accesskey", std::string(1, key));
        html += " aria-expanded=\"false\"" + attribute("aria-controls", name + "Menu") + ">" +
                escapeHtml(shownCaption(m.caption)) + "</button>\n";
        html += "      <ul" + attribute("id", name + "Menu") + " class=\"menu-list\" hidden>\n";
        for (const Command& c : commands())
            if (c.onPage && c.menu && name == c.menu)
                html += menuItem(c);
        html += "      </ul>\n    </li>\n";
    }
    for (const Command& c : commands())
        if (c.onPage && !c.menu)
            html += "    <li class=\"menu\"><button type=\"button\"" + attribute("id", c.name) + ">" +
                    escapeHtml(shownCaption(c.caption)) + "</button></li>\n";
    return html;
}

// The About box's rows for the page's commands that have keys: the keys, and what they do.
std::string keyRows()
{
    std::string html;
    for (const Command& c : commands()) {
        const std::vector<std::string> keys = pageKeysOf(c);
        if (!c.onPage || keys.empty())
            continue;
        const std::string what =
            shownCaption(c.caption) + (c.pageNote ? " (" + std::string(c.pageNote) + ")" : std::string());
        html += "      <tr><th scope=\"row\">" + escapeHtml(join(keys, ", ")) + "</th><td>" +
                escapeHtml(what) + "</td></tr>\n";
    }
    return html;
}

// A caption as the manual page shows it: "..." for the ellipsis, which man's fonts may lack.
std::string manualCaption(std::string_view caption)
{
    std::string shown = shownCaption(caption);
    for (std::size_t at; (at = shown.find("\u2026")) != std::string::npos;)
        shown.replace(at, std::string_view("\u2026").size(), "...");
    return shown;
}

const char* kReadmeOpen = "<!-- {{";
const char* kReadmeClose = "<!-- end of {{";

} // namespace

std::string escapeHtml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

Parts pageParts()
{
    Parts parts;
    addCalculatorControls(parts);
    addPlanControls(parts);
    // Each on lines of its own in the markup.
    parts["menus"] = menuBar();
    parts["menus"].pop_back();
    parts["keyRows"] = keyRows();
    parts["keyRows"].pop_back();
    parts["historyTitle"] = escapeHtml(historyTitle());
    parts["planTitle"] = escapeHtml(planlayout::kTitle);
    parts["characterFileExtension"] = escapeHtml(kCharacterFileExtension);
    return parts;
}

Parts manualParts()
{
    std::string roff;
    for (const Command& c : commands()) {
        const std::vector<std::string> keys = keysOf(c.keys);
        if (!c.onDesktop || keys.empty())
            continue;
        roff += roff.empty() ? ".TP 18\n" : ".TP\n";
        roff += keys.size() == 1 ? ".B " + keys[0] + "\n" : ".BR " + join(keys, " \", \" ") + "\n";
        roff += manualCaption(c.caption) + (c.manualNote ? ": " + std::string(c.manualNote) : std::string()) +
                "\n";
    }
    roff.pop_back(); // the template's own line ends the last entry
    return {{"shortcuts", roff}};
}

Parts readmeParts()
{
    std::string table = "| Command | Keys | Keys on the page |\n|---|---|---|\n";
    for (const Command& c : commands()) {
        const std::vector<std::string> keys = c.onDesktop ? keysOf(c.keys) : std::vector<std::string>{};
        const std::vector<std::string> pageKeys = c.onPage ? pageKeysOf(c) : std::vector<std::string>{};
        if (keys.empty() && pageKeys.empty())
            continue;
        std::string menu;
        for (const Menu& m : menus())
            if (c.menu && std::string_view(c.menu) == m.name)
                menu = shownCaption(m.caption) + " \u2192 ";
        std::string onPage = pageKeys.empty() ? "\u2014" : join(pageKeys, " or ");
        if (c.pageNote && !pageKeys.empty())
            onPage += " (" + std::string(c.pageNote) + ")";
        table += "| " + menu + shownCaption(c.caption) + " | " +
                 (keys.empty() ? "\u2014" : join(keys, " or ")) + " | " + onPage + " |\n";
    }
    return {{"keys", table}};
}

std::string fillIn(std::string_view document, const Parts& parts, bool allUsed)
{
    std::string out;
    std::set<std::string, std::less<>> used;
    std::size_t from = 0;
    for (std::size_t at; (at = document.find("{{", from)) != std::string_view::npos;) {
        const std::size_t end = document.find("}}", at);
        if (end == std::string_view::npos)
            throw Problem("a placeholder is not closed: " + std::string(document.substr(at, 40)));
        const std::string_view name = document.substr(at + 2, end - at - 2);
        const auto part = parts.find(name);
        if (part == parts.end())
            throw Problem("no part is named {{" + std::string(name) + "}}");
        used.insert(part->first);
        std::string_view before = document.substr(from, at - from);
        // An empty list of attributes takes the blank before it along.
        if (part->second.empty() && name.starts_with("attributes:") && before.ends_with(' '))
            before.remove_suffix(1);
        out += before;
        out += part->second;
        from = end + 2;
    }
    out += document.substr(from);
    if (allUsed) {
        // Every control of the tables has a place in the document: one of its parts is asked for.
        std::set<std::string, std::less<>> placed;
        for (const std::string& name : used)
            if (const std::size_t colon = name.find(':'); colon != std::string::npos)
                placed.insert(name.substr(colon + 1));
        for (const auto& [name, text] : parts)
            if (const std::size_t colon = name.find(':');
                colon != std::string::npos && !placed.contains(std::string_view(name).substr(colon + 1)))
                throw Problem("the document has no place for " + name.substr(colon + 1));
        for (const auto& [name, text] : parts)
            if (name.find(':') == std::string::npos && !used.contains(name))
                throw Problem("the document has no place for {{" + name + "}}");
    }
    return out;
}

std::string refreshReadme(std::string_view readme, const Parts& parts)
{
    std::string out(readme);
    for (const auto& [name, text] : parts) {
        const std::string open = kReadmeOpen + name + "}}";
        const std::string close = kReadmeClose + name + "}} -->\n";
        const std::size_t begin = out.find(open);
        const std::size_t end = out.find(close);
        if (begin == std::string::npos || end == std::string::npos || end < begin)
            throw Problem("the README has no place for {{" + name + "}}");
        const std::size_t after = out.find('\n', begin) + 1;
        out.replace(after, end - after, text);
    }
    return out;
}

} // namespace vorn::fragments
