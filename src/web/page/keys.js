// @ts-check
// The commands and their keys as the session's table writes them ("&Redo", "Ctrl+Shift+Z"), read for the
// page: what a key press runs, how assistive technology names the keys and the About box's table of them.

/** @typedef {import("./vorn").Command} Command */

/**
 * A key press as the page's keydown handlers see it.
 * @typedef {{key: string, code?: string, ctrlKey: boolean, metaKey: boolean, altKey: boolean, shiftKey: boolean}} Press
 */

/** A caption as shown: '&' marks the access key and is not shown. @param {string} caption */
export const shown = (caption) => caption.replace(/&(.)/g, "$1");

/** The access key a caption marks, lower case; "" for none. @param {string} caption */
export function accessKey(caption) {
    const marked = /&(\w)/.exec(caption);
    return marked ? marked[1].toLowerCase() : "";
}

/** "Ctrl+Shift+Z" as aria-keyshortcuts names it. @param {string} key */
export const ariaKey = (key) => key.replace(/\bCtrl\+/g, "Control+");

/** @param {boolean} ctrl @param {boolean} alt @param {boolean} shift @param {string} letter */
const chord = (ctrl, alt, shift, letter) => [ctrl && "Ctrl", alt && "Alt", shift && "Shift", letter].filter(Boolean).join("+");

/**
 * What a key press runs, whichever control has the focus: the command whose page keys it is. Cmd
 * counts as Ctrl (a Mac's keys), but not both together. With Alt alone, the key's place counts as well as
 * its letter, since Alt with a letter types another character on some keyboards.
 * @param {Command[]} commands
 * @returns {(press: Press) => string | null} the command's name
 */
export function shortcuts(commands) {
    /** @type {Map<string, string>} */
    const byChord = new Map();
    for (const command of commands)
        if (command.onPage)
            for (const key of command.pageKeys)
                byChord.set(key.toUpperCase(), command.name);
    return (press) => {
        const ctrl = (press.ctrlKey || press.metaKey) && !(press.ctrlKey && press.metaKey);
        const letter = press.key && press.key.length === 1 ? press.key.toUpperCase() : "";
        const found = byChord.get(chord(ctrl, press.altKey, press.shiftKey, letter).toUpperCase());
        if (found || !press.altKey || ctrl || !press.code || !press.code.startsWith("Key"))
            return found ?? null;
        return byChord.get(chord(false, true, press.shiftKey, press.code.slice(3)).toUpperCase()) ?? null;
    };
}

/**
 * The About box's rows for the page's commands that have keys: the keys, and what they do.
 * @param {Command[]} commands
 * @returns {{keys: string, what: string}[]}
 */
export function keyRows(commands) {
    return commands
        .filter((command) => command.onPage && command.pageKeys.length > 0)
        .map((command) => ({
            keys: command.pageKeys.join(", "),
            what: shown(command.caption) + (command.pageNote ? " (" + command.pageNote + ")" : ""),
        }));
}
