// @ts-check
// A long table drawn a screenful at a time. Its scroll area keeps the height of every row, but only the
// rows on screen, and a few either side, are in the page; the rest stand in as two empty rows of the
// right height above and below, hidden from screen readers, which hear the table's full length from
// aria-rowcount and each row's place in it from aria-rowindex. A history or plan of ten thousand rows
// then costs what a screenful costs, to draw and to scroll.

const kMargin = 12; // rows drawn beyond each edge of the scroll area, so that a small scroll draws nothing
const kFirstGuess = 24; // a row's height in pixels until one has been measured

/**
 * The rows a scroll area shows: [from, to), given the rows' height, the scroll area's top within the
 * table's body and its height. A hidden scroll area (no height) shows the first row or two.
 * @param {number} count
 * @param {number} rowHeight
 * @param {number} top
 * @param {number} height
 */
export function shownRows(count, rowHeight, top, height) {
    const from = Math.min(count, Math.max(0, Math.floor(top / rowHeight)));
    const to = Math.min(count, Math.max(from + 1, Math.ceil((top + height) / rowHeight)));
    return { from, to };
}

/**
 * The rows to draw for those shown, with a margin either side, within [0, count).
 * @param {{from: number, to: number}} shown
 * @param {number} count
 */
export function rowsToDraw(shown, count, margin = kMargin) {
    return { from: Math.max(0, shown.from - margin), to: Math.min(count, shown.to + margin) };
}

/**
 * How far to scroll so that the span [top, bottom) is in view within [viewTop, viewBottom), moving as
 * little as may be (the way scrollIntoView's "nearest" does): its top wins where it does not fit.
 * @param {number} top
 * @param {number} bottom
 * @param {number} viewTop
 * @param {number} viewBottom
 */
export function nearestScroll(top, bottom, viewTop, viewBottom) {
    if (top < viewTop || bottom - top > viewBottom - viewTop)
        return top - viewTop;
    return bottom > viewBottom ? bottom - viewBottom : 0;
}

/** A table, inside its scroll area, whose body rows are drawn only where they are seen. */
export class RowWindow {
    /**
     * @param {HTMLElement} frame the scroll area
     * @param {HTMLTableElement} table
     * @param {string} held the header cells of the columns that keep their widest while shown (figures,
     *     which would otherwise shift as longer ones scroll into view); not a column whose text wraps
     */
    constructor(frame, table, held) {
        this.frame = frame;
        this.table = table;
        this.held = held;
        this.body = table.tBodies[0];
        this.count = 0;
        this.rowHeight = kFirstGuess;
        /** @type {(from: number, to: number) => HTMLTableRowElement[]} */
        this.drawRows = () => [];
        this.drawn = { from: 0, to: 0 };
        frame.addEventListener("scroll", () => this.draw(false), { passive: true });
        // A new width or text size may give the rows another height. Drawn in the next frame: drawing
        // may change the scroll area's size again, which the observer would otherwise have to report in
        // the same frame (and the browser complain of a loop).
        new ResizeObserver(() => requestAnimationFrame(() => {
            if (this.count === 0)
                return;
            for (const cell of this.table.querySelectorAll(`thead ${held}`))
                /** @type {HTMLElement} */ (cell).style.width = "";
            this.draw(true);
        })).observe(frame);
    }

    /**
     * Shows `count` rows, rows [from, to) made by `drawRows(from, to)` as they come into view. The header
     * row is the table's first.
     * @param {number} count
     * @param {(from: number, to: number) => HTMLTableRowElement[]} drawRows
     */
    show(count, drawRows) {
        this.count = count;
        this.drawRows = drawRows;
        this.table.setAttribute("aria-rowcount", String(count + 1));
        const head = this.table.tHead?.rows[0];
        if (head)
            head.setAttribute("aria-rowindex", "1");
        this.draw(true);
    }

    clear() {
        this.count = 0;
        this.drawn = { from: 0, to: 0 };
        this.table.removeAttribute("aria-rowcount");
        this.body.replaceChildren();
    }

    /**
     * Scrolls row `index` into view, as little as may be, and gives its element.
     * @param {number} index
     * @returns {HTMLTableRowElement | null}
     */
    reveal(index) {
        if (index < 0 || index >= this.count)
            return null;
        // Measured where the table stands first: the rows' height says where row `index` lies. A second
        // pass corrects for rows of another height there.
        this.draw(true);
        for (let pass = 0; pass < 2; ++pass) {
            // The sticky header covers the top of the scroll area, as high as the body starts below it.
            const bodyTop = this.bodyTop();
            const top = bodyTop + index * this.rowHeight;
            const by = nearestScroll(top, top + this.rowHeight, this.frame.scrollTop + bodyTop,
                                     this.frame.scrollTop + this.frame.clientHeight);
            if (by === 0)
                break;
            this.frame.scrollTop += by;
            this.draw(true);
        }
        return this.row(index);
    }

    /** @param {number} index @returns {HTMLTableRowElement | null} */
    row(index) {
        return this.body.querySelector(`tr[aria-rowindex="${index + 2}"]`);
    }

    // Where the body starts within the scroll area's content.
    bodyTop() {
        return this.body.getBoundingClientRect().top - this.frame.getBoundingClientRect().top -
            this.frame.clientTop + this.frame.scrollTop;
    }

    /**
     * Draws the rows in view, unless they are already drawn; `measure` draws them anew and takes the
     * rows' height from them (on showing, and when the scroll area changes size).
     * @param {boolean} measure
     */
    draw(measure) {
        if (this.count === 0) {
            this.fill({ from: 0, to: 0 });
            return;
        }
        const shown = this.shown();
        if (!measure && shown.from >= this.drawn.from && shown.to <= this.drawn.to)
            return;
        this.fill(rowsToDraw(shown, this.count));
        const height = measure ? this.measured() : 0;
        if (height > 0 && Math.abs(height - this.rowHeight) > 0.5) {
            this.rowHeight = height;
            this.fill(rowsToDraw(this.shown(), this.count));
        }
        this.holdWidths();
    }

    shown() {
        return shownRows(this.count, this.rowHeight, this.frame.scrollTop - this.bodyTop(), this.frame.clientHeight);
    }

    /** @param {{from: number, to: number}} range */
    fill(range) {
        const focused = document.activeElement;
        const place = focused instanceof HTMLElement && this.body.contains(focused) ? this.placeOf(focused) : null;
        const rows = document.createDocumentFragment();
        if (range.from > 0)
            rows.appendChild(this.spacer(range.from));
        this.drawRows(range.from, range.to).forEach((tr, i) => {
            tr.setAttribute("aria-rowindex", String(range.from + i + 2));
            rows.appendChild(tr);
        });
        if (range.to < this.count)
            rows.appendChild(this.spacer(this.count - range.to));
        this.body.replaceChildren(rows);
        this.drawn = range;
        if (place && document.activeElement !== focused)
            this.focusAgain(place);
    }

    // Where in the rows the focus is: its element, row and cell. Rows drawn anew (the table settling
    // into a new size after an edit, say) would otherwise take it out of the page, and the focus would
    // fall to the page's body.
    /** @param {HTMLElement} element */
    placeOf(element) {
        const cell = element.closest("td, th");
        return { element, row: element.closest("tr")?.getAttribute("aria-rowindex") ?? "",
                 cell: cell instanceof HTMLTableCellElement ? cell.cellIndex : -1 };
    }

    // The focus back where it was: on the element itself where it is drawn again (a cell's text box),
    // else on the same kind of element in the same cell of the row drawn anew.
    /** @param {ReturnType<RowWindow["placeOf"]>} place */
    focusAgain({ element, row, cell }) {
        let target = element.isConnected ? element : null;
        if (!target && cell >= 0) {
            const drawn = this.body.querySelector(`tr[aria-rowindex="${row}"]`);
            const again = drawn instanceof HTMLTableRowElement ? drawn.cells[cell] : null;
            target = again && (again.tagName === element.tagName ? again : again.querySelector(element.tagName));
        }
        if (target instanceof HTMLElement)
            target.focus({ preventScroll: true });
    }

    // Each held column keeps the widest it has been drawn while the scroll area keeps its size. All are
    // read before any is written, so that the table is laid out once.
    holdWidths() {
        if (this.frame.clientHeight === 0)
            return;
        const cells = /** @type {HTMLElement[]} */ ([...this.table.querySelectorAll(`thead ${this.held}`)]);
        const widths = cells.map((cell) => {
            const style = getComputedStyle(cell);
            return Math.ceil(cell.getBoundingClientRect().width - parseFloat(style.paddingLeft) -
                parseFloat(style.paddingRight) - parseFloat(style.borderLeftWidth) - parseFloat(style.borderRightWidth));
        });
        cells.forEach((cell, i) => {
            if (widths[i] > parseFloat(cell.style.width || "0") + 0.5)
                cell.style.width = widths[i] + "px";
        });
    }

    // The mean height of the rows drawn; 0 while the table is not laid out (its dialog closed).
    measured() {
        const first = this.row(this.drawn.from);
        const last = this.row(this.drawn.to - 1);
        if (!first || !last)
            return 0;
        const height = last.getBoundingClientRect().bottom - first.getBoundingClientRect().top;
        return height / (this.drawn.to - this.drawn.from);
    }

    // An empty row standing for `rows` rows not drawn.
    /** @param {number} rows */
    spacer(rows) {
        const tr = document.createElement("tr");
        tr.className = "row-spacer";
        tr.setAttribute("aria-hidden", "true");
        tr.style.height = rows * this.rowHeight + "px";
        const cell = tr.insertCell();
        cell.colSpan = Math.max(1, this.table.tHead?.rows[0]?.cells.length ?? 1);
        return tr;
    }
}
