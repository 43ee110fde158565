// @ts-check
// The page takes from the session's tables what the desktop window shows too: the captions, tooltips,
// spoken names, list entries and tab order of the window's controls, and the menus' captions, access
// keys and shortcuts. The markup holds the same elements so that the page lays out before it starts.
import { byId } from "./focus.js";
import { accessKey, ariaKey, keyRows, shown } from "./keys.js";
import { nameOf } from "./enums.js";

/** @typedef {import("./vorn").SessionClass} SessionClass */

const kFocusable = ["TextBox", "List", "Button", "CheckBox"];

// The markup already holds what the tables say, so that nearly every write below would change nothing;
// one left out spares the browser laying the window out again before its first frame.
/**
 * @param {Element} element
 * @param {string} name
 * @param {string} value "" takes the attribute away
 */
function attribute(element, name, value) {
    if (value) {
        if (element.getAttribute(name) !== value)
            element.setAttribute(name, value);
    } else if (element.hasAttribute(name)) {
        element.removeAttribute(name);
    }
}

/** @param {Element} element @param {string} text */
function setText(element, text) {
    if (element.textContent !== text)
        element.textContent = text;
}

/**
 * @param {HTMLSelectElement} list
 * @param {{text: string, itemData: number}[]} entries
 */
function setEntries(list, entries) {
    const same = list.options.length === entries.length &&
        entries.every((entry, i) => list.options[i].text === entry.text && list.options[i].value === String(entry.itemData));
    if (!same)
        list.replaceChildren(...entries.map((entry) => new Option(entry.text, String(entry.itemData))));
}

/**
 * Writes the tables into the page; returns the window's controls in their tab order, each with whether
 * it starts disabled, and the menu bar's entries in order.
 * @param {SessionClass} Session
 */
export function takeTables(Session) {
    const entries = Session.listEntries();
    const spoken = Session.spokenNames();
    const controls = Session.controls().map((control) => ({ ...control, kind: nameOf(control.kind) }));
    for (const control of controls) {
        const element = byId(control.name);
        attribute(element, "title", control.toolTip);
        switch (control.kind) {
        case "Frame":
            setText(/** @type {HTMLLegendElement} */ (element.querySelector("legend")), control.text);
            break;
        case "Label":
        case "Button":
            setText(element, control.text);
            break;
        case "TextBox":
            attribute(element, "value", control.text);
            break;
        case "CheckBox":
            if (/** @type {HTMLInputElement} */ (element).defaultChecked !== control.checked)
                /** @type {HTMLInputElement} */ (element).defaultChecked = control.checked;
            break;
        case "List":
            setEntries(/** @type {HTMLSelectElement} */ (element), entries.filter((entry) => entry.list === control.name));
            break;
        }
    }
    // A control captioned by a label of its own text needs no name of its own.
    for (const { control, name, captionLabel } of spoken) {
        const caption = captionLabel ? byId(captionLabel).textContent : "";
        attribute(byId(control), "aria-label", caption === name ? "" : name);
    }

    const menus = Session.menus();
    const commands = Session.commands().filter((command) => command.onPage);
    for (const { name, caption } of [...menus, ...commands]) {
        const element = byId(name);
        setText(element, shown(caption));
        attribute(element, "accesskey", menus.some((menu) => menu.name === name) ? accessKey(caption) : "");
    }
    for (const command of commands) {
        const element = byId(command.name);
        attribute(element, "aria-keyshortcuts", command.pageKeys.map(ariaKey).join(" "));
        attribute(element, "data-keys", command.pageKeys[0] ?? "");
    }
    // The keys of the commands come first in the About box's table, then the page's own.
    const table = /** @type {HTMLTableSectionElement} */ (byId("dlgAbout").querySelector(".keys-table tbody"));
    table.prepend(...keyRows(commands).map(({ keys, what }) => {
        const row = document.createElement("tr");
        const th = row.appendChild(document.createElement("th"));
        th.scope = "row";
        th.textContent = keys;
        row.appendChild(document.createElement("td")).textContent = what;
        return row;
    }));

    return {
        tabOrder: controls
            .filter((control) => kFocusable.includes(control.kind))
            .sort((a, b) => a.tabIndex - b.tabIndex)
            .map(({ name, disabled }) => ({ name, disabled })),
        menuBar: [...menus.map((menu) => menu.name), ...commands.filter((c) => !c.menu).map((c) => c.name)],
        commands,
    };
}
