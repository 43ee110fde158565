// @ts-check
// A date typed in the user's format is read in that format's order, and a stored one shown in it.
import assert from "node:assert/strict";
import { test } from "node:test";

import { readDay, showDay } from "../../../src/web/page/dates.js";

test("a typed date is read in the language's order of year, month and day", () => {
    /** @type {[string, string, string, [number, number, number]][]} */
    const cases = [
        ["American: month first", "en-US", "12/8/2026", [2026, 12, 8]],
        ["British: day first", "en-GB", "08/12/2026", [2026, 12, 8]],
        ["German: dots", "de-DE", "8.12.2026", [2026, 12, 8]],
        ["Japanese: year first", "ja-JP", "2026/12/08", [2026, 12, 8]],
        ["ISO wins over the language's order", "en-US", "2026-12-08", [2026, 12, 8]],
        ["a two-digit year is this century's", "de-DE", "8.12.26", [2026, 12, 8]],
        ["numbers no day has come back for the session to refuse", "en-GB", "31/02/2026", [2026, 2, 31]],
        ["two numbers make no day", "en-GB", "08/12", [0, 0, 0]],
        ["words make no day", "en-US", "next Tuesday 8 12", [0, 0, 0]],
    ];
    for (const [name, locale, typed, [year, month, day]] of cases)
        assert.deepEqual(readDay(typed, locale), { year, month, day }, name);
});

test("a stored date shown in the language's format reads back as the same day", () => {
    for (const locale of ["en-US", "en-GB", "de-DE", "ja-JP", "fr-CA", "ar-EG", "th-TH"])
        for (const iso of ["2026-12-08", "0999-01-31", "2024-02-29", "0001-01-01", "0099-12-31"]) {
            const [year, month, day] = iso.split("-").map(Number);
            assert.deepEqual(readDay(showDay(iso, locale), locale), { year, month, day }, locale + " " + iso);
        }
    assert.equal(showDay("", "en-US"), "", "no date shows nothing");
});

test("a year is shown with its four digits, in the Gregorian calendar", () => {
    const cases = [
        ["the first day there is, in American", "en-US", "0001-01-01", "01/01/0001"],
        ["and in German", "de-DE", "0001-01-01", "01.01.0001"],
        ["a year of three digits", "ja-JP", "0999-01-31", "0999/01/31"],
        ["Thai shows the Gregorian year, not the Buddhist one", "th-TH", "2026-03-14", "14/03/2026"],
    ];
    for (const [name, locale, iso, shown] of cases)
        assert.equal(showDay(iso, locale), shown, name);
});
