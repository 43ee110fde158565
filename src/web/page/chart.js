// @ts-check
// A progress chart as inline SVG. The session has worked out every point, range and tick label; this only
// maps each axis's range onto the plot area and draws lines and text, as the desktop's chart does. The
// chart is drawn one unit to one CSS pixel of the width it has, so its text stays the page's size on a
// phone, and drawn again when that width changes.

import { nameOf } from "./enums.js";

/** @typedef {import("./vorn").Chart} Chart */
/** @typedef {import("./vorn").ChartAxis} ChartAxis */

/**
 * One element of the drawing: into the svg itself, or into its group of text ("ink") or of grid lines.
 * @typedef {{layer: "svg" | "ink" | "grid", name: string, attributes: Record<string, string | number>, text?: string}} Shape
 */

const kSvg = "http://www.w3.org/2000/svg";
const kHeight = 200; // the plot and its tick labels, under the legend
const kLine = 16; // a line of text
const kGap = 7;
const kCharWidth = 7; // about the width of a digit at the chart's text size
const kStroke = 3 * kGap; // a legend entry's stroke

/**
 * Maps a value of an axis onto the span of units from `from` to `to`.
 * @param {ChartAxis} axis
 * @param {number} value
 * @param {number} from
 * @param {number} to
 */
export function place(axis, value, from, to) {
    const span = axis.most - axis.least;
    return from + (to - from) * (span > 0 ? (value - axis.least) / span : 0.5);
}

/**
 * A line's points as drawn: of a run of points within one unit of width, only the first, the lowest, the
 * highest and the last, which draw the same line at one unit to the pixel. Ten thousand events then cost
 * as many points as the chart is wide.
 * @param {[number, number][]} points
 * @returns {[number, number][]}
 */
export function thinned(points) {
    /** @type {[number, number][]} */
    const kept = [];
    for (let start = 0; start < points.length;) {
        const column = Math.floor(points[start][0]);
        let end = start, low = start, high = start;
        while (end + 1 < points.length && Math.floor(points[end + 1][0]) === column) {
            ++end;
            if (points[end][1] < points[low][1])
                low = end;
            if (points[end][1] > points[high][1])
                high = end;
        }
        for (const index of [...new Set([start, low, high, end])].sort((a, b) => a - b))
            kept.push(points[index]);
        start = end + 1;
    }
    return kept;
}

const textWidth = (/** @type {string} */ text) => text.length * kCharWidth;
const widestLabel = (/** @type {ChartAxis} */ axis) => Math.max(0, ...axis.ticks.map((tick) => textWidth(tick.label)));
const round = (/** @type {number} */ v) => Math.round(v * 10) / 10;

/**
 * The chart laid out `width` units wide: its height and what to draw, in order.
 * @param {Chart} chart
 * @param {number} width
 * @returns {{height: number, shapes: Shape[]}}
 */
export function layOut(chart, width) {
    /** @type {Shape[]} */
    const shapes = [];
    /** @type {(layer: Shape["layer"], name: string, attributes: Shape["attributes"], text?: string) => void} */
    const add = (layer, name, attributes, text) => {
        shapes.push({ layer, name, attributes, text });
    };

    // Legend on top, as many lines as it takes; axis titles above their labels; tick labels beside and
    // under the plot.
    const left = kGap + widestLabel(chart.build) + kGap;
    const right = width - (kGap + widestLabel(chart.totalXP) + kGap);
    const legend = [];
    let legendX = left;
    let legendLine = 0;
    for (const series of chart.series) {
        const entry = kStroke + kGap / 2 + textWidth(series.name);
        if (legendX > left && legendX + entry > width - kGap) {
            legendX = left;
            ++legendLine;
        }
        legend.push({ series, x: legendX, y: legendLine * kLine + kLine / 2 + 1 });
        legendX += entry + 2 * kGap;
    }
    const titles = (legendLine + 2) * kLine - 4;
    const top = titles + kGap + 4;
    const height = top + kHeight;
    const bottom = height - (2 * kLine + kGap);
    if (right - left < 2 * kGap)
        return { height, shapes };
    add("ink", "text", { x: kGap, y: titles }, chart.build.title);
    add("ink", "text", { x: width - kGap, y: titles, "text-anchor": "end" }, chart.totalXP.title);
    add("ink", "text", { x: (left + right) / 2, y: height - kGap, "text-anchor": "middle" }, chart.x.title);

    // Grid and labels: the left axis's ticks across the plot, the right axis's labels at their own heights.
    for (const tick of chart.build.ticks) {
        const y = round(place(chart.build, tick.value, bottom, top));
        add("grid", "line", { x1: left, y1: y, x2: right, y2: y });
        add("ink", "text", { x: left - kGap, y, "text-anchor": "end", "dominant-baseline": "middle" }, tick.label);
    }
    for (const tick of chart.totalXP.ticks) {
        const y = round(place(chart.totalXP, tick.value, bottom, top));
        add("ink", "text", { x: right + kGap, y, "dominant-baseline": "middle" }, tick.label);
    }
    let lastLabelEnd = -kGap;
    for (const tick of chart.x.ticks) {
        const x = round(place(chart.x, tick.value, left, right));
        const w = textWidth(tick.label);
        add("grid", "line", { x1: x, y1: top, x2: x, y2: bottom });
        // Labels that would run into the one before are left out; the grid line stays.
        if (x - w / 2 < lastLabelEnd + kGap)
            continue;
        add("ink", "text", { x, y: bottom + kLine, "text-anchor": "middle" }, tick.label);
        lastLabelEnd = x + w / 2;
    }
    add("ink", "rect", { x: left, y: top, width: right - left, height: bottom - top, class: "chart-frame" });

    // The goal: a dotted line across the plot in its axis's colour, its words above it (under it near the
    // top), moved left rather than run off the chart where the plot is narrower than they are.
    if (chart.goal) {
        const quantity = nameOf(chart.goal.quantity);
        const y = round(place(quantity === "build" ? chart.build : chart.totalXP, chart.goal.value, bottom, top));
        add("svg", "line", { x1: left, y1: y, x2: right, y2: y, class: "chart-goal chart-" + quantity,
                             "stroke-dasharray": "2 3" });
        const x = Math.max(0, Math.min(left + kGap / 2, width - kGap - textWidth(chart.goal.label)));
        add("ink", "text", { x, y: y - kLine >= top ? y - 4 : y + kLine - 2 }, chart.goal.label);
    }

    // The lines, and the legend of each: a short stroke in the line's pen, then its name.
    for (const { series, x, y } of legend) {
        const quantity = nameOf(series.quantity);
        const kind = "chart-line chart-" + quantity + (series.planned ? " chart-planned" : "");
        const axis = quantity === "build" ? chart.build : chart.totalXP;
        const points = thinned(series.points.map(([px, py]) =>
            [round(place(chart.x, px, left, right)), round(place(axis, py, bottom, top))]));
        add("svg", "polyline", { points: points.map(([px, py]) => px + "," + py).join(" "), class: kind });
        add("svg", "line", { x1: x, y1: y, x2: x + kStroke, y2: y, class: kind });
        add("ink", "text", { x: x + kStroke + kGap / 2, y, "dominant-baseline": "middle" }, series.name);
    }
    return { height, shapes };
}

/** @type {WeakMap<Element, {chart: Chart, width: number}>} */
const drawn = new WeakMap();
/** @type {ResizeObserver | null} */
let resized = null;

function observer() {
    resized ??= new ResizeObserver((entries) => {
        for (const entry of entries) {
            const svg = entry.target;
            const last = drawn.get(svg);
            // A closed dialog's chart has no width; it is drawn again when shown.
            if (last && entry.contentRect.width > 0 && Math.round(entry.contentRect.width) !== last.width)
                draw(/** @type {SVGSVGElement} */ (svg), last.chart);
        }
    });
    return resized;
}

/**
 * @param {Element} parent
 * @param {string} name
 * @param {Shape["attributes"]} attributes
 * @param {string} [text]
 */
function node(parent, name, attributes, text) {
    const element = document.createElementNS(kSvg, name);
    for (const [key, value] of Object.entries(attributes))
        element.setAttribute(key, String(value));
    if (text !== undefined)
        element.textContent = text;
    parent.appendChild(element);
    return element;
}

/**
 * @param {SVGSVGElement} svg
 * @param {Chart} chart
 */
export function draw(svg, chart) {
    const width = Math.max(240, Math.round(svg.getBoundingClientRect().width) || 520);
    drawn.set(svg, { chart, width });
    observer().observe(svg);
    svg.replaceChildren();
    svg.setAttribute("aria-label", chart.caption);
    node(svg, "title", {}, chart.caption);
    const { height, shapes } = layOut(chart, width);
    svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
    if (shapes.length === 0)
        return;
    const layers = { svg, ink: node(svg, "g", { class: "chart-ink" }), grid: node(svg, "g", { class: "chart-grid" }) };
    for (const shape of shapes)
        node(layers[shape.layer], shape.name, shape.attributes, shape.text);
}

/**
 * Forgets a chart that is no longer shown.
 * @param {SVGSVGElement} svg
 */
export function clear(svg) {
    drawn.delete(svg);
    observer().unobserve(svg);
    svg.replaceChildren();
}
