// @ts-check
// The chart maps the session's ranges onto the plot; the session has chosen every point and label.
import assert from "node:assert/strict";
import { test } from "node:test";

import { layOut, place, thinned } from "../../../src/web/page/chart.js";
import { learnNames } from "../../../src/web/page/enums.js";

const quantity = { build: { value: 0 }, totalXP: { value: 1 }, values: {} };
learnNames(quantity);

/** @param {string} title @param {number} least @param {number} most @param {number[]} ticks */
const axis = (title, least, most, ticks) =>
    ({ title, least, most, ticks: ticks.map((value) => ({ value, label: String(value) })) });

test("a value maps onto its axis's span, a range of one value to the middle", () => {
    /** @type {[ReturnType<typeof axis>, number, number, number, number][]} */
    const cases = [
        [axis("", 0, 10, []), 0, 100, 200, 100],
        [axis("", 0, 10, []), 10, 100, 200, 200],
        [axis("", 0, 10, []), 5, 200, 100, 150],
        [axis("", 30, 30, []), 30, 0, 50, 25],
    ];
    for (const [a, value, from, to, expected] of cases)
        assert.equal(place(a, value, from, to), expected);
});

/** @param {number[]} xTicks @param {string[]} names */
function chart(xTicks, names) {
    return {
        caption: "",
        x: axis("Step", 0, 10, xTicks),
        build: axis("Build", 30, 50, [30, 40, 50]),
        totalXP: axis("Total XP", 0, 100, [0, 50, 100]),
        series: names.map((name, i) => ({ name, quantity: i ? quantity.totalXP : quantity.build, planned: i > 1,
                                          points: /** @type {[number, number][]} */ ([[0, 30], [10, 50]]) })),
        goal: /** @type {import("../../../src/web/page/vorn").ChartMark | null} */ (null),
    };
}

test("each series is drawn against its own axis, planned ones dashed", () => {
    const { shapes } = layOut(chart([], ["Build", "Total XP", "Planned"]), 400);
    const lines = shapes.filter((s) => s.name === "polyline");
    assert.deepEqual(lines.map((s) => s.attributes.class),
                     ["chart-line chart-build", "chart-line chart-totalXP", "chart-line chart-totalXP chart-planned"]);
    const frame = /** @type {any} */ (shapes.find((s) => s.name === "rect")).attributes;
    // Build 30 → 50 runs corner to corner of the frame; Total XP 30 → 50 only a fifth of the way up.
    assert.equal(lines[0].attributes.points, `${frame.x},${frame.y + frame.height} ${frame.x + frame.width},${frame.y}`);
    const [, end] = String(lines[1].attributes.points).split(" ");
    assert.equal(Number(end.split(",")[1]), Math.round((frame.y + frame.height * 0.5) * 10) / 10);
});

test("x labels that would run into the one before are left out, their grid lines kept", () => {
    const { shapes } = layOut(chart([0, 0.2, 0.4, 10], ["Build"]), 300);
    const gridX = shapes.filter((s) => s.layer === "grid" && s.attributes.x1 === s.attributes.x2);
    const labels = shapes.filter((s) => s.name === "text" && s.attributes["text-anchor"] === "middle" && s.text !== "Step");
    assert.equal(gridX.length, 4);
    assert.deepEqual(labels.map((s) => s.text), ["0", "10"]);
});

test("a legend too wide for one line takes more, and the plot moves down", () => {
    const names = ["A long series name", "Another long series name", "A third one"];
    const narrow = layOut(chart([], names), 260);
    const wide = layOut(chart([], names), 900);
    assert.ok(narrow.height > wide.height);
    const legendYs = (/** @type {ReturnType<typeof layOut>} */ drawn) =>
        new Set(drawn.shapes.filter((s) => s.name === "line" && s.layer === "svg").map((s) => s.attributes.y1));
    assert.equal(legendYs(wide).size, 1);
    assert.ok(legendYs(narrow).size > 1);
});

test("a chart too narrow for a plot draws nothing", () => {
    assert.deepEqual(layOut(chart([], ["Build"]), 30).shapes, []);
});

test("the goal is a line across the plot at its height, its words within the chart", () => {
    const goal = (/** @type {number} */ value) => ({ quantity: quantity.build, value, label: "Goal: Level 1,000 (Build 10,005)" });
    for (const [name, value, width] of /** @type {[string, number, number][]} */ ([
        ["mid-plot", 40, 400], ["at the top", 50, 400], ["the narrowest chart, its plot narrower than the words", 30, 240]])) {
        const { shapes } = layOut({ ...chart([], ["Build"]), goal: goal(value) }, width);
        const frame = /** @type {any} */ (shapes.find((s) => s.name === "rect")).attributes;
        const line = /** @type {any} */ (shapes.find((s) => String(s.attributes.class).startsWith("chart-goal")));
        assert.equal(line.attributes.class, "chart-goal chart-build", name);
        assert.deepEqual([line.attributes.x1, line.attributes.x2], [frame.x, frame.x + frame.width], name);
        assert.equal(line.attributes.y1, Math.round((frame.y + frame.height * (50 - value) / 20) * 10) / 10, name);
        const words = /** @type {any} */ (shapes.find((s) => s.text === goal(value).label)).attributes;
        assert.ok(words.x >= 0 && words.x + goal(value).label.length * 7 <= width, name);
        assert.ok(words.y > frame.y && words.y < frame.y + frame.height, name);
    }
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
