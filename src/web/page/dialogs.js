// The page's own modal boxes: messages, the blanket prompt, the save-changes question, the history, the
// clipboard fallback and About (the Plan Ahead dialog uses the same machinery). Each is a <dialog> opened with showModal(), so the rest of the page is
// out of reach while it is open; each answers through a promise once it has closed, and the focus goes
// back to where it was, as after a message box on the desktop.
"use strict";

// How the next focus move came about, for the select-all habits of the text boxes: "restore" gives the
// focus back without touching the box's selection (the desktop's window activation).
const VornFocus = {
    reason: null,
    move(element, reason, options) {
        VornFocus.reason = reason;
        try {
            element.focus(options);
        } finally {
            VornFocus.reason = null;
        }
    },
};

const VornDialogs = (() => {
    const byId = (id) => document.getElementById(id);

    // Only one box is open at a time; a second waits for the first, as modal boxes stack up. A box that
    // other boxes may stand over (Plan Ahead and its messages) lets the next one open once it is shown.
    let queue = Promise.resolve();

    function focusable(element) {
        return element && element.isConnected && !element.disabled && element !== document.body;
    }

    // Opens `dialog` modally; `prepare` fills it and wires its buttons to `finish`, whose answer the promise
    // resolves with once the box has closed. Escape gives `cancelAnswer`. `shown` runs once it is open.
    function run(dialog, { first, cancelAnswer, prepare, shown, letsOthersOver }) {
        let opened;
        const isOpen = new Promise((resolve) => (opened = resolve));
        const ask = () =>
            new Promise((resolve) => {
                const previous = document.activeElement;
                const selection =
                    previous && typeof previous.selectionStart === "number"
                        ? [previous.selectionStart, previous.selectionEnd, previous.selectionDirection]
                        : null;
                let answer = cancelAnswer;
                const cleanups = [];
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
                const onCancel = (event) => {
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
                        if (selection)
                            try {
                                previous.setSelectionRange(selection[0], selection[1], selection[2]);
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
        const answered = queue.then(ask);
        queue = (letsOthersOver ? Promise.race([isOpen, answered]) : answered).catch(() => undefined);
        return answered;
    }

    function on(cleanups, button, listener, type = "click") {
        button.addEventListener(type, listener);
        cleanups.push(() => button.removeEventListener(type, listener));
    }

    // Messages break their lines with CR LF; the text shows every line break as one.
    function lines(text) {
        return String(text).replace(/\r\n?/g, "\n");
    }

    function message(text, icon) {
        const dialog = byId("dlgMessage");
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
    function input(prompt) {
        const dialog = byId("dlgInput");
        const field = byId("dlgInputText");
        return run(dialog, {
            first: field,
            cancelAnswer: "",
            prepare(finish, cleanups) {
                byId("dlgInputPrompt").textContent = lines(prompt);
                field.value = "";
                on(cleanups, byId("dlgInputOK"), () => finish(field.value));
                on(cleanups, byId("dlgInputCancel"), () => finish(""));
                // Enter in the field is OK, as in the desktop's input box.
                const onKey = (event) => {
                    if (event.key === "Enter" && !event.isComposing) {
                        event.preventDefault();
                        finish(field.value);
                    }
                };
                on(cleanups, field, onKey, "keydown");
            },
        });
    }

    // "save", "discard" or "cancel". `name`: the character's file, or null for one that has none yet.
    function askSaveChanges(name) {
        const dialog = byId("dlgSaveChanges");
        return run(dialog, {
            first: byId("dlgSaveChangesSave"),
            cancelAnswer: "cancel",
            prepare(finish, cleanups) {
                byId("dlgSaveChangesText").textContent = name ? "Save changes to " + name + "?" : "Save this character?";
                on(cleanups, byId("dlgSaveChangesSave"), () => finish("save"));
                on(cleanups, byId("dlgSaveChangesDiscard"), () => finish("discard"));
                on(cleanups, byId("dlgSaveChangesCancel"), () => finish("cancel"));
            },
        });
    }

    // The results to copy by hand when the browser keeps the clipboard to itself.
    function copyByHand(text) {
        const field = byId("dlgCopyText");
        return run(byId("dlgCopy"), {
            first: field,
            cancelAnswer: undefined,
            prepare(finish, cleanups) {
                field.value = text;
                on(cleanups, byId("dlgCopyClose"), () => finish(undefined));
                queueMicrotask(() => field.select());
            },
        });
    }

    // The history table: the captions, then one row per step, the current one marked; under it the chart.
    function history(captions, rows, chart) {
        const table = byId("tblHistory");
        const picture = byId("picHistoryChart");
        let current = null;
        return run(byId("dlgHistory"), {
            first: byId("dlgHistoryClose"),
            cancelAnswer: undefined,
            prepare(finish, cleanups) {
                const head = table.tHead.rows[0];
                while (head.cells.length > 1)
                    head.deleteCell(1);
                captions.forEach((caption, column) => {
                    const cell = document.createElement("th");
                    cell.scope = "col";
                    cell.textContent = caption;
                    if (column > 0)
                        cell.className = "number";
                    head.appendChild(cell);
                });
                const body = table.tBodies[0];
                body.replaceChildren();
                current = null;
                rows.forEach((row, index) => {
                    const tr = body.insertRow();
                    const number = document.createElement("th");
                    number.scope = "row";
                    number.className = "row-number";
                    number.textContent = row.current ? "\u25B6 " + index : String(index);
                    tr.appendChild(number);
                    for (const [text, numeric] of [[row.what, false], [row.build, true], [row.looseXP, true], [row.totalXP, true]]) {
                        const cell = tr.insertCell();
                        cell.textContent = text;
                        if (numeric)
                            cell.className = "number";
                    }
                    if (row.current) {
                        tr.classList.add("current");
                        tr.setAttribute("aria-current", "step");
                        current = tr;
                    }
                    if (row.undone)
                        tr.classList.add("undone");
                });
                on(cleanups, byId("dlgHistoryClose"), () => finish(undefined));
                cleanups.push(() => VornChart.clear(picture));
            },
            // Drawn once open, at the width the dialog gives it.
            shown() {
                VornChart.draw(picture, chart);
                if (current)
                    current.scrollIntoView({ block: "nearest" });
            },
        });
    }

    function about() {
        return run(byId("dlgAbout"), {
            first: byId("dlgAboutOK"),
            cancelAnswer: undefined,
            prepare(finish, cleanups) {
                on(cleanups, byId("dlgAboutOK"), () => finish(undefined));
            },
        });
    }

    function anyOpen() {
        return document.querySelector("dialog[open]") !== null;
    }

    // A box of the page's own making (Plan Ahead), which messages may stand over while it is open.
    function letOthersOver(dialog, options) {
        return run(dialog, Object.assign({}, options, { letsOthersOver: true }));
    }

    return { message, input, askSaveChanges, copyByHand, history, about, anyOpen, letOthersOver, on };
})();
