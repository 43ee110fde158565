// @ts-check
// The arithmetic of a table drawn a screenful at a time: which rows a scroll area shows, which are drawn,
// and how far to scroll to bring a row into view.
import assert from "node:assert/strict";
import { test } from "node:test";

import { nearestScroll, rowsToDraw, shownRows } from "../../../src/web/page/rows.js";

test("the rows a scroll area shows", () => {
    // name: [count, row height, top, height, expected from, to]
    /** @type {Record<string, [number, number, number, number, number, number]>} */
    const cases = {
        "no rows": [0, 20, 0, 100, 0, 0],
        "fewer rows than the area holds": [3, 20, 0, 100, 0, 3],
        "at the top": [1000, 20, 0, 100, 0, 5],
        "a row cut at each edge": [1000, 20, 110, 100, 5, 11],
        "at the bottom": [1000, 20, 19900, 100, 995, 1000],
        "scrolled past the end (a shorter table)": [10, 20, 5000, 100, 10, 10],
        "hidden, no height: the first row": [1000, 20, 0, 0, 0, 1],
        "rows of fractional height": [1000, 22.5, 45, 45, 2, 4],
    };
    for (const [name, [count, rowHeight, top, height, from, to]] of Object.entries(cases))
        assert.deepEqual(shownRows(count, rowHeight, top, height), { from, to }, name);
});

test("every pixel in view lies in a drawn row, and the margin stays within the table", () => {
    const count = 500, rowHeight = 23.25, height = 317;
    for (let top = 0; top <= count * rowHeight - height; top += 7.5) {
        const shown = shownRows(count, rowHeight, top, height);
        const drawn = rowsToDraw(shown, count, 4);
        assert.ok(shown.from * rowHeight <= top && shown.to * rowHeight >= top + height, `top ${top}`);
        assert.ok(drawn.from >= 0 && drawn.to <= count && drawn.from <= shown.from && drawn.to >= shown.to);
        assert.ok(drawn.from === 0 || shown.from - drawn.from === 4, `top ${top}`);
    }
});

test("a row is scrolled into view as little as may be", () => {
    // name: [row top, bottom, view top, bottom, scroll by]
    /** @type {Record<string, [number, number, number, number, number]>} */
    const cases = {
        "already in view": [120, 140, 100, 300, 0],
        "above the view": [40, 60, 100, 300, -60],
        "below the view": [400, 420, 100, 300, 120],
        "cut at the bottom edge": [290, 310, 100, 300, 10],
        "taller than the view: its top": [400, 700, 100, 300, 300],
    };
    for (const [name, [top, bottom, viewTop, viewBottom, by]] of Object.entries(cases))
        assert.equal(nearestScroll(top, bottom, viewTop, viewBottom), by, name);
});
