// @ts-check
// The commands' keys as the session's table writes them ("Ctrl+Shift+Z"), read for the page: what a key
// press runs. How the menus show them, and the About box's table of them, are written into the page's
// markup from the same table when it is built (src/fragments).

/** @typedef {import("./vorn").Command} Command */

/**
 * A key press as the page's keydown handlers see it.
 * @typedef {{key: string, code?: string, ctrlKey: boolean, metaKey: boolean, altKey: boolean, shiftKey: boolean}} Press
 */

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
