// @ts-check
// The character's file: New Character, Open, Save, Save As and Share, and the question asked before a
// character with unsaved steps makes way for another. Where a file comes from and goes to, the browser
// permitting, is files.js's; a character not saved stays as it was, its changes unsaved.
import * as VornDialogs from "./dialogs.js";
import { byId } from "./focus.js";
import * as VornStorage from "./storage.js";

/**
 * @typedef {import("./calculator.js").Calculator} Calculator
 * @typedef {import("./calculator.js").CharacterState} CharacterState
 * @typedef {ReturnType<typeof import("./files.js").files>} CharacterFiles
 */

/**
 * @param {Calculator} calculator
 * @param {CharacterFiles} characterFiles
 */
export function characterCommands(calculator, characterFiles) {
    const { Session, session } = calculator;
    // The character's file name, or the one Save suggests for a character that has none.
    const fileName = () => calculator.state.fileName || Session.newFileName();

    // Whether the character may make way for another. One with steps not yet in a file, or a file's
    // character changed since, is offered for saving first; `save` saves it, and says whether it did.
    /** @param {() => Promise<boolean>} save */
    async function maySetCharacterAside(save) {
        if (!calculator.state.needsSaveQuestion)
            return true;
        const answer = await VornDialogs.askSaveChanges(Session.saveQuestion(calculator.state.fileName));
        if (answer === "save")
            return save();
        return answer !== "cancel";
    }

    // Writes the character to its file, or to one the user picks, or hands it to the browser's downloads;
    // the file is then the character's.
    /** @param {boolean} saveAs @returns {Promise<CharacterState | null>} */
    async function write(saveAs) {
        const saving = await characterFiles.save(session.save(calculator.boxes()), fileName(), saveAs);
        if ("problem" in saving)
            await calculator.showMessage(saving.problem);
        if (!("saved" in saving))
            return null;
        calculator.state = session.markSaved(saving.saved);
        return calculator.state;
    }

    async function save(saveAs = false) {
        const saved = await write(saveAs);
        if (saved)
            calculator.showSessionState(saved);
        return !!saved;
    }

    async function newCharacter() {
        if (!(await maySetCharacterAside(save)))
            return;
        characterFiles.forget();
        await calculator.apply(session.newCharacter(calculator.boxes()));
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
            await calculator.showMessage(Session.notRead(picked.name, e instanceof Error ? e.message : String(e)));
            return false;
        }
        if (!bytes) {
            await calculator.showMessage(Session.tooLarge(picked.name));
            return false;
        }
        const read = session.open(bytes, picked.name);
        if (!read.choices) {
            await calculator.showMessage(read.problem);
            return false;
        }
        await calculator.showChoicesOf(read.choices);
        return true;
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

    // A file the system or another app hands the page (the installed app's file handlers, its share
    // target), opened as a picked one is, after the same question. A handle is kept for Save.
    /** @param {File | import("./files.js").FileHandle} given */
    async function openGiven(given) {
        if (!(await maySetCharacterAside(save)))
            return false;
        const opened = await openFile(given);
        if (opened)
            characterFiles.opened("getFile" in given ? given : null);
        return opened;
    }

    // A file picked with the page's own file input, where the browser has no picker.
    function openPicked() {
        const file = byId("filOpen", HTMLInputElement).files?.[0];
        if (file)
            openFile(file).then((opened) => opened && characterFiles.opened(null));
    }

    async function shareCharacter() {
        const file = characterFiles.shareable(session.save(calculator.boxes()), fileName());
        const problem = file ? await characterFiles.share(file) : "";
        if (problem)
            await calculator.showMessage(problem);
    }

    // The commands the browser allows now: writing to a file the user picks, and sharing.
    function showOffered() {
        /** @type {HTMLElement} */ (byId("mnuSaveAs").parentElement).hidden = !characterFiles.offered();
        // Whether the browser shares such a file turns on its name and type, not its text: an empty one tells,
        // where writing a long character's file each time a menu opens or a key is pressed would not fit a frame.
        /** @type {HTMLElement} */ (byId("mnuShareCharacter").parentElement).hidden =
            !characterFiles.shareable("", fileName());
    }

    return { maySetCharacterAside, write, save, newCharacter, chooseFile, openGiven, openPicked, shareCharacter, showOffered };
}
