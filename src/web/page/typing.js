// @ts-check
// Whether a text box has typing of its own to undo or redo, as a box on the desktop has: what it held when
// the program last wrote it, and what the user's typing last made of it. While it has, Ctrl+Z and Ctrl+Y
// are the box's, not the character's.

/**
 * @typedef {{id: string, value: string}} Box
 * @typedef {{inputType: string}} Typed
 */

/**
 * The boxes named by `ids` as their typing goes.
 * @param {string[]} ids
 */
export function typingTracker(ids) {
    /** @type {Map<Box, {base: string, tip: string, typed: boolean}>} */
    const kept = new Map();
    /** @param {Box} box */
    const reset = (box) => kept.set(box, { base: box.value, tip: box.value, typed: false });
    /** @param {unknown} box */
    const of = (box) => {
        const named = /** @type {Box | null} */ (box);
        return named && ids.includes(named.id) ? kept.get(named) : undefined;
    };
    return {
        // The program wrote the box: nothing to undo from here.
        reset,
        /** @param {Box} box @param {Typed} event */
        typed(box, event) {
            // The browser's own undo and redo of the typing move it along, not on.
            if (event.inputType === "historyUndo" || event.inputType === "historyRedo")
                return;
            Object.assign(/** @type {object} */ (kept.get(box)), { tip: box.value, typed: true });
        },
        /** @param {unknown} box @returns {boolean} */
        undoes: (box) => {
            const t = of(box);
            return !!t && t.typed && /** @type {Box} */ (box).value !== t.base;
        },
        /** @param {unknown} box @returns {boolean} */
        redoes: (box) => {
            const t = of(box);
            return !!t && t.typed && /** @type {Box} */ (box).value !== t.tip;
        },
    };
}
