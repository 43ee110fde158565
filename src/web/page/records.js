// @ts-check
// The character's record beyond the calculator: its history handed to a spreadsheet (a download), the
// events of a spreadsheet added to it, and the printed character sheet. The sheet is written into the
// page only just before the browser prints, whether from the File menu or the browser's own, and the
// print stylesheet shows it alone; its table holds every step in effect, however many.
import * as VornChart from "./chart.js";
import { dayOrder, showDay } from "./dates.js";
import { byId } from "./focus.js";
import * as VornStorage from "./storage.js";

/**
 * @typedef {import("./vorn").Session} Session
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").CharacterSheet} CharacterSheet
 * @typedef {{columns: string[], figures: boolean[]}} SheetColumns
 */

/**
 * The name a download of the character's spreadsheet takes: the character's file name with .csv in
 * place of its own ending.
 * @param {string} characterFile
 */
export const csvName = (characterFile) => characterFile.replace(/\.[^.]*$/, "") + ".csv";

/**
 * @template {keyof HTMLElementTagNameMap} K
 * @param {Element} parent
 * @param {K} tag
 * @param {string} [text]
 * @param {string} [className]
 */
function add(parent, tag, text, className) {
    const element = parent.appendChild(document.createElement(tag));
    if (text !== undefined)
        element.textContent = text;
    if (className)
        element.className = className;
    return element;
}

/**
 * Writes the sheet into `section`: the title, the file, the class and the day, the six results, the
 * chart and the table of the steps in effect, dates in the user's format.
 * @param {HTMLElement} section
 * @param {CharacterSheet} sheet
 * @param {import("./vorn").Chart} chart
 * @param {SheetColumns} columns
 * @param {string} locale
 */
export function writeSheet(section, sheet, chart, columns, locale) {
    section.replaceChildren();
    add(section, "h1", sheet.title);
    const facts = add(section, "p", undefined, "sheet-facts");
    for (const fact of [sheet.fileName, sheet.className, showDay(sheet.printedOn, locale)])
        if (fact)
            add(facts, "span", fact);
    const results = add(section, "dl", undefined, "sheet-results");
    for (const { caption, value } of sheet.results) {
        const pair = add(results, "div");
        add(pair, "dt", caption);
        add(pair, "dd", value);
    }
    const picture = /** @type {SVGSVGElement} */ (section.appendChild(document.createElementNS("http://www.w3.org/2000/svg", "svg")));
    picture.setAttribute("class", "chart");
    picture.setAttribute("role", "img");
    VornChart.draw(picture, chart);
    const table = add(section, "table", undefined, "sheet-steps");
    const head = add(add(table, "thead"), "tr");
    columns.columns.forEach((caption, i) => {
        const th = add(head, "th", caption, columns.figures[i] ? "number" : "");
        th.scope = "col";
    });
    const body = add(table, "tbody");
    const fields = /** @type {const} */ (["step", "date", "event", "note", "what", "build", "looseXP", "totalXP"]);
    for (const row of sheet.rows) {
        const tr = add(body, "tr", undefined, row.current ? "current" : "");
        fields.forEach((field, i) => {
            const text = field === "date" ? showDay(row.date, locale) : row[field];
            add(tr, i === 0 ? "th" : "td", text, columns.figures[i] ? "number" : "");
        });
    }
}

/**
 * @param {import("./vorn").SessionClass} Session
 * @param {Session} session
 * @param {() => import("./vorn").Boxes} boxes
 * @param {(outcome: Outcome) => Promise<void>} apply the page's one road for an action's outcome
 * @param {(text: string) => Promise<void>} showMessage
 * @param {() => string} characterFile the character's file name, or the one Save suggests
 * @param {SheetColumns} columns the sheet table's captions, and which hold figures
 */
export function records(Session, session, boxes, apply, showMessage, characterFile, columns) {
    const section = byId("printSheet");
    const input = byId("filImportEvents", HTMLInputElement);

    const writeNow = () => {
        writeSheet(section, session.sheet(boxes()), session.historyChart(), columns, navigator.language);
        section.hidden = false;
    };
    const clear = () => {
        section.hidden = true;
        for (const chart of section.querySelectorAll("svg"))
            VornChart.clear(/** @type {SVGSVGElement} */ (chart));
        section.replaceChildren();
    };
    window.addEventListener("beforeprint", writeNow);
    window.addEventListener("afterprint", clear);

    input.addEventListener("change", async () => {
        const file = input.files?.[0];
        if (!file)
            return;
        // The file's own bytes: the session tells UTF-8 from UTF-16 and Windows-1252, as the desktop does.
        let bytes;
        try {
            bytes = file.size <= Session.mostFileBytes() ? new Uint8Array(await file.arrayBuffer()) : null;
        } catch (e) {
            await showMessage(Session.notRead(file.name, e instanceof Error ? e.message : String(e)));
            return;
        }
        if (bytes === null) {
            await showMessage(Session.tooLarge(file.name));
            return;
        }
        await apply(session.importEvents(bytes, boxes(), dayOrder(navigator.language)[0]));
    });

    return {
        exportHistory: () => VornStorage.download(session.historyCsv(), csvName(characterFile())),
        importEvents: () => {
            input.value = "";
            input.click();
        },
        print: () => window.print(),
    };
}
