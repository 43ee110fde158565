// @ts-check
// The page's keys come from the session's table of commands: what a press runs, and the About box's rows.
import assert from "node:assert/strict";
import { test } from "node:test";

import { shortcuts } from "../../../src/web/page/keys.js";

/** @param {Partial<import("../../../src/web/page/vorn").Command>} c */
const command = (c) => ({ menu: "mnuFile", caption: "", keys: [], pageKeys: [], pageNote: "", onPage: true,
                          startsGroup: false, name: "", ...c });
const table = [
    command({ name: "mnuNew", caption: "&New Character", keys: ["Ctrl+N"], pageKeys: ["Alt+N"],
              pageNote: "the browser keeps Ctrl+N for a new window" }),
    command({ name: "mnuQuit", caption: "&Quit", keys: ["Ctrl+Q"], pageKeys: ["Ctrl+Q"], onPage: false }),
    command({ name: "mnuRedo", caption: "&Redo", keys: ["Ctrl+Y", "Ctrl+Shift+Z"], pageKeys: ["Ctrl+Y", "Ctrl+Shift+Z"] }),
    command({ name: "mnuCopyResults", caption: "&Copy Results", pageKeys: ["Ctrl+Shift+C"] }),
    command({ name: "mnuPlan", caption: "&Plan Ahead\u2026", pageKeys: ["Ctrl+P"] }),
    command({ name: "mnuAbout", menu: "", caption: "About" }),
];

const press = (/** @type {string} */ key, /** @type {object} */ more = {}) =>
    ({ key, code: "", ctrlKey: false, metaKey: false, altKey: false, shiftKey: false, ...more });

test("a press runs the command whose page key it is, and nothing else", () => {
    const commandFor = shortcuts(table);
    /** @type {[string, ReturnType<typeof press>, string | null][]} */
    const cases = [
        ["Alt+N", press("n", { altKey: true, code: "KeyN" }), "mnuNew"],
        ["Alt+N where Alt types another letter", press("\u02dc", { altKey: true, code: "KeyN" }), "mnuNew"],
        ["Ctrl+N stays the browser's", press("n", { ctrlKey: true, code: "KeyN" }), null],
        ["Alt+Shift+N", press("N", { altKey: true, shiftKey: true, code: "KeyN" }), null],
        ["Ctrl+Y", press("y", { ctrlKey: true }), "mnuRedo"],
        ["Ctrl+Shift+Z", press("Z", { ctrlKey: true, shiftKey: true }), "mnuRedo"],
        ["Cmd+Shift+Z", press("Z", { metaKey: true, shiftKey: true }), "mnuRedo"],
        ["Ctrl+Cmd+Y", press("y", { ctrlKey: true, metaKey: true }), null],
        ["Ctrl+Alt+Y (AltGr)", press("y", { ctrlKey: true, altKey: true }), null],
        ["Ctrl+C without Shift", press("c", { ctrlKey: true }), null],
        ["Ctrl+Shift+C", press("C", { ctrlKey: true, shiftKey: true }), "mnuCopyResults"],
        ["Ctrl+P", press("p", { ctrlKey: true }), "mnuPlan"],
        ["a desktop-only command's key", press("q", { ctrlKey: true }), null],
        ["a plain letter", press("y"), null],
        ["a key that is no character", press("Enter", { ctrlKey: true }), null],
    ];
    for (const [what, event, expected] of cases)
        assert.equal(commandFor(event), expected, what);
});

test("every page key of every page command runs that command", () => {
    const commandFor = shortcuts(table);
    for (const c of table.filter((c) => c.onPage))
        for (const key of c.pageKeys) {
            const parts = key.split("+");
            const letter = /** @type {string} */ (parts.pop());
            const shift = parts.includes("Shift");
            const event = press(shift ? letter : letter.toLowerCase(),
                                { ctrlKey: parts.includes("Ctrl"), altKey: parts.includes("Alt"), shiftKey: shift });
            assert.equal(commandFor(event), c.name, key);
        }
});
