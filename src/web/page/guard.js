// @ts-check
// The event-length box's focus-leave check in the page: the session's rule decides which moves of the
// focus run the check; this module cancels, as the window does, a press, a Tab or a move by other means
// that the check refuses, and takes Tab and Shift+Tab round the window's controls in its order.
import * as VornDialogs from "./dialogs.js";
import { VornFocus, byId } from "./focus.js";
import * as VornMenus from "./menus.js";

// The event-length box and list, taken when guarding starts.
/** @type {HTMLInputElement} */
let lengthBox;
/** @type {HTMLSelectElement} */
let lengthList;

// The session's focus-leave rule decides which moves of the focus from the event-length box run the
// length check (and which put it off); here are the page's mechanics of the focus: a move the check
// refuses is cancelled.
/**
 * @type {{rule: import("./vorn").FocusLeaveRule | null, targets: import("./vorn").Enum,
 *         leave: () => import("./vorn").Outcome, apply: (outcome: import("./vorn").Outcome) => unknown,
 *         tabOrder: string[], order: string[], passedTo: EventTarget | null, swallowClick: boolean}}
 */
const guard = {
    rule: null, targets: {}, leave: () => { throw new Error("not started"); }, apply: () => undefined,
    tabOrder: [], order: [], passedTo: null, swallowClick: false,
};

/** @param {EventTarget | null} target where a move would take the focus */
function focusTarget(target) {
    const t = guard.targets;
    if (!target || target === document.activeElement)
        return t.stay;
    return target === lengthBox ? t.box : target === lengthList ? t.list : t.other;
}

/** @param {any} element @returns {element is HTMLInputElement} a control of the window's, of any kind */
function isWindowControl(element) {
    return !!element && guard.tabOrder.includes(element.id);
}

/** @param {EventTarget | null} from whether a move of the focus from there answers to the rule */
function guardingFrom(from) {
    if (!guard.rule || VornDialogs.anyOpen())
        return false;
    return guard.rule.holds(!lengthBox.disabled, from === lengthBox, from === lengthList);
}

function guarding() {
    return guardingFrom(document.activeElement);
}

// The session's check of the length, which may show a message; the rule holds no move while it runs.
/** @param {EventTarget | null} target */
function checkLeavingFor(target) {
    if (!guard.rule || !guard.rule.needsCheck(focusTarget(target)))
        return null;
    let outcome;
    try {
        outcome = guard.leave();
    } finally {
        guard.rule.checked(!!outcome && outcome.accepted);
    }
    guard.apply(outcome);
    return outcome;
}

/** @param {HTMLElement | null} target */
function allowMoveTo(target) {
    const outcome = checkLeavingFor(target);
    if (!outcome)
        return true;
    if (outcome.accepted)
        guard.passedTo = target;
    return outcome.accepted;
}

// The control a press would give the focus to: the control itself, or the one a label names.
/** @param {Element} element @returns {HTMLElement | null} */
function controlAt(element) {
    const label = element.closest && element.closest("label");
    if (label && label.control)
        return /** @type {HTMLInputElement} */ (label.control).disabled ? null : /** @type {HTMLElement} */ (label.control);
    const control = element.closest && element.closest("button, input, select, textarea, a[href]");
    return isWindowControl(control) && !control.disabled ? control : null;
}

/** @param {MouseEvent} event */
function onPress(event) {
    guard.swallowClick = false;
    guard.passedTo = null;
    const pressed = /** @type {Element} */ (event.target);
    if (!guarding() || VornMenus.isMenuBar(pressed))
        return;
    const target = controlAt(pressed);
    if (!target) {
        // A press beside the controls leaves the focus where it is, as in the window.
        event.preventDefault();
        return;
    }
    if (!allowMoveTo(target)) {
        event.preventDefault();
        guard.swallowClick = true;
    }
}

/** @param {MouseEvent} event */
function onClickAfterRefusal(event) {
    if (!guard.swallowClick)
        return;
    guard.swallowClick = false;
    if (!(/** @type {Element} */ (event.target).closest("dialog"))) {
        event.preventDefault();
        event.stopPropagation();
    }
}

// What the focus would have left for by other means (an assistive technology, an access key): the
// check still runs, and a refused length takes the focus back.
/** @param {FocusEvent} event */
function onLeave(event) {
    const to = event.relatedTarget;
    if (guard.passedTo === to) {
        guard.passedTo = null;
        return;
    }
    if (!isWindowControl(to) || to === lengthBox || !guardingFrom(event.target))
        return;
    checkLeavingFor(to);
}

/** @param {Element} from @param {boolean} backwards */
function nextInOrder(from, backwards) {
    const order = guard.order;
    const at = order.indexOf(from.id);
    for (let step = 1; step <= order.length; ++step) {
        const id = order[(at + (backwards ? -step : step) + order.length) % order.length];
        const candidate = /** @type {HTMLButtonElement} */ (byId(id));
        if (!candidate.disabled && candidate.getClientRects().length > 0)
            return candidate;
    }
    return null;
}

// Tab and Shift+Tab go round the menu bar and the window's controls in the window's order; Shift+Tab
// from the first menu leaves the page to the browser.
/** @param {Element | null} from @param {boolean} backwards @param {KeyboardEvent | null} event */
export function tabFrom(from, backwards, event) {
    if (!from)
        return;
    if (guard.order.indexOf(from.id) < 0 || (backwards && from.id === guard.order[0]))
        return;
    if (event)
        event.preventDefault();
    const target = nextInOrder(from, backwards);
    if (!target || (guarding() && !allowMoveTo(target)))
        return;
    VornFocus.move(target, "key");
}

/** @param {KeyboardEvent} event */
function onKey(event) {
    if (VornDialogs.anyOpen())
        return;
    if (event.key === "Tab" && !event.ctrlKey && !event.altKey && !event.metaKey) {
        tabFrom(document.activeElement, event.shiftKey, event);
        return;
    }
    // One press, one click: a held Enter must not record event after event.
    if (event.key === "Enter" && event.repeat && event.target instanceof HTMLButtonElement)
        event.preventDefault();
}

/**
 * Starts guarding with the session's rule.
 * @param {import("./vorn").FocusLeaveRule} rule
 * @param {import("./vorn").Enum} targets the rule's FocusTarget values
 * @param {() => import("./vorn").Outcome} leave the session's check of the length as the boxes are
 * @param {(outcome: import("./vorn").Outcome) => unknown} apply shows an outcome
 * @param {string[]} tabOrder the window's controls in its tab order
 * @param {string[]} order the menu bar, then the window's controls
 */
export function start(rule, targets, leave, apply, tabOrder, order) {
    Object.assign(guard, { rule, targets, leave, apply, tabOrder, order });
    lengthBox = byId("txtEventLength", HTMLInputElement);
    lengthList = byId("cboEventLength", HTMLSelectElement);
    lengthBox.addEventListener("focusout", onLeave);
    lengthList.addEventListener("focusout", onLeave);
    document.addEventListener("mousedown", onPress, true);
    document.addEventListener("click", onClickAfterRefusal, true);
    document.addEventListener("keydown", onKey, true);
    enterBackwardsAtTheEnd();
}

// Shift+Tab from the first menu leaves the page; Shift+Tab back into it would arrive at the last control
// of the markup, which is not the last of the window's order. A stop after everything else takes the
// focus that comes back that way on to the window's last control ("?").
function enterBackwardsAtTheEnd() {
    const stop = document.body.appendChild(document.createElement("span"));
    stop.tabIndex = 0;
    stop.className = "visually-hidden";
    stop.addEventListener("focus", () => {
        const last = nextInOrder(byId(guard.order[0]), true);
        if (last)
            VornFocus.move(last, "key");
    });
}

// The focus came back into the event-length box.
export function lengthBoxFocused() {
    if (guard.rule)
        guard.rule.boxFocused();
}
