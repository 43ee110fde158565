// @ts-check
// The History box: the captions, then one row per step, the current one marked; under it the chart. On a
// phone its rows are laid out as cards, each figure under its caption (data-caption): the roles keep it
// a table for screen readers, which a table's parts laid out otherwise may no longer be. Only the steps
// in view are drawn, however long the history.
//
// A step in effect has its Event, Date and Note cells edited in place: a tap, a click or Enter on the
// cell's button puts a text box there; Enter or leaving it hands the text to the session as any action
// goes (an Undo entry, the character changed and kept), Escape keeps what was there. The session's
// messages stand over the box.
import * as VornChart from "./chart.js";
import { readDay, showDay } from "./dates.js";
import { letOthersOver, on } from "./dialogs.js";
import { byId } from "./focus.js";
import { RowWindow } from "./rows.js";

/**
 * @typedef {import("./vorn").Session} Session
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").HistoryRow} HistoryRow
 * @typedef {"event" | "date" | "note"} NotesColumn
 * @typedef {{row: number, column: NotesColumn, input: HTMLInputElement, before: string}} Editing
 */

// The figures' columns, then the notes' (the session's captions come in this order).
const kFigures = /** @type {const} */ (["what", "build", "looseXP", "totalXP"]);
const kNotes = /** @type {NotesColumn[]} */ (["event", "date", "note"]);

/** @type {RowWindow | null} */
let historyWindow = null;
/** @type {Editing | null} the cell being edited */
let editing = null;

const locale = () => navigator.language;

// A cell's text as shown, a name's or note's bidi controls written out; and as its editor takes it, the
// text itself for a name or note, kept as it was typed.
/** @param {HistoryRow} row @param {NotesColumn} column */
const shownText = (row, column) =>
    (column === "date" ? showDay(row.date, locale()) : column === "event" ? row.eventShown : row.noteShown);
/** @param {HistoryRow} row @param {NotesColumn} column */
const editedText = (row, column) => (column === "date" ? showDay(row.date, locale()) : row[column]);

/**
 * @param {string[]} captions
 * @param {HistoryRow} row
 * @param {number} index
 * @param {(index: number, column: NotesColumn, text: string) => void} edit starts editing a cell
 */
function historyRow(captions, row, index, edit) {
    const tr = document.createElement("tr");
    tr.setAttribute("role", "row");
    const number = document.createElement("th");
    number.scope = "row";
    number.setAttribute("role", "rowheader");
    number.className = "row-number";
    number.textContent = row.current ? "\u25B6 " + index : String(index);
    tr.appendChild(number);
    kFigures.forEach((key, column) => {
        const cell = tr.insertCell();
        cell.setAttribute("role", "cell");
        cell.textContent = row[key];
        if (column > 0) {
            cell.className = "number";
            cell.dataset.caption = captions[column];
        }
    });
    kNotes.forEach((key, i) => {
        const caption = captions[kFigures.length + i];
        const cell = tr.insertCell();
        cell.setAttribute("role", "cell");
        cell.className = "notes";
        cell.dataset.caption = caption;
        const text = shownText(row, key);
        if (editing && editing.row === index && editing.column === key) {
            cell.appendChild(editing.input);
        } else if (row.notesEditable) {
            const button = cell.appendChild(document.createElement("button"));
            button.type = "button";
            button.className = "cell-edit";
            button.textContent = text;
            // The cell's text first, as it is read without the button; then what the button does.
            button.setAttribute("aria-label", (text ? text + ", " : "") + "edit " + caption + " of step " + index);
            button.addEventListener("click", () => edit(index, key, editedText(row, key)));
        } else {
            cell.textContent = text;
        }
    });
    if (row.current) {
        tr.classList.add("current");
        tr.setAttribute("aria-current", "step");
    }
    if (row.undone)
        tr.classList.add("undone");
    return tr;
}

/**
 * @param {string[]} captions
 * @param {Session} session
 * @param {import("./vorn").Chart} chart
 * @param {(outcome: Outcome) => Promise<void>} apply the page's one road for an action's outcome
 * @param {string} exampleDay the day a date's message gives as its example (ISO 8601)
 */
export function history(captions, session, chart, apply, exampleDay) {
    const table = byId("tblHistory", HTMLTableElement);
    const picture = byId("picHistoryChart", SVGSVGElement);
    const dialog = byId("dlgHistory", HTMLDialogElement);
    const steps = (historyWindow ??= new RowWindow(/** @type {HTMLElement} */ (table.parentElement), table, "th.number, th.row-number"));
    const current = session.historyPosition();
    const notesColumn = (/** @type {NotesColumn} */ column) => kFigures.length + 1 + kNotes.indexOf(column);
    const cellButton = (/** @type {number} */ row, /** @type {NotesColumn} */ column) =>
        steps.row(row)?.cells[notesColumn(column)]?.querySelector("button") ?? null;

    // Set while rows are drawn anew: a text box taken out and put back has not been left.
    let redrawing = false;
    const drawRows = (/** @type {number} */ from, /** @type {number} */ to) => {
        redrawing = true;
        queueMicrotask(() => (redrawing = false));
        const rows = session.historyRows(from, to).map((row, i) => historyRow(captions, row, from + i, start));
        // A cell being edited keeps its text box, and the focus, while the rows around it are drawn anew.
        // (A row drawn twice over loses the focus to the page's body the first time.)
        const kept = editing?.input;
        const active = document.activeElement;
        if (kept && (active === kept || !active || active === document.body))
            queueMicrotask(() => kept.isConnected && kept.focus({ preventScroll: true }));
        return rows;
    };
    // An edit changes its own row alone: drawn anew in its place, the rest of the table as it was.
    const redraw = (/** @type {number} */ index) => {
        const old = steps.row(index);
        if (!dialog.open || !old)
            return;
        const fresh = drawRows(index, index + 1)[0];
        fresh.setAttribute("aria-rowindex", String(index + 2));
        old.replaceWith(fresh);
    };

    // Escape in a cell's text box is the cell's. WebKit closes the box on it even so, its keydown
    // cancelled: the box's cancel that follows is taken back.
    let escaped = false;
    /** @param {Event} event */
    const keepOpen = (event) => {
        if (!editing && !escaped)
            return;
        event.preventDefault();
        event.stopImmediatePropagation();
        if (editing)
            finishEditing(editing, false);
    };

    /** @param {Editing} now @param {boolean} keep whether the text goes to the session */
    async function finishEditing(now, keep) {
        if (editing !== now)
            return;
        editing = null;
        const typed = now.input.value;
        if (keep && typed !== now.before) {
            const outcome = now.column === "event" ? session.editEvent(now.row, typed)
                : now.column === "note" ? session.editNote(now.row, typed)
                    : session.editDate(now.row, typed, readDay(typed, locale()), showDay(exampleDay, locale()));
            await apply(outcome);
        }
        const hadFocus = document.activeElement === now.input || !document.activeElement ||
            document.activeElement === document.body;
        redraw(now.row);
        // Another cell taken up meanwhile keeps the focus.
        if (hadFocus && !editing)
            cellButton(now.row, now.column)?.focus();
    }

    /** @param {number} row @param {NotesColumn} column @param {string} text */
    function start(row, column, text) {
        const input = document.createElement("input");
        input.type = "text";
        input.autocomplete = "off";
        input.className = "cell-input";
        input.value = text;
        input.setAttribute("aria-label", captions[notesColumn(column) - 1] + " of step " + row);
        const now = { row, column, input, before: text };
        input.addEventListener("keydown", (event) => {
            if (event.key !== "Enter" && event.key !== "Escape")
                return;
            // Escape leaves the cell as it was, not the box.
            event.preventDefault();
            event.stopPropagation();
            if (event.key === "Escape") {
                escaped = true;
                setTimeout(() => (escaped = false), 0);
            }
            finishEditing(now, event.key === "Enter");
        });
        // Leaving the cell keeps the text; a row drawn anew takes its box back before this runs.
        input.addEventListener("blur", () => {
            if (!redrawing)
                setTimeout(() => {
                    if (document.activeElement !== input)
                        finishEditing(now, true);
                }, 0);
        });
        if (editing)
            finishEditing(editing, true);
        editing = now;
        const button = cellButton(row, column);
        button?.replaceWith(input);
        input.focus();
        input.select();
    }

    return letOthersOver(dialog, {
        first: byId("dlgHistoryClose"),
        cancelAnswer: undefined,
        prepare(finish, cleanups) {
            const head = /** @type {HTMLTableSectionElement} */ (table.tHead).rows[0];
            while (head.cells.length > 1)
                head.deleteCell(1);
            captions.forEach((caption, column) => {
                const cell = document.createElement("th");
                cell.scope = "col";
                cell.setAttribute("role", "columnheader");
                cell.textContent = caption;
                if (column > 0 && column < kFigures.length)
                    cell.className = "number";
                head.appendChild(cell);
            });
            steps.show(session.historyRowCount(), drawRows);
            on(cleanups, byId("dlgHistoryClose"), () => finish(undefined));
            on(cleanups, dialog, keepOpen, "cancel");
            // Text typed in a cell and not yet confirmed is kept when the page is hidden or left (a tab
            // closed, another app brought up on a phone), as leaving the cell would keep it: the edit
            // takes the one road then, and the page's keeping of the character, which runs on the same
            // events, finds it done. Caught on the window on their way in, these run before it.
            const keepTyped = (/** @type {Event} */ event) => {
                if (editing && (event.type === "pagehide" || document.visibilityState === "hidden"))
                    finishEditing(editing, true);
            };
            for (const type of ["visibilitychange", "pagehide"]) {
                window.addEventListener(type, keepTyped, true);
                cleanups.push(() => window.removeEventListener(type, keepTyped, true));
            }
            cleanups.push(() => VornChart.clear(picture), () => {
                if (editing)
                    finishEditing(editing, true);
                steps.clear();
            });
        },
        // Drawn once open, at the width the dialog gives it.
        shown() {
            VornChart.draw(picture, chart);
            steps.reveal(current)?.scrollIntoView({ block: "nearest" });
        },
    });
}
