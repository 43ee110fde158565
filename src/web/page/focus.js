// @ts-check
// How the next focus move came about, for the select-all habits of the text boxes: "restore" gives the
// focus back without touching the box's selection (the desktop's window activation).

/** @typedef {"restore" | "program" | "key" | "menu" | "dialog" | null} FocusReason */

export const VornFocus = {
    /** @type {FocusReason} */
    reason: null,
    /**
     * @param {HTMLElement} element
     * @param {FocusReason} reason
     * @param {FocusOptions} [options]
     */
    move(element, reason, options) {
        VornFocus.reason = reason;
        try {
            element.focus(options);
        } finally {
            VornFocus.reason = null;
        }
    },
};

/**
 * The element with the id, of the kind asked for; the page's markup has every id the code asks for.
 * @overload
 * @param {string} id
 * @returns {HTMLElement}
 */
/**
 * @template {Element} T
 * @overload
 * @param {string} id
 * @param {new (...args: any[]) => T} kind
 * @returns {T}
 */
/**
 * @param {string} id
 * @param {new (...args: any[]) => Element} [kind]
 */
export function byId(id, kind = HTMLElement) {
    const element = document.getElementById(id);
    if (!(element instanceof kind))
        throw new Error("the page has no " + kind.name + " " + id);
    return element;
}
