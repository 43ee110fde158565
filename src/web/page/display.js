// @ts-check
// What an action gives back, shown as the desktop window shows it: its messages one after the other, then
// the figures, then the focus, then the title and the Edit menu. Without messages all of it happens at
// once, before apply() returns. Nothing here decides a figure or a message.
import * as VornDialogs from "./dialogs.js";
import { nameOf } from "./enums.js";
import { VornFocus, byId } from "./focus.js";

/**
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").Display} Display
 * @typedef {import("./vorn").Choices} Choices
 * @typedef {import("./calculator.js").Calculator} Calculator
 * @typedef {import("./calculator.js").CharacterState} CharacterState
 */

// The six results, each captioned by the label before it.
const kFigures = ["lblLevel", "lblBody", "lblBuild", "lblLooseXP", "lblTotalXP", "lblXPBPRatio"];

/** @param {Calculator} calculator */
export function display(calculator) {
    const { lengthBox, lengthList, typing } = calculator;
    let lastAnnounced = "";

    /** @param {Display} shown */
    function announce(shown) {
        const said = kFigures.filter((id) => shown[/** @type {keyof Display} */ (id)] !== "").map((id) =>
            /** @type {Element} */ (byId(id).previousElementSibling).textContent + " " + shown[/** @type {keyof Display} */ (id)]);
        if (shown.lblNextEventBuild !== "")
            said.push("next event Build " + shown.lblNextEventBuild + ", Total XP " + shown.lblNextEventXP);
        const text = said.join(", ");
        if (text !== lastAnnounced) {
            lastAnnounced = text;
            byId("announcer").textContent = text;
        }
    }

    /** @param {Display} shown */
    function updateStats(shown) {
        for (const id of /** @type {const} */ (["lblLevel", "lblBuild", "lblLooseXP", "lblXPBPRatio", "lblTotalXP", "lblBody",
                                                "lblNextEventBuild", "lblNextEventXP"]))
            byId(id).textContent = shown[id];
        // Rewriting an unchanged text would reset the user's cursor and typing history.
        if (lengthBox.value !== shown.eventLength) {
            lengthBox.value = shown.eventLength;
            typing.reset(lengthBox);
        }
        lengthBox.disabled = !shown.eventLengthEnabled;
        announce(shown);
    }

    // The title, the Edit menu and the browser's storage follow the character.
    /** @param {CharacterState} now */
    function showSessionState(now) {
        calculator.state = now;
        document.title = calculator.Session.windowTitle(now.fileName, now.modified ? "*" : "");
        byId("mnuUndo", HTMLButtonElement).disabled = !now.canUndo;
        byId("mnuRedo", HTMLButtonElement).disabled = !now.canRedo;
        calculator.keepCharacter();
    }

    // The messages one after the other, then the figures, then the focus; the same order as the desktop.
    /** @param {Outcome} outcome */
    async function apply(outcome) {
        for (const message of outcome.messages)
            await VornDialogs.message(message.text, nameOf(message.icon));
        if (outcome.display)
            updateStats(outcome.display);
        const focus = nameOf(outcome.focus);
        const target = focus && focus !== "none" ? byId(focus, HTMLInputElement) : null;
        if (target && !target.disabled) {
            if (document.activeElement !== target)
                VornFocus.move(target, "program");
            if (outcome.selectAll)
                target.select();
        }
        showSessionState(outcome);
    }

    // The lists, the check box and a manual length as the character has them, then one refresh.
    /** @param {Choices} choices */
    function showChoicesOf(choices) {
        if (choices.eventLengthEntry === -1) {
            lengthBox.value = choices.manualLength;
            typing.reset(lengthBox);
        }
        lengthList.value = String(choices.eventLengthEntry);
        byId("cboCharacterClass", HTMLSelectElement).value = String(choices.classCode);
        byId("chkShowMaxOut", HTMLInputElement).checked = choices.maxOut;
        return apply(calculator.session.refresh(calculator.boxes()));
    }

    return { apply, showSessionState, showChoicesOf };
}
