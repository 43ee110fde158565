// @ts-check
// A progress chart as inline SVG. The session has worked out every point, range and tick label, and lays
// the chart out (session/ChartLayout) as it does for the desktop's: where the legend, titles, tick labels,
// grid and goal line go, and how the axes map onto the plot. This only draws what the layout says. The
// chart is drawn one unit to one CSS pixel of the width it has, so its text stays the page's size on a
// phone, and drawn again when that width changes.

import { nameOf } from "./enums.js";

/**
 * @typedef {import("./vorn").Chart} Chart
 * @typedef {import("./vorn").ChartLayout} ChartLayout
 * @typedef {import("./vorn").ChartText} ChartText
 * @typedef {import("./vorn").ChartScale} ChartScale
 * @typedef {import("./vorn").VornModuleApi["layOutChart"]} LayOut
 */

/**
 * One element of the drawing: into the svg itself, or into its group of text ("ink") or of grid lines.
 * @typedef {{layer: "svg" | "ink" | "grid", name: string, attributes: Record<string, string | number>, text?: string}} Shape
 */

const kSvg = "http://www.w3.org/2000/svg";
const kHeight = 200; // the plot and its tick labels, under the legend and the axis titles
const kLine = 16; // a line of text
const kGap = 7;
const kCharWidth = 7; // about the width of a digit at the chart's text size

/** @type {LayOut | null} */
let layOutChart = null;

/**
 * Charts are laid out by the session's layOutChart, once the page has it.
 * @param {LayOut} layOut
 */
export function start(layOut) {
    layOutChart = layOut;
}

/** @param {string} text */
const textWidth = (text) => text.length * kCharWidth;
const round = (/** @type {number} */ v) => Math.round(v * 10) / 10;

/** @param {ChartScale} scale @param {number} value */
export const place = (scale, value) =>
    scale.from + (scale.to - scale.from) * (scale.span > 0 ? (value - scale.least) / scale.span : 0.5);

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

/**
 * A text of the layout as SVG draws it: centred from top to bottom in its box, aligned across it.
 * @param {ChartText} t
 * @returns {Shape}
 */
function text(t) {
    const align = nameOf(t.align);
    const x = align === "left" ? t.box.x : align === "center" ? t.box.x + t.box.width / 2 : t.box.x + t.box.width;
    /** @type {Shape["attributes"]} */
    const attributes = { x: round(x), y: round(t.box.y + t.box.height / 2), "dominant-baseline": "middle" };
    if (align !== "left")
        attributes["text-anchor"] = align === "center" ? "middle" : "end";
    return { layer: "ink", name: "text", attributes, text: t.text };
}

/** @param {import("./vorn").ChartSegment} s */
const ends = (s) => ({ x1: round(s.from[0]), y1: round(s.from[1]), x2: round(s.to[0]), y2: round(s.to[1]) });

/**
 * What to draw of a chart laid out, in order.
 * @param {Chart} chart
 * @param {ChartLayout} layout
 * @returns {Shape[]}
 */
export function shapes(chart, layout) {
    if (!layout.fits)
        return [];
    /** @type {Shape[]} */
    const drawn = [];
    for (const segment of layout.grid)
        drawn.push({ layer: "grid", name: "line", attributes: ends(segment) });
    for (const label of layout.labels)
        drawn.push(text(label));
    const plot = layout.plot;
    drawn.push({ layer: "ink", name: "rect",
                 attributes: { x: round(plot.x), y: round(plot.y), width: round(plot.width), height: round(plot.height),
                               class: "chart-frame" } });
    // The goal: a dotted line across the plot in its axis's colour, and its words.
    if (layout.goal) {
        const quantity = nameOf(layout.goal.quantity);
        drawn.push({ layer: "svg", name: "line", attributes: { ...ends(layout.goal.line),
                     class: "chart-goal chart-" + quantity, "stroke-dasharray": "2 3" } });
        drawn.push(text(layout.goal.label));
    }
    // The lines, and the legend of each: a short stroke in the line's pen, then its name.
    chart.series.forEach((series, i) => {
        const entry = layout.legend[i];
        if (!entry)
            return;
        const quantity = nameOf(series.quantity);
        const kind = "chart-line chart-" + quantity + (series.planned ? " chart-planned" : "");
        const y = quantity === "build" ? layout.build : layout.totalXP;
        const points = thinned(series.points.map(([px, py]) => [round(place(layout.x, px)), round(place(y, py))]));
        drawn.push({ layer: "svg", name: "polyline", attributes: { points: points.map(([px, py]) => px + "," + py).join(" "), class: kind } });
        drawn.push({ layer: "svg", name: "line", attributes: { ...ends(entry.stroke), class: kind } });
        drawn.push(text(entry.name));
    });
    return drawn;
}

/**
 * The chart laid out `width` units wide, as tall as its legend and titles need over the plot.
 * @param {Chart} chart
 * @param {number} width
 */
function layOut(chart, width) {
    if (!layOutChart)
        throw new Error("charts are drawn once the page has started");
    // The layout needs only the series' names: their points stay on this side.
    const outline = { ...chart, series: chart.series.map((series) => ({ ...series, points: [] })) };
    return layOutChart(outline, { width, height: kHeight, growsWithLegend: true }, kLine, kGap, textWidth);
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
    const layout = layOut(chart, width);
    svg.setAttribute("viewBox", `0 0 ${width} ${layout.height}`);
    const parts = shapes(chart, layout);
    if (parts.length === 0)
        return;
    const layers = { svg, ink: node(svg, "g", { class: "chart-ink" }), grid: node(svg, "g", { class: "chart-grid" }) };
    for (const shape of parts)
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
