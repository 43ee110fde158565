// @ts-check
// The Plan Ahead dialog: a goal and an event pattern in, the session's answer out (how many events reach
// the goal, a table of them and a chart of the character continuing along them). Planning never changes
// the character; Apply Plan hands the plan shown to the calculator, which records it as one step. The
// dialog keeps its choices between openings, as the desktop's Plan window does.
import * as VornChart from "./chart.js";
import * as VornDialogs from "./dialogs.js";
import { nameOf } from "./enums.js";
import { VornFocus, byId } from "./focus.js";
import { RowWindow } from "./rows.js";

const kBoxes = ["txtPlanGoal", "txtPlanLength", "txtPlanSilver", "txtPlanBlankets"];
const kManualLength = "-1";

/**
 * @typedef {import("./vorn").Session} Session
 * @typedef {import("./vorn").Boxes} Boxes
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").PlanRequest} PlanRequest
 * @typedef {import("./vorn").PlanAnswer} PlanAnswer
 * @typedef {{PlanGoal: import("./vorn").Enum, PlanCoin: import("./vorn").Enum}} PlanChoices the session's
 *     plan choices by the words of the dialog's lists
 * @typedef {{session: Session, boxes: () => Boxes, apply: (outcome: Outcome) => Promise<void>,
 *            enums: PlanChoices}} Calculator
 */

/** @type {Calculator} */
let calculator;
let started = false;
/** @type {PlanRequest | null} the request whose answer is shown */
let shown = null;

// The dialog's lists, boxes and table, taken when the page starts.
/** @type {HTMLSelectElement} */
let goal;
/** @type {HTMLSelectElement} */
let lengthList;
/** @type {HTMLInputElement} */
let lengthBox;
/** @type {HTMLSelectElement} */
let coin;
/** @type {HTMLInputElement} */
let silver;
/** @type {HTMLTableElement} */
let table;
// Up to ten thousand planned events, drawn as they come into view.
/** @type {RowWindow} */
let events;

/** @returns {PlanRequest} */
function request() {
    return {
        goal: calculator.enums.PlanGoal[goal.value],
        goalValue: byId("txtPlanGoal", HTMLInputElement).value,
        eventLengthEntry: Number(lengthList.value),
        manualLength: lengthBox.value,
        coin: calculator.enums.PlanCoin[coin.value],
        silver: silver.value,
        blanketsBetween: byId("txtPlanBlankets", HTMLInputElement).value,
    };
}

// A fixed entry shows its length in the box, as the calculator's list does; manual input lets the user
// type one.
function lengthChosen() {
    const manual = lengthList.value === kManualLength;
    if (!manual)
        lengthBox.value = lengthList.value;
    lengthBox.disabled = !manual;
}

function coinChosen() {
    silver.disabled = coin.value !== "silver";
}

// One planned event: its number heads the row, as on a phone it heads the event's card, each figure
// after its caption (data-caption). The roles keep it a table to screen readers however it is laid out.
/** @param {string[]} captions @param {string} line the event's cells, separated by tabs */
function plannedEvent(captions, line) {
    const tr = document.createElement("tr");
    tr.setAttribute("role", "row");
    line.split("\t").forEach((text, column) => {
        const cell = document.createElement(column === 0 ? "th" : "td");
        if (column === 0)
            cell.scope = "row";
        cell.setAttribute("role", column === 0 ? "rowheader" : "cell");
        cell.dataset.caption = captions[column];
        cell.textContent = text;
        tr.appendChild(cell);
    });
    return tr;
}

/** @param {PlanAnswer} answer */
function showAnswer(answer) {
    byId("lblPlanAnswer").textContent = answer.text;
    const head = /** @type {HTMLTableSectionElement} */ (table.tHead).rows[0];
    head.replaceChildren();
    for (const caption of answer.columns) {
        const cell = document.createElement("th");
        cell.scope = "col";
        cell.setAttribute("role", "columnheader");
        cell.textContent = caption;
        head.appendChild(cell);
    }
    const lines = answer.cells.split("\n");
    lines.pop();
    events.show(lines.length, (from, to) => lines.slice(from, to).map((line) => plannedEvent(answer.columns, line)));
    VornChart.draw(byId("picPlanChart", SVGSVGElement), answer.chart);
    enableApply(answer.canApply);
}

/** @param {boolean} enabled */
function enableApply(enabled) {
    const apply = byId("cmdApplyPlan", HTMLButtonElement);
    // A button about to be disabled hands the focus on, as a window moves it to its next control.
    if (!enabled && document.activeElement === apply)
        VornFocus.move(byId("dlgPlanClose", HTMLButtonElement), "program");
    apply.disabled = !enabled;
}

// An answer stands only for the request it answers: once a box or list changes, or a Plan is refused,
// nothing is shown and nothing can be applied until Plan answers again.
function clearAnswer() {
    shown = null;
    byId("lblPlanAnswer").textContent = "";
    /** @type {HTMLTableSectionElement} */ (table.tHead).rows[0].replaceChildren();
    events.clear();
    VornChart.clear(byId("picPlanChart", SVGSVGElement));
    enableApply(false);
}

// The dialog first opens on the next Level, with the event and preview the calculator has chosen.
function startFromTheCharacter() {
    const start = calculator.session.planStart();
    goal.value = nameOf(start.goal);
    byId("txtPlanGoal", HTMLInputElement).value = start.goalValue;
    lengthList.value = String(start.eventLengthEntry);
    coin.value = nameOf(start.coin);
    silver.value = start.silver;
    byId("txtPlanBlankets", HTMLInputElement).value = start.blanketsBetween;
    lengthChosen();
    coinChosen();
    const r = request();
    const answer = calculator.session.plan(r);
    if (nameOf(answer.verdict) !== "refused") {
        shown = r;
        showAnswer(answer);
    }
}

// The character changed: the plan shown is worked out again from it.
function refresh() {
    if (!shown)
        return;
    const answer = calculator.session.plan(shown);
    if (nameOf(answer.verdict) === "refused") {
        // Only the silver can be refused by a changed character: a lower Build allows less.
        showAnswer(Object.assign({}, answer, { text: answer.messages[0].text, canApply: false }));
        shown = null;
        return;
    }
    showAnswer(answer);
}

async function plan() {
    const r = request();
    const answer = calculator.session.plan(r);
    if (nameOf(answer.verdict) === "refused") {
        clearAnswer();
        for (const message of answer.messages)
            await VornDialogs.message(message.text, nameOf(message.icon));
        const focus = nameOf(answer.focus);
        const target = focus && focus !== "none" ? byId(focus, HTMLInputElement) : null;
        if (target && !target.disabled) {
            VornFocus.move(target, "program");
            if (answer.selectAll)
                target.select();
        }
        return;
    }
    shown = r;
    showAnswer(answer);
    revealAnswer();
}

// The answer Plan gave, in view: where the dialog scrolls (a phone, large text) and the answer does not
// stand wholly in view, it is brought to the top, the table after it. Apply Plan is in view already,
// in the buttons below what scrolls.
function revealAnswer() {
    const body = byId("dlgPlanBody");
    const answer = byId("lblPlanAnswer");
    const view = body.getBoundingClientRect();
    const shown = answer.getBoundingClientRect();
    if (shown.top < view.top || shown.bottom > view.bottom)
        body.scrollTop += shown.top - view.top;
}

async function applyPlan() {
    if (!shown)
        return;
    await calculator.apply(calculator.session.applyPlan(shown, calculator.boxes()));
    refresh();
}

// `session`: the page's session; `boxes()`: the calculator's four boxes; `apply(outcome)`: the
// calculator's way of showing what an action did.
/**
 * @param {Session} session
 * @param {() => Boxes} boxes
 * @param {(outcome: Outcome) => Promise<void>} apply
 * @param {PlanChoices} enums
 */
export function init(session, boxes, apply, enums) {
    calculator = { session, boxes, apply, enums };
    goal = byId("cboPlanGoal", HTMLSelectElement);
    lengthList = byId("cboPlanLength", HTMLSelectElement);
    lengthBox = byId("txtPlanLength", HTMLInputElement);
    coin = byId("cboPlanCoin", HTMLSelectElement);
    silver = byId("txtPlanSilver", HTMLInputElement);
    table = byId("tblPlan", HTMLTableElement);
    events = new RowWindow(/** @type {HTMLElement} */ (table.parentElement), table, "th");
    lengthList.addEventListener("change", lengthChosen);
    coin.addEventListener("change", coinChosen);
    for (const id of kBoxes)
        byId(id).addEventListener("input", clearAnswer);
    for (const list of [goal, lengthList, coin])
        list.addEventListener("change", clearAnswer);
    byId("cmdPlan", HTMLButtonElement).addEventListener("click", plan);
    byId("cmdApplyPlan", HTMLButtonElement).addEventListener("click", applyPlan);
    // One press, one click, as in the calculator: a held Enter must not apply a plan that falls short
    // of its goal again and again.
    byId("dlgPlan", HTMLDialogElement).addEventListener("keydown", (event) => {
        if (event.key === "Enter" && event.repeat && event.target instanceof HTMLButtonElement)
            event.preventDefault();
    });
    // Enter in any box plans, as the dialog's one default command.
    for (const id of kBoxes)
        byId(id).addEventListener("keydown", (event) => {
            if (event.key === "Enter" && !event.isComposing && !event.repeat) {
                event.preventDefault();
                plan();
            }
        });
}

export function open() {
    const dialog = byId("dlgPlan", HTMLDialogElement);
    return VornDialogs.letOthersOver(dialog, {
        first: byId("cboPlanGoal", HTMLSelectElement),
        cancelAnswer: undefined,
        prepare(finish, cleanups) {
            VornDialogs.on(cleanups, byId("dlgPlanClose", HTMLButtonElement), () => finish(undefined));
        },
        // Answered once open, so that the chart takes the width the dialog gives it.
        shown() {
            // Read from its top, as every box is.
            byId("dlgPlanBody").scrollTop = 0;
            if (!started) {
                started = true;
                startFromTheCharacter();
            } else {
                refresh();
            }
        },
    });
}
