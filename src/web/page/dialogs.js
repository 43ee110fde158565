// @ts-check
// The page's own modal boxes: messages, the blanket prompt, the save-changes question, the clipboard
// fallback and About (the History and Plan Ahead dialogs use the same machinery). Each is a <dialog> opened
// with showModal(), so the rest of the page is out of reach while it is open; each answers through a
// promise once it has closed, and the focus goes back to where it was, as after a message box on the
// desktop.
import { VornFocus, byId } from "./focus.js";

/**
 * Only one box is open at a time; a second waits for the first, as modal boxes stack up. A box that other
 * boxes may stand over (Plan Ahead and its messages) lets the next one open once it is shown.
 * `ask(opened)` opens a box, calls `opened()` once it is open and resolves once it has closed.
 * @returns {<T>(ask: (opened: () => void) => Promise<T>, letsOthersOver?: boolean) => Promise<T>}
 */
export function modalQueue() {
    /** @type {Promise<unknown>} */
    let queue = Promise.resolve();
    return (ask, letsOthersOver = false) => {
        /** @type {() => void} */
        let opened = () => {};
        const isOpen = new Promise((resolve) => (opened = () => resolve(undefined)));
        const answered = queue.then(() => ask(opened));
        queue = (letsOthersOver ? Promise.race([isOpen, answered]) : answered).catch(() => undefined);
        return answered;
    };
}

/**
 * @typedef {(value: any) => void} Finish
 * @typedef {Array<() => void>} Cleanups
 * @typedef {object} BoxOptions
 * @property {HTMLElement} [first] the control that gets the focus
 * @property {any} cancelAnswer what Escape answers
 * @property {(finish: Finish, cleanups: Cleanups) => void} [prepare]
 * @property {() => void} [shown]
 * @property {boolean} [letsOthersOver]
 */

const enqueue = modalQueue();

/** @param {Element | null} element @returns {element is HTMLElement} */
function focusable(element) {
    return element instanceof HTMLElement && element.isConnected && !("disabled" in element && element.disabled) &&
        element !== document.body;
}

/**
 * Opens `dialog` modally; `prepare` fills it and wires its buttons to `finish`, whose answer the promise
 * resolves with once the box has closed. Escape gives `cancelAnswer`. `shown` runs once it is open.
 * @param {HTMLDialogElement} dialog
 * @param {BoxOptions} options
 * @returns {Promise<any>}
 */
function run(dialog, { first, cancelAnswer, prepare, shown, letsOthersOver }) {
    const ask = (/** @type {() => void} */ opened) =>
        new Promise((resolve) => {
            const previous = document.activeElement;
            const selection =
                (previous instanceof HTMLInputElement || previous instanceof HTMLTextAreaElement) &&
                typeof previous.selectionStart === "number"
                    ? /** @type {const} */ ([previous.selectionStart, previous.selectionEnd, previous.selectionDirection])
                    : null;
            let answer = cancelAnswer;
            /** @type {Cleanups} */
            const cleanups = [];
            /** @type {Finish} */
            const finish = (value) => {
                answer = value;
                // The browser may hand the focus back itself as the box closes.
                VornFocus.reason = "restore";
                try {
                    dialog.close();
                } finally {
                    VornFocus.reason = null;
                }
            };
            if (prepare)
                prepare(finish, cleanups);
            const onCancel = (/** @type {Event} */ event) => {
                // Escape answers as the box's Cancel (or OK, for a box with one button).
                event.preventDefault();
                finish(cancelAnswer);
            };
            const onClose = () => {
                dialog.removeEventListener("cancel", onCancel);
                dialog.removeEventListener("close", onClose);
                for (const cleanup of cleanups)
                    cleanup();
                if (focusable(previous)) {
                    VornFocus.move(previous, "restore");
                    if (selection && "setSelectionRange" in previous)
                        try {
                            /** @type {HTMLInputElement} */ (previous).setSelectionRange(
                                selection[0], selection[1], selection[2] ?? undefined);
                        } catch (e) {
                            // Not every box keeps a selection.
                        }
                }
                resolve(answer);
            };
            dialog.addEventListener("cancel", onCancel);
            dialog.addEventListener("close", onClose);
            dialog.showModal();
            // The box is read from its top, even where its first button lies further down.
            if (first)
                VornFocus.move(first, "dialog", { preventScroll: true });
            dialog.scrollTop = 0;
            opened();
            if (shown)
                shown();
        });
    return enqueue(ask, letsOthersOver);
}

/**
 * @param {Cleanups} cleanups
 * @param {HTMLElement} button
 * @param {(event: any) => void} listener
 */
export function on(cleanups, button, listener, type = "click") {
    button.addEventListener(type, listener);
    cleanups.push(() => button.removeEventListener(type, listener));
}

// Messages break their lines with CR LF; the text shows every line break as one.
function lines(/** @type {string} */ text) {
    return String(text).replace(/\r\n?/g, "\n");
}

/**
 * @param {string} text
 * @param {string} icon "information" shows the information icon
 */
export function message(text, icon) {
    const dialog = byId("dlgMessage", HTMLDialogElement);
    return run(dialog, {
        first: byId("dlgMessageOK"),
        cancelAnswer: undefined,
        prepare(finish, cleanups) {
            byId("dlgMessageText").textContent = lines(text);
            byId("dlgMessageIcon").hidden = icon !== "information";
            on(cleanups, byId("dlgMessageOK"), () => finish(undefined));
        },
    });
}

// The blanket prompt: the typed text, or "" for Cancel and Escape.
/** @param {string} prompt @returns {Promise<string>} */
export function input(prompt) {
    const dialog = byId("dlgInput", HTMLDialogElement);
    const field = byId("dlgInputText", HTMLInputElement);
    return run(dialog, {
        first: field,
        cancelAnswer: "",
        prepare(finish, cleanups) {
            byId("dlgInputPrompt").textContent = lines(prompt);
            field.value = "";
            on(cleanups, byId("dlgInputOK"), () => finish(field.value));
            on(cleanups, byId("dlgInputCancel"), () => finish(""));
            // Enter in the field is OK, as in the desktop's input box.
            const onKey = (/** @type {KeyboardEvent} */ event) => {
                if (event.key === "Enter" && !event.isComposing) {
                    event.preventDefault();
                    finish(field.value);
                }
            };
            on(cleanups, field, onKey, "keydown");
        },
    });
}

// "save", "discard" or "cancel", to the session's question (saveQuestion).
/** @param {string} question @returns {Promise<"save" | "discard" | "cancel">} */
export function askSaveChanges(question) {
    const dialog = byId("dlgSaveChanges", HTMLDialogElement);
    return run(dialog, {
        first: byId("dlgSaveChangesSave"),
        cancelAnswer: "cancel",
        prepare(finish, cleanups) {
            byId("dlgSaveChangesText").textContent = question;
            on(cleanups, byId("dlgSaveChangesSave"), () => finish("save"));
            on(cleanups, byId("dlgSaveChangesDiscard"), () => finish("discard"));
            on(cleanups, byId("dlgSaveChangesCancel"), () => finish("cancel"));
        },
    });
}

// The results to copy by hand when the browser keeps the clipboard to itself.
/** @param {string} text */
export function copyByHand(text) {
    const field = byId("dlgCopyText", HTMLTextAreaElement);
    return run(byId("dlgCopy", HTMLDialogElement), {
        first: field,
        cancelAnswer: undefined,
        prepare(finish, cleanups) {
            field.value = text;
            on(cleanups, byId("dlgCopyClose"), () => finish(undefined));
            queueMicrotask(() => field.select());
        },
    });
}

export function about() {
    return run(byId("dlgAbout", HTMLDialogElement), {
        first: byId("dlgAboutOK"),
        cancelAnswer: undefined,
        prepare(finish, cleanups) {
            on(cleanups, byId("dlgAboutOK"), () => finish(undefined));
        },
    });
}

export function anyOpen() {
    return document.querySelector("dialog[open]") !== null;
}

// A box of the page's own making (Plan Ahead), which messages may stand over while it is open.
/** @param {HTMLDialogElement} dialog @param {BoxOptions} options */
export function letOthersOver(dialog, options) {
    return run(dialog, Object.assign({}, options, { letsOthersOver: true }));
}
