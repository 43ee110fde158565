// A progress chart as inline SVG. The session has worked out every point, range and tick label; this only
// maps each axis's range onto the plot area and draws lines and text, as the desktop's chart does. The
// chart is drawn one unit to one CSS pixel of the width it has, so its text stays the page's size on a
// phone, and drawn again when that width changes.
"use strict";

const VornChart = (() => {
    const kSvg = "http://www.w3.org/2000/svg";
    const kHeight = 200; // the plot and its tick labels, under the legend
    const kLine = 16; // a line of text
    const kGap = 7;
    const kCharWidth = 7; // about the width of a digit at the chart's text size
    const kStroke = 3 * kGap; // a legend entry's stroke

    const drawn = new WeakMap(); // svg -> {chart, width}
    const resized = new ResizeObserver((entries) => {
        for (const entry of entries) {
            const svg = entry.target;
            const last = drawn.get(svg);
            // A closed dialog's chart has no width; it is drawn again when shown.
            if (last && entry.contentRect.width > 0 && Math.round(entry.contentRect.width) !== last.width)
                draw(svg, last.chart);
        }
    });

    function node(parent, name, attributes, text) {
        const element = document.createElementNS(kSvg, name);
        for (const [key, value] of Object.entries(attributes || {}))
            element.setAttribute(key, String(value));
        if (text !== undefined)
            element.textContent = text;
        parent.appendChild(element);
        return element;
    }

    // Maps a value of an axis onto the span of units from `from` to `to`.
    function place(axis, value, from, to) {
        const span = axis.most - axis.least;
        return from + (to - from) * (span > 0 ? (value - axis.least) / span : 0.5);
    }

    const textWidth = (text) => text.length * kCharWidth;
    const widestLabel = (axis) => Math.max(0, ...axis.ticks.map((tick) => textWidth(tick.label)));
    const round = (v) => Math.round(v * 10) / 10;

    function draw(svg, chart) {
        const width = Math.max(240, Math.round(svg.getBoundingClientRect().width) || 520);
        drawn.set(svg, { chart, width });
        resized.observe(svg);
        svg.replaceChildren();
        svg.setAttribute("aria-label", chart.caption);
        node(svg, "title", {}, chart.caption);

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
        svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
        if (right - left < 2 * kGap)
            return;
        const ink = node(svg, "g", { class: "chart-ink" });
        const grid = node(svg, "g", { class: "chart-grid" });
        node(ink, "text", { x: kGap, y: titles }, chart.build.title);
        node(ink, "text", { x: width - kGap, y: titles, "text-anchor": "end" }, chart.totalXP.title);
        node(ink, "text", { x: (left + right) / 2, y: height - kGap, "text-anchor": "middle" }, chart.x.title);

        // Grid and labels: the left axis's ticks across the plot, the right axis's labels at their own heights.
        for (const tick of chart.build.ticks) {
            const y = round(place(chart.build, tick.value, bottom, top));
            node(grid, "line", { x1: left, y1: y, x2: right, y2: y });
            node(ink, "text", { x: left - kGap, y, "text-anchor": "end", "dominant-baseline": "middle" }, tick.label);
        }
        for (const tick of chart.totalXP.ticks) {
            const y = round(place(chart.totalXP, tick.value, bottom, top));
            node(ink, "text", { x: right + kGap, y, "dominant-baseline": "middle" }, tick.label);
        }
        let lastLabelEnd = -kGap;
        for (const tick of chart.x.ticks) {
            const x = round(place(chart.x, tick.value, left, right));
            const w = textWidth(tick.label);
            node(grid, "line", { x1: x, y1: top, x2: x, y2: bottom });
            // Labels that would run into the one before are left out; the grid line stays.
            if (x - w / 2 < lastLabelEnd + kGap)
                continue;
            node(ink, "text", { x, y: bottom + kLine, "text-anchor": "middle" }, tick.label);
            lastLabelEnd = x + w / 2;
        }
        node(ink, "rect", { x: left, y: top, width: right - left, height: bottom - top, class: "chart-frame" });

        // The lines, and the legend of each: a short stroke in the line's pen, then its name.
        for (const { series, x, y } of legend) {
            const kind = "chart-line chart-" + series.quantity + (series.planned ? " chart-planned" : "");
            const axis = series.quantity === "build" ? chart.build : chart.totalXP;
            const points = series.points.map(([px, py]) =>
                round(place(chart.x, px, left, right)) + "," + round(place(axis, py, bottom, top)));
            node(svg, "polyline", { points: points.join(" "), class: kind });
            node(svg, "line", { x1: x, y1: y, x2: x + kStroke, y2: y, class: kind });
            node(ink, "text", { x: x + kStroke + kGap / 2, y, "dominant-baseline": "middle" }, series.name);
        }
    }

    // Forgets a chart that is no longer shown.
    function clear(svg) {
        drawn.delete(svg);
        resized.unobserve(svg);
        svg.replaceChildren();
    }

    return { draw, clear };
})();
