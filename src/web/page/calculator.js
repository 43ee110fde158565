// @ts-check
// The calculator window in the page: every control hands its action to the session (compiled from the
// same C++ as the desktop program) with the four boxes as the user left them, and shows the outcome the
// session gives back: its messages one after the other, then the figures, then the focus. Nothing here
// decides a figure or a message.
import * as VornDialogs from "./dialogs.js";
import * as VornGuard from "./guard.js";
import { history } from "./history.js";
import { learnNames, nameOf } from "./enums.js";
import { files } from "./files.js";
import { VornFocus, byId } from "./focus.js";
import { shortcuts } from "./keys.js";
import { takeTables } from "./layout.js";
import * as VornMenus from "./menus.js";
import * as VornPlan from "./plan.js";
import { records } from "./records.js";
import * as VornStorage from "./storage.js";
import * as VornUpdates from "./updates.js";

const kBoxTitle = "VORN Build Calculator";
const kNewFileName = "Character.vornchar";

/**
 * @typedef {import("./vorn").Session} Session
 * @typedef {import("./vorn").SessionClass} SessionClass
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").Display} Display
 * @typedef {import("./vorn").Choices} Choices
 * @typedef {import("./storage.js").Kept} Kept
 * @typedef {Pick<Outcome, "canUndo" | "canRedo" | "modified" | "needsSaveQuestion" | "fileName">} CharacterState
 */

const kTextBoxes = ["txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"];
// The six results, each captioned by the label before it.
const kFigures = ["lblLevel", "lblBody", "lblBuild", "lblLooseXP", "lblTotalXP", "lblXPBPRatio"];

/** @type {SessionClass} */
let Session;
/** @type {Session} set once the page has started */
let session;
/** @type {CharacterState} what the session said of the character after its last action */
let state = { canUndo: false, canRedo: false, modified: false, needsSaveQuestion: false, fileName: "" };

const characterFiles = files(/** @type {import("./files.js").Pickers} */ (/** @type {unknown} */ (window)), navigator,
                             VornStorage.download);

const lengthBox = byId("txtEventLength", HTMLInputElement);
const lengthList = byId("cboEventLength", HTMLSelectElement);

/** @returns {import("./vorn").Boxes} */
function boxes() {
    return {
        silver: byId("txtSilverSubmitted", HTMLInputElement).value,
        startingBuild: byId("txtStartingBuild", HTMLInputElement).value,
        startingLooseXP: byId("txtStartingLooseXP", HTMLInputElement).value,
        eventLength: lengthBox.value,
    };
}

let lastAnnounced = "";

/** @param {Display} display */
function announce(display) {
    const said = kFigures.filter((id) => display[/** @type {keyof Display} */ (id)] !== "").map((id) =>
        /** @type {Element} */ (byId(id).previousElementSibling).textContent + " " + display[/** @type {keyof Display} */ (id)]);
    if (display.lblNextEventBuild !== "")
        said.push("next event Build " + display.lblNextEventBuild + ", Total XP " + display.lblNextEventXP);
    const text = said.join(", ");
    if (text !== lastAnnounced) {
        lastAnnounced = text;
        byId("announcer").textContent = text;
    }
}

/** @param {Display} display */
function updateStats(display) {
    for (const id of /** @type {const} */ (["lblLevel", "lblBuild", "lblLooseXP", "lblXPBPRatio", "lblTotalXP", "lblBody",
                                            "lblNextEventBuild", "lblNextEventXP"]))
        byId(id).textContent = display[id];
    // Rewriting an unchanged text would reset the user's cursor and typing history.
    if (lengthBox.value !== display.eventLength) {
        lengthBox.value = display.eventLength;
        typing.reset(lengthBox);
    }
    lengthBox.disabled = !display.eventLengthEnabled;
    announce(display);
}

// The messages one after the other, then the figures, then the focus; the same order as the desktop.
// Without messages all of it happens at once, before this returns.
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

/** @param {string} text */
async function showMessage(text) {
    await VornDialogs.message(text, "none");
}

/** @param {CharacterState} now */
function showSessionState(now) {
    state = now;
    // Until the character has a file the title is the calculator's alone.
    document.title = state.fileName ? state.fileName + (state.modified ? "*" : "") + " - " + kBoxTitle : kBoxTitle;
    byId("mnuUndo", HTMLButtonElement).disabled = !state.canUndo;
    byId("mnuRedo", HTMLButtonElement).disabled = !state.canRedo;
    keepCharacter();
}

// Set while the page takes the character kept in storage, which needs no keeping again.
let taking = false;

// The character is put in the browser's storage within a second of every change, for the next visit and
// the other tabs of the page, and at once when the page is hidden or left. A browser that won't keep it
// is said so once, in the page, until it keeps it again.
function keepCharacter() {
    if (!taking)
        keeping.changed();
}

const keeping = VornStorage.keepingSoon(() => {
    const kept = VornStorage.keep(session.save(boxes()), state.fileName || null, state.needsSaveQuestion);
    const notice = kept ? "" : "This browser is not keeping this character; save it to a file to keep it.";
    // Written only when it changes, so that a status is read out once.
    if (byId("keepingNotice").textContent !== notice)
        byId("keepingNotice").textContent = notice;
}, { set: (run, ms) => setTimeout(run, ms), clear: (timer) => clearTimeout(/** @type {number} */ (timer)) }, 1000);

// Whether a box has typing of its own to undo or redo: what it held when the program last wrote it,
// and what the user's typing last made of it.
const typing = (() => {
    /** @type {Map<HTMLInputElement, {base: string, tip: string, typed: boolean}>} */
    const kept = new Map();
    const reset = (/** @type {HTMLInputElement} */ box) => kept.set(box, { base: box.value, tip: box.value, typed: false });
    const of = (/** @type {any} */ box) => (box && kTextBoxes.includes(box.id) ? kept.get(box) : null);
    return {
        reset,
        /** @param {HTMLInputElement} box @param {InputEvent} event */
        typed(box, event) {
            if (event.inputType === "historyUndo" || event.inputType === "historyRedo")
                return;
            Object.assign(/** @type {object} */ (kept.get(box)), { tip: box.value, typed: true });
        },
        /** @param {any} box @returns {boolean} */
        undoes: (box) => { const t = of(box); return !!t && t.typed && box.value !== t.base; },
        /** @param {any} box @returns {boolean} */
        redoes: (box) => { const t = of(box); return !!t && t.typed && box.value !== t.tip; },
    };
})();

// A box entered by Tab, a click or the program's own move has its text selected, ready to be typed
// over; the event-length box keeps the user's cursor; a box given back after a message keeps both.
/** @param {HTMLInputElement} box */
function boxTakesFocus(box) {
    const reason = VornFocus.reason;
    if (box === lengthBox) {
        VornGuard.lengthBoxFocused();
        return;
    }
    if (reason === "restore")
        return;
    box.select();
    // A click places the cursor after the focus has arrived.
    if (!reason)
        setTimeout(() => {
            if (document.activeElement === box)
                box.select();
        }, 0);
}

/** @param {string} id @param {string} type @param {() => Outcome} action */
function act(id, type, action) {
    byId(id).addEventListener(type, () => {
        if (session)
            apply(action());
    });
}

async function askForBlankets() {
    const answer = await VornDialogs.input(session.blanketPrompt());
    await apply(session.addBlankets(answer, boxes()));
}

// Whether the character may make way for another. One with steps not yet in a file, or a file's
// character changed since, is offered for saving first; `save` saves it, and says whether it did.
/** @param {() => Promise<boolean>} save */
async function maySetCharacterAside(save) {
    if (!state.needsSaveQuestion)
        return true;
    const answer = await VornDialogs.askSaveChanges(state.fileName || null);
    if (answer === "save")
        return save();
    return answer !== "cancel";
}

// Writes the character to its file, or to one the user picks, or hands it to the browser's downloads;
// the file is then the character's. A character not saved stays as it was, with its changes unsaved.
/** @param {boolean} saveAs @returns {Promise<CharacterState | null>} */
async function write(saveAs) {
    const saving = await characterFiles.save(session.save(boxes()), state.fileName || kNewFileName, saveAs);
    if ("problem" in saving)
        await showMessage(saving.problem);
    if (!("saved" in saving))
        return null;
    state = session.markSaved(saving.saved);
    return state;
}

async function save(saveAs = false) {
    const saved = await write(saveAs);
    if (saved)
        showSessionState(saved);
    return !!saved;
}

async function newCharacter() {
    if (!(await maySetCharacterAside(save)))
        return;
    characterFiles.forget();
    await apply(session.newCharacter(boxes()));
}

async function chooseFile() {
    if (!(await maySetCharacterAside(save)))
        return;
    const picked = await characterFiles.choose();
    if (picked === "input") {
        const input = byId("filOpen", HTMLInputElement);
        input.value = "";
        input.click();
        return;
    }
    if (picked && (await openFile(picked)))
        characterFiles.opened(picked);
}

// Whether the character of the file the user picked (or of the file a picker's handle stands for) is
// now the page's.
/** @param {File | import("./files.js").FileHandle} picked */
async function openFile(picked) {
    let bytes = null;
    try {
        const file = "getFile" in picked ? await picked.getFile() : picked;
        if (file.size <= Session.mostFileBytes())
            bytes = await VornStorage.read(file);
    } catch (e) {
        await showMessage("\"" + picked.name + "\" could not be read: " + (e instanceof Error ? e.message : e) + ".");
        return false;
    }
    if (!bytes) {
        await showMessage(Session.tooLarge(picked.name));
        return false;
    }
    const read = session.open(bytes, picked.name);
    if (!read.choices) {
        await showMessage(read.problem);
        return false;
    }
    await showChoicesOf(read.choices);
    return true;
}

// The character's file as Save writes it, where the browser can hand it to another app.
function shareableFile() {
    return characterFiles.shareable(session.save(boxes()), state.fileName || kNewFileName);
}

async function shareCharacter() {
    const file = shareableFile();
    const problem = file ? await characterFiles.share(file) : "";
    if (problem)
        await showMessage(problem);
}

// The commands the browser allows now: writing to a file the user picks, and sharing.
function showOffered() {
    /** @type {HTMLElement} */ (byId("mnuSaveAs").parentElement).hidden = !characterFiles.offered();
    // Whether the browser shares such a file turns on its name and type, not its text: an empty one tells,
    // where writing a long character's file each time a menu opens or a key is pressed would not fit a frame.
    /** @type {HTMLElement} */ (byId("mnuShareCharacter").parentElement).hidden =
        !characterFiles.shareable("", state.fileName || kNewFileName);
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
    return apply(session.refresh(boxes()));
}

async function copyResults() {
    const text = session.resultsText(boxes());
    try {
        await navigator.clipboard.writeText(text);
    } catch (e) {
        await VornDialogs.copyByHand(text);
    }
}

/**
 * @param {(press: import("./keys.js").Press) => string | null} commandFor
 * @param {import("./plan.js").PlanChoices} planChoices
 * @param {import("./records.js").SheetColumns} sheetColumns
 */
function connectHandlers(commandFor, planChoices, sheetColumns) {
    act("cboCharacterClass", "change", () => session.selectClass(Number(byId("cboCharacterClass", HTMLSelectElement).value), boxes()));
    act("cboEventLength", "change", () => session.selectEventLength(Number(lengthList.value), boxes()));
    act("chkShowMaxOut", "change", () => session.showMaxOut(byId("chkShowMaxOut", HTMLInputElement).checked, boxes()));
    act("cmdSetStartingBuild", "click", () => session.setStartingValues(boxes()));
    act("cmdSetStartingBuildLevel1", "click", () => session.reset(boxes()));
    act("cmdAddEvent", "click", () => session.addEvent(boxes()));
    act("cmdAddEventTraining", "click", () => session.addEventWithTraining(boxes()));
    act("cmdAddMaxOut", "click", () => session.addMaxOut(boxes()));
    act("cmdLengthHelp", "click", () => session.lengthHelp());

    for (const id of kTextBoxes) {
        const box = byId(id, HTMLInputElement);
        typing.reset(box);
        box.addEventListener("focus", () => boxTakesFocus(box));
        box.addEventListener("input", (event) => typing.typed(box, /** @type {InputEvent} */ (event)));
        // A manual length typed and left is kept even before anything refreshes.
        box.addEventListener("change", keepCharacter);
    }
    byId("filOpen", HTMLInputElement).addEventListener("change", () => {
        const file = byId("filOpen", HTMLInputElement).files?.[0];
        if (file)
            openFile(file).then((opened) => opened && characterFiles.opened(null));
    });

    VornPlan.init(session, boxes, apply, planChoices);
    const record = records(Session, session, boxes, apply, showMessage, () => state.fileName || kNewFileName, sheetColumns);
    VornMenus.init({
        mnuNew: newCharacter,
        mnuOpen: chooseFile,
        mnuSave: () => save(),
        mnuSaveAs: () => save(true),
        mnuShareCharacter: shareCharacter,
        mnuExportHistory: record.exportHistory,
        mnuImportEvents: record.importEvents,
        mnuPrint: record.print,
        mnuUndo: () => apply(session.undo(boxes())),
        mnuRedo: () => apply(session.redo(boxes())),
        mnuCopyResults: copyResults,
        mnuHistory: () => history(Session.historyCaptions(), session, session.historyChart(), apply),
        mnuAddBlankets: askForBlankets,
        mnuCalculateBlankets: () => apply(session.reverseCalculateBlankets()),
        mnuPlan: () => VornPlan.open(),
        mnuAbout: () => VornDialogs.about(),
        typingUndoes: typing.undoes,
        typingRedoes: typing.redoes,
        showOffered,
    }, (from, backwards) => VornGuard.tabFrom(from, backwards, null), commandFor);
}

// The browser's decimal and group separators, as the desktop follows the regional format.
function numberFormat() {
    let decimal = ".";
    let group = ",";
    try {
        const parts = new Intl.NumberFormat(navigator.language).formatToParts(12345.6);
        decimal = (parts.find((part) => part.type === "decimal") || { value: decimal }).value;
        group = (parts.find((part) => part.type === "group") || { value: "" }).value;
    } catch (e) {
        // An unknown language keeps the plain format.
    }
    return [decimal, group];
}

// Shows the character kept in storage (from the last visit, or just now by another tab); the answer
// of session.openKept, whose problem is set when it can't be brought back.
/** @param {Kept} kept */
function take(kept) {
    const read = session.openKept(VornStorage.bytesOf(kept.text ?? ""), kept.fileName ?? "", kept.modified);
    if (!read.choices)
        return read;
    VornStorage.shows(kept);
    keeping.drop();
    taking = true;
    try {
        showChoicesOf(read.choices);
    } finally {
        taking = false;
    }
    return read;
}

// The character kept from the last visit, if any; a damaged one is dropped, and its problem said once.
function restoreKept() {
    const kept = VornStorage.kept();
    if (kept.text === null)
        return { restored: false, problem: "" };
    const read = take(kept);
    if (!read.choices) {
        VornStorage.forget();
        return { restored: false, problem: read.problem };
    }
    return { restored: true, problem: "" };
}

// Tabs of the page show one character: what another tab keeps, this one shows at once. Unsaved work
// here that the other tab's character was not made from is offered for saving first; Cancel keeps it
// here, apart from that tab's later changes. While a box is open here, the character waits for it.
const elsewhere = { waiting: false, declined: "" };

async function followElsewhere() {
    if (VornDialogs.anyOpen()) {
        elsewhere.waiting = true;
        return;
    }
    elsewhere.waiting = false;
    let kept = VornStorage.kept();
    if (kept.text === null) {
        // Emptied, by a tab whose character the storage refused, say: this one's is kept in its place.
        VornStorage.lost();
        keepCharacter();
        return;
    }
    if (kept.isShown) {
        VornStorage.shows(kept);
        return;
    }
    const declined = elsewhere.declined;
    if (declined !== "" && (kept.revision === declined || kept.madeFrom === declined)) {
        elsewhere.declined = kept.revision;
        return;
    }
    // Changes here not yet kept are not in the other tab's character either.
    if (!kept.madeFromShown || keeping.pending()) {
        if (!(await maySetCharacterAside(async () => !!(await write(false))))) {
            elsewhere.declined = VornStorage.kept().revision;
            return;
        }
        // The other tab may have kept more while the question was open.
        kept = VornStorage.kept();
        if (kept.text === null || kept.isShown)
            return;
    }
    take(kept);
}

function followOtherTabs() {
    VornStorage.onKeptElsewhere(followElsewhere);
    // Another tab shown in this one's place, or the page left: what waits to be kept is kept now.
    window.addEventListener("pagehide", keeping.now);
    document.addEventListener("visibilitychange", () => {
        if (document.visibilityState === "hidden")
            keeping.now();
    });
    // A box closing may leave another open in its place; the character waits for the last one.
    document.addEventListener("close", () => setTimeout(() => {
        if (elsewhere.waiting)
            followElsewhere();
    }, 0), true);
}

async function start() {
    // The browser opens the page's storage at its first reading, which takes a while; begun here, it is
    // open by the time the module is ready and the kept character is read.
    VornStorage.kept();
    const Module = await VornModule;
    const [decimal, group] = numberFormat();
    Module.setNumberFormat(decimal, group);
    learnNames(Module.Box, Module.PlanBox, Module.MessageIcon, Module.PlanGoal, Module.PlanCoin,
               Module.PlanVerdict, Module.ChartQuantity, Module.ControlKind);
    Session = Module.Session;
    session = new Session();

    const tables = takeTables(Session);
    // The window's controls in its tab order (the session's layout table), and the same after the menu
    // bar, which comes first on the page.
    const tabOrder = tables.tabOrder.map((control) => control.name);
    const order = tables.menuBar.concat(tabOrder);
    // The markup keeps every control disabled until the calculator can answer it.
    for (const control of tables.tabOrder)
        if (!control.disabled)
            /** @type {HTMLButtonElement} */ (byId(control.name)).disabled = false;
    VornGuard.start(new Module.FocusLeaveRule(), Module.FocusTarget, () => session.leaveEventLength(boxes()), apply,
                    tabOrder, order);
    connectHandlers(shortcuts(tables.commands), { PlanGoal: Module.PlanGoal, PlanCoin: Module.PlanCoin },
                    { columns: Module.sheetColumns(), figures: Module.sheetColumnIsFigure() });
    showOffered();

    lengthList.value = "2";
    byId("cboCharacterClass", HTMLSelectElement).value = "1";
    const { restored, problem } = restoreKept();
    if (!restored)
        apply(session.refresh(boxes()));
    followOtherTabs();
    const first = byId("txtSilverSubmitted", HTMLInputElement);
    VornFocus.move(first, "program");
    first.select();
    if (problem)
        showMessage(problem);
    // Once the calculator answers and has drawn: keeping it for offline use takes nothing from its start.
    setTimeout(VornUpdates.start, 0);
}

// The browser tests wait for it.
window.vornReady = start().catch((problem) => {
    const notice = document.createElement("p");
    notice.className = "notice";
    notice.setAttribute("role", "alert");
    notice.textContent = "The calculator could not start in this browser: " + problem;
    document.querySelector("main")?.prepend(notice);
    throw problem;
});
