// @ts-check
// The window's controls in their tab order and the menu bar's entries, from the session's tables, which
// the desktop window is built from too. Their captions, tooltips, spoken names, list entries and keys are
// written into the page's markup from the same tables when the page is built (src/fragments), so that it
// lays out before it starts as after.
import { nameOf } from "./enums.js";

/** @typedef {import("./vorn").SessionClass} SessionClass */

const kFocusable = ["TextBox", "List", "Button", "CheckBox"];

/**
 * The window's controls in their tab order, each with whether it starts disabled; the menu bar's entries
 * in order; and the commands the page has.
 * @param {SessionClass} Session
 */
export function takeTables(Session) {
    const controls = Session.controls().map((control) => ({ ...control, kind: nameOf(control.kind) }));
    const commands = Session.commands().filter((command) => command.onPage);
    return {
        tabOrder: controls
            .filter((control) => kFocusable.includes(control.kind))
            .sort((a, b) => a.tabIndex - b.tabIndex)
            .map(({ name, disabled }) => ({ name, disabled })),
        menuBar: [...Session.menus().map((menu) => menu.name), ...commands.filter((c) => !c.menu).map((c) => c.name)],
        commands,
    };
}
