// @ts-check
// The session hands its enums' values to the page as embind's objects; the page reads each by the word it
// was registered with (a box's element id, a plan choice as its list names it).

/** @type {Map<unknown, string>} */
const names = new Map();

/**
 * Learns the names of every value of the enums.
 * @param {...Record<string, unknown>} enums
 */
export function learnNames(...enums) {
    for (const values of enums)
        for (const [name, value] of Object.entries(values))
            if (name !== "values")
                names.set(value, name);
}

/** @param {unknown} value @returns {string} "" for a value not learnt */
export function nameOf(value) {
    return names.get(value) ?? "";
}
