// The calculator window in the page: every control hands its action to the session (compiled from the
// same C++ as the desktop program) with the four boxes as the user left them, and shows the outcome the
// session gives back: its messages one after the other, then the figures, then the focus. Nothing here
// decides a figure or a message.
"use strict";

window.vornReady = (() => {
    const byId = (id) => document.getElementById(id);
    const kBoxTitle = "VORN Build Calculator";
    const kNewFileName = "Character.vornchar";

    // The window's controls in its tab order, after the menu bar, which comes first on the page.
    const kMenuBar = ["mnuFile", "mnuEdit", "mnuExtras", "mnuAbout"];
    const kTabOrder = [
        "txtSilverSubmitted", "cmdAddEvent", "cmdAddEventTraining", "cmdAddMaxOut", "cboEventLength",
        "txtStartingBuild", "txtStartingLooseXP", "cmdSetStartingBuild", "cmdSetStartingBuildLevel1",
        "chkShowMaxOut", "cboCharacterClass", "txtEventLength", "cmdLengthHelp",
    ];
    const kOrder = kMenuBar.concat(kTabOrder);
    const kTextBoxes = ["txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"];
    const kFigures = [
        ["lblLevel", "Level"], ["lblBody", "Body"], ["lblBuild", "Build"], ["lblLooseXP", "Loose XP"],
        ["lblTotalXP", "Total XP"], ["lblXPBPRatio", "XP/BP Ratio"],
    ];

    let Session = null;
    let session = null;
    // The file the character came from or was last saved to; null until it has one.
    let fileName = null;

    const lengthBox = byId("txtEventLength");
    const lengthList = byId("cboEventLength");

    function boxes() {
        return {
            silver: byId("txtSilverSubmitted").value,
            startingBuild: byId("txtStartingBuild").value,
            startingLooseXP: byId("txtStartingLooseXP").value,
            eventLength: lengthBox.value,
        };
    }

    let lastAnnounced = "";

    function announce(display) {
        const said = kFigures.filter(([id]) => display[id] !== "").map(([id, caption]) => caption + " " + display[id]);
        if (display.lblNextEventBuild !== "")
            said.push("next event Build " + display.lblNextEventBuild + ", Total XP " + display.lblNextEventXP);
        const text = said.join(", ");
        if (text !== lastAnnounced) {
            lastAnnounced = text;
            byId("announcer").textContent = text;
        }
    }

    function updateStats(display) {
        for (const id of ["lblLevel", "lblBuild", "lblLooseXP", "lblXPBPRatio", "lblTotalXP", "lblBody",
                          "lblNextEventBuild", "lblNextEventXP"])
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
    async function apply(outcome) {
        for (const message of outcome.messages)
            await VornDialogs.message(message.text, message.icon);
        if (outcome.display)
            updateStats(outcome.display);
        const target = outcome.focus ? byId(outcome.focus) : null;
        if (target && !target.disabled) {
            if (document.activeElement !== target)
                VornFocus.move(target, "program");
            if (outcome.selectAll)
                target.select();
        }
        showSessionState();
    }

    async function showMessage(text) {
        await VornDialogs.message(text, "none");
    }

    function showSessionState() {
        // Until the character has a file the title is the calculator's alone.
        document.title = fileName ? fileName + (session.modified() ? "*" : "") + " - " + kBoxTitle : kBoxTitle;
        byId("mnuUndo").disabled = !session.canUndo();
        byId("mnuRedo").disabled = !session.canRedo();
        keepCharacter();
    }

    // Set while the page takes the character kept in storage, which needs no keeping again.
    let taking = false;

    // The character is put in the browser's storage after every change, for the next visit and the other
    // tabs of the page. A browser that won't keep it is said so once, in the page, until it keeps it again.
    function keepCharacter() {
        if (taking)
            return;
        const kept = VornStorage.keep(session.save(boxes()), fileName, session.needsSaveQuestion(!!fileName));
        const notice = kept ? "" : "This browser is not keeping this character; save it to a file to keep it.";
        // Written only when it changes, so that a status is read out once.
        if (byId("keepingNotice").textContent !== notice)
            byId("keepingNotice").textContent = notice;
    }

    // Whether a box has typing of its own to undo or redo: what it held when the program last wrote it,
    // and what the user's typing last made of it.
    const typing = (() => {
        const kept = new Map();
        const reset = (box) => kept.set(box, { base: box.value, tip: box.value, typed: false });
        const of = (box) => (kTextBoxes.includes(box.id) ? kept.get(box) : null);
        return {
            reset,
            typed(box, event) {
                if (event.inputType === "historyUndo" || event.inputType === "historyRedo")
                    return;
                Object.assign(kept.get(box), { tip: box.value, typed: true });
            },
            undoes: (box) => { const t = of(box); return !!t && t.typed && box.value !== t.base; },
            redoes: (box) => { const t = of(box); return !!t && t.typed && box.value !== t.tip; },
        };
    })();

    // A box entered by Tab, a click or the program's own move has its text selected, ready to be typed
    // over; the event-length box keeps the user's cursor; a box given back after a message keeps both.
    function boxTakesFocus(box) {
        const reason = VornFocus.reason;
        if (box === lengthBox) {
            guard.deferred = false;
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

    // The check runs when the focus is about to leave the event-length box for another control of the
    // window, and the move is cancelled when the check refuses the length. Moving onto the length list
    // defers the check: while the focus rests there, the next move runs it as if it left the box.
    const guard = { deferred: false, checking: false, passedTo: null, swallowClick: false };

    function isWindowControl(element) {
        return !!element && kTabOrder.includes(element.id);
    }

    function guarding() {
        if (!session || guard.checking || lengthBox.disabled || VornDialogs.anyOpen())
            return false;
        const focus = document.activeElement;
        return focus === lengthBox || (guard.deferred && focus === lengthList);
    }

    // The session's check of the length, which may show a message: no second check while it runs.
    function checkLeavingLength() {
        guard.checking = true;
        try {
            return session.leaveEventLength(boxes());
        } finally {
            guard.checking = false;
        }
    }

    function allowMoveTo(target) {
        if (!target || target === lengthBox || target === document.activeElement)
            return true;
        if (target === lengthList) {
            guard.deferred = true;
            return true;
        }
        const outcome = checkLeavingLength();
        apply(outcome);
        if (outcome.accepted) {
            guard.deferred = false;
            guard.passedTo = target;
        }
        return outcome.accepted;
    }

    // The control a press would give the focus to: the control itself, or the one a label names.
    function controlAt(element) {
        const label = element.closest && element.closest("label");
        if (label && label.control)
            return label.control.disabled ? null : label.control;
        const control = element.closest && element.closest("button, input, select, textarea, a[href]");
        return isWindowControl(control) && !control.disabled ? control : null;
    }

    function onPress(event) {
        guard.swallowClick = false;
        guard.passedTo = null;
        if (!guarding() || VornMenus.isMenuBar(event.target))
            return;
        const target = controlAt(event.target);
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

    function onClickAfterRefusal(event) {
        if (!guard.swallowClick)
            return;
        guard.swallowClick = false;
        if (!event.target.closest("dialog")) {
            event.preventDefault();
            event.stopPropagation();
        }
    }

    // What the focus would have left for by other means (an assistive technology, an access key): the
    // check still runs, and a refused length takes the focus back.
    function onLeave(event) {
        const to = event.relatedTarget;
        if (guard.passedTo === to) {
            guard.passedTo = null;
            return;
        }
        if (!session || guard.checking || lengthBox.disabled || !isWindowControl(to) || to === lengthBox)
            return;
        if (event.target === lengthList && !guard.deferred)
            return;
        if (to === lengthList) {
            guard.deferred = true;
            return;
        }
        const outcome = checkLeavingLength();
        if (outcome.accepted)
            guard.deferred = false;
        apply(outcome);
    }

    function nextInOrder(from, backwards) {
        const at = kOrder.indexOf(from.id);
        for (let step = 1; step <= kOrder.length; ++step) {
            const id = kOrder[(at + (backwards ? -step : step) + kOrder.length) % kOrder.length];
            const candidate = byId(id);
            if (!candidate.disabled && candidate.getClientRects().length > 0)
                return candidate;
        }
        return null;
    }

    // Tab and Shift+Tab go round the menu bar and the window's controls in the window's order; Shift+Tab
    // from the first menu leaves the page to the browser.
    function tabFrom(from, backwards, event) {
        if (kOrder.indexOf(from.id) < 0 || (backwards && from.id === kOrder[0]))
            return;
        if (event)
            event.preventDefault();
        const target = nextInOrder(from, backwards);
        if (!target || (guarding() && !allowMoveTo(target)))
            return;
        VornFocus.move(target, "key");
    }

    function onKey(event) {
        if (VornDialogs.anyOpen())
            return;
        if (event.key === "Tab" && !event.ctrlKey && !event.altKey && !event.metaKey) {
            tabFrom(document.activeElement, event.shiftKey, event);
            return;
        }
        // One press, one click: a held Enter must not record event after event.
        if (event.key === "Enter" && event.repeat && event.target.tagName === "BUTTON")
            event.preventDefault();
    }

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
    // character changed since, is offered for saving first; `save` saves it.
    async function maySetCharacterAside(save) {
        if (!session.needsSaveQuestion(!!fileName))
            return true;
        const answer = await VornDialogs.askSaveChanges(fileName);
        if (answer === "save")
            save();
        return answer !== "cancel";
    }

    // Hands the character to the browser as a file, which is then the character's file.
    function download() {
        const name = fileName || kNewFileName;
        VornStorage.download(session.save(boxes()), name);
        session.markSaved();
        fileName = name;
    }

    function save() {
        download();
        showSessionState();
    }

    async function newCharacter() {
        if (!(await maySetCharacterAside(save)))
            return;
        fileName = null;
        await apply(session.newCharacter(boxes()));
    }

    async function chooseFile() {
        if (!(await maySetCharacterAside(save)))
            return;
        const picker = byId("filOpen");
        picker.value = "";
        picker.click();
    }

    async function openFile(file) {
        if (file.size > Session.mostFileBytes()) {
            await showMessage(Session.tooLarge(file.name));
            return;
        }
        let bytes;
        try {
            bytes = await VornStorage.read(file);
        } catch (e) {
            await showMessage("\"" + file.name + "\" could not be read: " + (e && e.message ? e.message : e) + ".");
            return;
        }
        const read = session.open(bytes, file.name);
        if (!read.choices) {
            await showMessage(read.problem);
            return;
        }
        fileName = file.name;
        await showChoicesOf(read.choices);
    }

    // The lists, the check box and a manual length as the character has them, then one refresh.
    function showChoicesOf(choices) {
        if (choices.eventLengthEntry === -1) {
            lengthBox.value = choices.manualLength;
            typing.reset(lengthBox);
        }
        lengthList.value = String(choices.eventLengthEntry);
        byId("cboCharacterClass").value = String(choices.classCode);
        byId("chkShowMaxOut").checked = choices.maxOut;
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

    function connectHandlers() {
        act("cboCharacterClass", "change", () => session.selectClass(Number(byId("cboCharacterClass").value), boxes()));
        act("cboEventLength", "change", () => session.selectEventLength(Number(lengthList.value), boxes()));
        act("chkShowMaxOut", "change", () => session.showMaxOut(byId("chkShowMaxOut").checked, boxes()));
        act("cmdSetStartingBuild", "click", () => session.setStartingValues(boxes()));
        act("cmdSetStartingBuildLevel1", "click", () => session.reset(boxes()));
        act("cmdAddEvent", "click", () => session.addEvent(boxes()));
        act("cmdAddEventTraining", "click", () => session.addEventWithTraining(boxes()));
        act("cmdAddMaxOut", "click", () => session.addMaxOut(boxes()));
        act("cmdLengthHelp", "click", () => session.lengthHelp());

        for (const id of kTextBoxes) {
            const box = byId(id);
            typing.reset(box);
            box.addEventListener("focus", () => boxTakesFocus(box));
            box.addEventListener("input", (event) => typing.typed(box, event));
            // A manual length typed and left is kept even before anything refreshes.
            box.addEventListener("change", keepCharacter);
        }
        lengthBox.addEventListener("focusout", onLeave);
        lengthList.addEventListener("focusout", onLeave);
        document.addEventListener("mousedown", onPress, true);
        document.addEventListener("click", onClickAfterRefusal, true);
        document.addEventListener("keydown", onKey, true);
        byId("filOpen").addEventListener("change", () => {
            const file = byId("filOpen").files[0];
            if (file)
                openFile(file);
        });

        VornPlan.init(session, boxes, apply);
        VornMenus.init({
            mnuNew: newCharacter,
            mnuOpen: chooseFile,
            mnuSave: save,
            mnuUndo: () => apply(session.undo(boxes())),
            mnuRedo: () => apply(session.redo(boxes())),
            mnuCopyResults: copyResults,
            mnuHistory: () => VornDialogs.history(Session.historyCaptions(), session.history(), session.historyChart()),
            mnuAddBlankets: askForBlankets,
            mnuCalculateBlankets: () => apply(session.reverseCalculateBlankets()),
            mnuPlan: () => VornPlan.open(),
            mnuAbout: () => VornDialogs.about(),
            typingUndoes: typing.undoes,
            typingRedoes: typing.redoes,
        }, (from, backwards) => tabFrom(from, backwards, null));
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
    function take(kept) {
        const read = session.openKept(VornStorage.bytesOf(kept.text));
        if (!read.choices)
            return read;
        fileName = kept.fileName;
        // Changes not yet saved to the file are still to be saved, or offered for saving, after a reload.
        if (kept.modified)
            session.markUnsaved();
        VornStorage.shows(kept);
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
        if (!kept.madeFromShown) {
            if (!(await maySetCharacterAside(download))) {
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
        // A box closing may leave another open in its place; the character waits for the last one.
        document.addEventListener("close", () => setTimeout(() => {
            if (elsewhere.waiting)
                followElsewhere();
        }, 0), true);
    }

    async function start() {
        const Module = await VornModule;
        Module.setNumberFormat(...numberFormat());
        Session = Module.Session;
        session = new Session();

        for (const id of kTabOrder)
            if (id !== "txtEventLength")
                byId(id).disabled = false;
        connectHandlers();

        lengthList.value = "2";
        byId("cboCharacterClass").value = "1";
        const { restored, problem } = restoreKept();
        if (!restored)
            apply(session.refresh(boxes()));
        followOtherTabs();
        const first = byId("txtSilverSubmitted");
        VornFocus.move(first, "program");
        first.select();
        if (problem)
            showMessage(problem);
    }

    return start().catch((problem) => {
        const notice = document.createElement("p");
        notice.className = "notice";
        notice.setAttribute("role", "alert");
        notice.textContent = "The calculator could not start in this browser: " + problem;
        document.querySelector("main").prepend(notice);
        throw problem;
    });
})();
