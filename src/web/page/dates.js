// @ts-check
// A step's date as the user reads and types it: in the order and with the separators of the browser's
// language, while the session keeps it as ISO 8601 ("2026-12-08") and alone decides whether typed numbers
// make a day.

/** @typedef {{year: number, month: number, day: number}} Day */

// The Gregorian calendar whatever the language's own: the session keeps Gregorian days, and a year shown in
// another calendar (the Buddhist one of Thai, say) would be typed back as a Gregorian one.
/** @param {string} locale */
const format = (locale) =>
    new Intl.DateTimeFormat(locale, { year: "numeric", month: "2-digit", day: "2-digit", timeZone: "UTC",
                                      numberingSystem: "latn", calendar: "gregory" });

/**
 * The order of year, month and day in the language's dates; year first where the language is unknown.
 * @param {string} locale
 * @returns {(keyof Day)[]}
 */
export function dayOrder(locale) {
    try {
        const order = format(locale).formatToParts(new Date(Date.UTC(2026, 11, 8))).map((part) => part.type)
            .filter((type) => type === "year" || type === "month" || type === "day");
        if (order.length === 3)
            return /** @type {(keyof Day)[]} */ (order);
    } catch (e) {
        // An unknown language keeps the ISO order.
    }
    return ["year", "month", "day"];
}

/**
 * An ISO date in the language's format, the year always with its four digits (a year 1 shown as "1"
 * would be read back as 2001); "" stays "", and any other text is shown as it is.
 * @param {string} iso
 * @param {string} locale
 */
export function showDay(iso, locale) {
    const parts = /^(\d{4})-(\d{2})-(\d{2})$/.exec(iso);
    if (!parts)
        return iso;
    const date = new Date(0);
    date.setUTCFullYear(Number(parts[1]), Number(parts[2]) - 1, Number(parts[3]));
    try {
        return format(locale).formatToParts(date)
            .map((part) => (part.type === "year" ? part.value.padStart(4, "0") : part.value)).join("");
    } catch (e) {
        return iso;
    }
}

/**
 * The numbers of a typed date in the language's order, or in ISO order where the text starts with a
 * year of four digits. Two digits of a year stand for this century's. Any numbers come back as they are
 * (the session says whether they make a day); a text of other than three numbers gives none that do.
 * @param {string} typed
 * @param {string} locale
 * @returns {Day}
 */
export function readDay(typed, locale) {
    const numbers = typed.match(/\d+/g) ?? [];
    const day = { year: 0, month: 0, day: 0 };
    if (numbers.length !== 3 || /[^\d\s./\-\u200e\u200f,年月日]/.test(typed.replace(/\d+/g, "")))
        return day;
    const order = /^\s*\d{4}/.test(typed) ? /** @type {(keyof Day)[]} */ (["year", "month", "day"]) : dayOrder(locale);
    order.forEach((part, i) => {
        day[part] = Number(numbers[i]);
        if (part === "year" && numbers[i].length <= 2)
            day.year += 2000;
    });
    return day;
}
