// @ts-check
// The calculator window in the page: every control hands its action to the session (compiled from the
// same C++ as the desktop program) with the four boxes as the user left them, and shows the outcome the
// session gives back (display.js). Nothing here decides a figure or a message. start() puts the page
// together once the session's module is ready: the parts share one Calculator, and each part is a module
// of its own, started with what it needs:
//   display.js     an action's outcome: messages, figures, focus, title, the Edit menu
//   typing.js      a text box's own typing, which Ctrl+Z and Ctrl+Y undo and redo first
//   characters.js  New Character, Open, Save, Save As, Share, and the save question
//   tabs.js        the character kept in the browser's storage and followed across the page's tabs
//   app.js         the page as an installed app: its manifest, files the system opens with it
//   guard.js       the event-length box's focus-leave check, Tab and Shift+Tab
//   menus.js       the menu bar and the keys;  plan.js, history.js, records.js  the other boxes
import * as VornApp from "./app.js";
import * as VornChart from "./chart.js";
import { characterCommands } from "./characters.js";
import * as VornDialogs from "./dialogs.js";
import { display } from "./display.js";
import { learnNames } from "./enums.js";
import { files } from "./files.js";
import { VornFocus, byId } from "./focus.js";
import * as VornGuard from "./guard.js";
import { history } from "./history.js";
import { shortcuts } from "./keys.js";
import { takeTables } from "./layout.js";
import * as VornMenus from "./menus.js";
import * as VornPlan from "./plan.js";
import { records } from "./records.js";
import * as VornStorage from "./storage.js";
import { tabs } from "./tabs.js";
import { typingTracker } from "./typing.js";
import * as VornUpdates from "./updates.js";

/**
 * @typedef {import("./vorn").Session} Session
 * @typedef {import("./vorn").SessionClass} SessionClass
 * @typedef {import("./vorn").Outcome} Outcome
 * @typedef {import("./vorn").Boxes} Boxes
 * @typedef {import("./vorn").Choices} Choices
 * @typedef {Pick<Outcome, "canUndo" | "canRedo" | "modified" | "needsSaveQuestion" | "fileName">} CharacterState
 */

/**
 * What the parts of the page share once it has started.
 * @typedef {object} Calculator
 * @property {SessionClass} Session
 * @property {Session} session
 * @property {CharacterState} state what the session said of the character after its last action
 * @property {() => Boxes} boxes the four boxes as the user left them
 * @property {(outcome: Outcome) => Promise<void>} apply shows an action's outcome
 * @property {(now: CharacterState) => void} showSessionState the title, the Edit menu and the keeping
 * @property {(choices: Choices) => Promise<void>} showChoicesOf a character's lists, check box and length
 * @property {(text: string) => Promise<void>} showMessage
 * @property {() => void} keepCharacter keeps the character in the browser's storage soon
 * @property {ReturnType<typeof typingTracker>} typing
 * @property {HTMLInputElement} lengthBox
 * @property {HTMLSelectElement} lengthList
 */

const kTextBoxes = ["txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"];

/** @param {SessionClass} Session @returns {Calculator} */
function newCalculator(Session) {
    const lengthBox = byId("txtEventLength", HTMLInputElement);
    const lengthList = byId("cboEventLength", HTMLSelectElement);
    const box = (/** @type {string} */ id) => byId(id, HTMLInputElement).value;
    /** @type {Calculator} */
    const calculator = {
        Session,
        session: new Session(),
        state: { canUndo: false, canRedo: false, modified: false, needsSaveQuestion: false, fileName: "" },
        boxes: () => ({
            silver: box("txtSilverSubmitted"),
            startingBuild: box("txtStartingBuild"),
            startingLooseXP: box("txtStartingLooseXP"),
            eventLength: lengthBox.value,
        }),
        // The parts below put their own in place.
        apply: async () => {},
        showSessionState: () => {},
        showChoicesOf: async () => {},
        showMessage: (text) => VornDialogs.message(text, "none"),
        keepCharacter: () => {},
        typing: typingTracker(kTextBoxes),
        lengthBox,
        lengthList,
    };
    Object.assign(calculator, display(calculator));
    return calculator;
}

// A box entered by Tab, a click or the program's own move has its text selected, ready to be typed
// over; the event-length box keeps the user's cursor; a box given back after a message keeps both.
/** @param {HTMLInputElement} box @param {HTMLInputElement} lengthBox */
function boxTakesFocus(box, lengthBox) {
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

/** @param {Calculator} calculator */
async function copyResults(calculator) {
    const text = calculator.session.resultsText(calculator.boxes());
    try {
        await navigator.clipboard.writeText(text);
    } catch (e) {
        await VornDialogs.copyByHand(text);
    }
}

/**
 * @param {Calculator} calculator
 * @param {ReturnType<typeof characterCommands>} files the character's file commands
 * @param {(press: import("./keys.js").Press) => string | null} commandFor
 * @param {import("./plan.js").PlanChoices} planChoices
 * @param {import("./records.js").SheetColumns} sheetColumns
 */
function connectHandlers(calculator, files, commandFor, planChoices, sheetColumns) {
    const { Session, session, boxes, apply, typing, lengthBox, lengthList } = calculator;
    /** @param {string} id @param {string} type @param {() => Outcome} action */
    const act = (id, type, action) => byId(id).addEventListener(type, () => apply(action()));
    // An Add that records a step brings its results into view: on a phone, with large text, they stand
    // below the buttons and the fold. One that is refused leaves the page where the message put it.
    /** @param {string} id @param {() => Outcome | Promise<Outcome>} action */
    const add = (id, action) => byId(id).addEventListener("click", () => addShowingResults(action));
    /** @param {() => Outcome | Promise<Outcome>} action */
    async function addShowingResults(action) {
        const steps = session.historyPosition();
        await apply(await action());
        if (session.historyPosition() !== steps)
            byId("frmStats").scrollIntoView({ block: "nearest" });
    }
    act("cboCharacterClass", "change", () => session.selectClass(Number(byId("cboCharacterClass", HTMLSelectElement).value), boxes()));
    act("cboEventLength", "change", () => session.selectEventLength(Number(lengthList.value), boxes()));
    act("chkShowMaxOut", "change", () => session.showMaxOut(byId("chkShowMaxOut", HTMLInputElement).checked, boxes()));
    act("cmdSetStartingBuild", "click", () => session.setStartingValues(boxes()));
    act("cmdSetStartingBuildLevel1", "click", () => session.reset(boxes()));
    add("cmdAddEvent", () => session.addEvent(boxes()));
    add("cmdAddEventTraining", () => session.addEventWithTraining(boxes()));
    add("cmdAddMaxOut", () => session.addMaxOut(boxes()));
    act("cmdLengthHelp", "click", () => session.lengthHelp());

    for (const id of kTextBoxes) {
        const box = byId(id, HTMLInputElement);
        typing.reset(box);
        box.addEventListener("focus", () => boxTakesFocus(box, lengthBox));
        box.addEventListener("input", (event) => typing.typed(box, /** @type {InputEvent} */ (event)));
        // A manual length typed and left is kept even before anything refreshes.
        box.addEventListener("change", calculator.keepCharacter);
    }
    byId("filOpen", HTMLInputElement).addEventListener("change", files.openPicked);

    VornPlan.init(session, boxes, apply, planChoices);
    const fileName = () => calculator.state.fileName || Session.newFileName();
    const record = records(Session, session, boxes, apply, calculator.showMessage, fileName, sheetColumns);
    VornMenus.init({
        mnuNew: files.newCharacter,
        mnuOpen: files.chooseFile,
        mnuSave: () => files.save(),
        mnuSaveAs: () => files.save(true),
        mnuShareCharacter: files.shareCharacter,
        mnuExportHistory: record.exportHistory,
        mnuImportEvents: record.importEvents,
        mnuPrint: record.print,
        mnuUndo: () => apply(session.undo(boxes())),
        mnuRedo: () => apply(session.redo(boxes())),
        mnuCopyResults: () => copyResults(calculator),
        mnuHistory: () => history(Session.historyCaptions(), session, session.historyChart(), apply, Session.exampleDay()),
        mnuAddBlankets: () => addShowingResults(async () => {
            const answer = await VornDialogs.input(session.blanketPrompt());
            return session.addBlankets(answer, boxes());
        }),
        mnuCalculateBlankets: () => apply(session.reverseCalculateBlankets()),
        mnuPlan: () => VornPlan.open(),
        mnuAbout: () => VornDialogs.about(),
        typingUndoes: typing.undoes,
        typingRedoes: typing.redoes,
        showOffered: files.showOffered,
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

export async function start() {
    const Module = await VornModule;
    const [decimal, group] = numberFormat();
    Module.setNumberFormat(decimal, group);
    learnNames(Module.Box, Module.PlanBox, Module.MessageIcon, Module.PlanGoal, Module.PlanCoin,
               Module.PlanVerdict, Module.ChartQuantity, Module.ChartAlign, Module.ControlKind);
    VornChart.start(Module.layOutChart);
    const calculator = newCalculator(Module.Session);
    const { Session } = calculator;
    const characterFiles = files(/** @type {import("./files.js").Pickers} */ (/** @type {unknown} */ (window)), navigator,
                                 VornStorage.download,
                                 { kind: Session.filesKind(), extension: Session.fileExtension(), notSaved: Session.notSaved });
    const fileCommands = characterCommands(calculator, characterFiles);
    const kept = tabs(calculator, fileCommands);
    calculator.keepCharacter = kept.keepCharacter;

    const tables = takeTables(Session);
    // The window's controls in its tab order (the session's layout table), and the same after the menu
    // bar, which comes first on the page.
    const tabOrder = tables.tabOrder.map((control) => control.name);
    const order = tables.menuBar.concat(tabOrder);
    // The markup keeps every control disabled until the calculator can answer it.
    for (const control of tables.tabOrder)
        if (!control.disabled)
            /** @type {HTMLButtonElement} */ (byId(control.name)).disabled = false;
    VornGuard.start(new Module.FocusLeaveRule(), Module.FocusTarget,
                    () => calculator.session.leaveEventLength(calculator.boxes()), calculator.apply, tabOrder, order);
    connectHandlers(calculator, fileCommands, shortcuts(tables.commands), { PlanGoal: Module.PlanGoal, PlanCoin: Module.PlanCoin },
                    { columns: Module.sheetColumns(), figures: Module.sheetColumnIsFigure() });
    fileCommands.showOffered();

    calculator.lengthList.value = "2";
    byId("cboCharacterClass", HTMLSelectElement).value = "1";
    const { restored, problem } = await kept.restoreKept();
    if (!restored) {
        // Without messages, the first figures are shown at once.
        calculator.apply(calculator.session.refresh(calculator.boxes()));
        kept.startAfresh();
    }
    kept.followOtherTabs();
    const first = byId("txtSilverSubmitted", HTMLInputElement);
    VornFocus.move(first, "program");
    first.select();
    if (problem)
        calculator.showMessage(problem);
    // A character the system or another app hands the installed app comes after the kept one, which it
    // may replace only once the question about its unsaved work is answered.
    VornApp.openLaunched(/** @type {{launchQueue?: import("./app.js").LaunchQueue}} */ (window).launchQueue,
                         fileCommands.openGiven);
    VornApp.openShared(fileCommands.openGiven);
    // Once the calculator answers and has drawn: keeping it for offline use takes nothing from its start.
    setTimeout(VornUpdates.start, 0);
}
