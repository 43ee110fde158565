// @ts-check
// The chart as drawn from the session's layout (session/ChartLayout, tested there): each part where the
// layout puts it, in the page's classes, and a line's points thinned to what one unit of width shows.
import assert from "node:assert/strict";
import { test } from "node:test";

import { place, shapes, thinned } from "../../../src/web/page/chart.js";
import { learnNames } from "../../../src/web/page/enums.js";

const quantity = { build: { value: 0 }, totalXP: { value: 1 } };
const align = { left: { value: 0 }, center: { value: 1 }, right: { value: 2 } };
learnNames(quantity, align);

/** @param {number} from @param {number} to @param {number} least @param {number} span */
const scale = (from, to, least, span) => ({ from, to, least, span });
/** @param {string} text @param {number} x @param {number} y @param {{value: number}} how */
const label = (text, x, y, how) => ({ text, box: { x, y, width: 40, height: 16 }, align: how });
/** @param {number} x1 @param {number} y1 @param {number} x2 @param {number} y2 @returns {import("../../../src/web/page/vorn").ChartSegment} */
const segment = (x1, y1, x2, y2) => ({ from: [x1, y1], to: [x2, y2] });

// A plot from (40, 50) to (360, 200): steps 0 to 10 across it, Build 30 to 50 and Total XP 0 to 100 up it.
const layout = {
    width: 400, height: 250, fits: true,
    plot: { x: 40, y: 50, width: 320, height: 150 },
    x: scale(40, 360, 0, 10), build: scale(200, 50, 30, 20), totalXP: scale(200, 50, 0, 100),
    labels: [label("Build", 7, 16, align.left), label("Total XP", 353, 16, align.right), label("Step", 180, 225, align.center)],
    grid: [segment(40, 125, 360, 125)],
    goal: { quantity: quantity.totalXP, line: segment(40, 80, 360, 80), label: label("Goal: Total XP 80", 43, 64, align.center) },
    legend: [{ stroke: segment(40, 9, 61, 9), name: label("Build", 64.5, 0, align.left) },
             { stroke: segment(120, 9, 141, 9), name: label("Total XP (planned)", 144.5, 0, align.left) }],
};
const chart = {
    caption: "", x: { title: "Step", least: 0, most: 10, ticks: [] },
    build: { title: "Build", least: 30, most: 50, ticks: [] }, totalXP: { title: "Total XP", least: 0, most: 100, ticks: [] },
    series: [{ name: "Build", quantity: quantity.build, planned: false, points: /** @type {[number, number][]} */ ([[0, 30], [10, 50]]) },
             { name: "Total XP (planned)", quantity: quantity.totalXP, planned: true, points: /** @type {[number, number][]} */ ([[5, 0], [10, 50]]) }],
    goal: null,
};

test("a value maps onto its scale's span, a range of one value to the middle", () => {
    /** @type {[ReturnType<typeof scale>, number, number][]} */
    const cases = [
        [scale(100, 200, 0, 10), 0, 100],
        [scale(100, 200, 0, 10), 10, 200],
        [scale(200, 100, 0, 10), 5, 150],
        [scale(0, 50, 30, 0), 30, 25],
    ];
    for (const [s, value, expected] of cases)
        assert.equal(place(s, value), expected);
});

test("each series is drawn against its own axis, planned ones dashed, with its legend", () => {
    const drawn = shapes(chart, layout);
    const lines = drawn.filter((s) => s.name === "polyline");
    assert.deepEqual(lines.map((s) => [s.attributes.class, s.attributes.points]), [
        ["chart-line chart-build", "40,200 360,50"],
        ["chart-line chart-totalXP chart-planned", "200,200 360,125"],
    ]);
    const strokes = drawn.filter((s) => s.name === "line" && String(s.attributes.class).startsWith("chart-line"));
    assert.deepEqual(strokes.map((s) => [s.attributes.x1, s.attributes.y1, s.attributes.x2]), [[40, 9, 61], [120, 9, 141]]);
});

test("texts stand in their boxes, aligned as the layout says", () => {
    const texts = shapes(chart, layout).filter((s) => s.name === "text");
    const of = (/** @type {string} */ t) => /** @type {any} */ (texts.find((s) => s.text === t)).attributes;
    assert.deepEqual(of("Step"), { x: 200, y: 233, "dominant-baseline": "middle", "text-anchor": "middle" });
    assert.deepEqual(of("Total XP"), { x: 393, y: 24, "dominant-baseline": "middle", "text-anchor": "end" });
    assert.deepEqual(of("Total XP (planned)"), { x: 144.5, y: 8, "dominant-baseline": "middle" });
});

test("the goal is a dotted line in its axis's colour, the frame the plot's", () => {
    const drawn = shapes(chart, layout);
    const goal = /** @type {any} */ (drawn.find((s) => String(s.attributes.class).startsWith("chart-goal"))).attributes;
    assert.deepEqual(goal, { x1: 40, y1: 80, x2: 360, y2: 80, class: "chart-goal chart-totalXP", "stroke-dasharray": "2 3" });
    const frame = /** @type {any} */ (drawn.find((s) => s.name === "rect")).attributes;
    assert.deepEqual(frame, { x: 40, y: 50, width: 320, height: 150, class: "chart-frame" });
    assert.equal(drawn.filter((s) => s.layer === "grid").length, 1);
});

test("a chart too small for a plot draws nothing", () => {
    assert.deepEqual(shapes(chart, { ...layout, fits: false }), []);
});

test("a line keeps, of each unit of width, its first, lowest, highest and last points", () => {
    /** @type {Record<string, [[number, number][], [number, number][]]>} */
    const cases = {
        "one point to a unit: all kept": [[[0, 5], [1, 3], [2.5, 9]], [[0, 5], [1, 3], [2.5, 9]]],
        "a run in one unit": [[[3, 5], [3.2, 1], [3.4, 4], [3.6, 8], [3.8, 6]], [[3, 5], [3.2, 1], [3.6, 8], [3.8, 6]]],
        "a run whose ends are its extremes": [[[3, 1], [3.5, 4], [3.9, 9]], [[3, 1], [3.9, 9]]],
        "a unit left and come back to": [[[0, 1], [0.5, 2], [1, 3], [0.2, 4]], [[0, 1], [0.5, 2], [1, 3], [0.2, 4]]],
        "no points": [[], []],
    };
    for (const [name, [points, kept]] of Object.entries(cases))
        assert.deepEqual(thinned(points), kept, name);
});

test("ten thousand points across a chart keep its span and ends, as many as it is wide", () => {
    /** @type {[number, number][]} */
    const points = Array.from({ length: 10000 }, (_, i) => [i / 25, Math.sin(i) * 100]);
    const kept = thinned(points);
    assert.ok(kept.length <= 4 * 400);
    assert.deepEqual([kept[0], kept.at(-1)], [points[0], points.at(-1)]);
    const ys = (/** @type {[number, number][]} */ p) => [Math.min(...p.map(([, y]) => y)), Math.max(...p.map(([, y]) => y))];
    assert.deepEqual(ys(kept), ys(points));
});
