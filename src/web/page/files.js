// @ts-check
// Character files where the browser lets the page keep them. With the file pickers (Chromium on a
// computer) the page remembers the file a character came from or went to, and Save writes back to it as
// the desktop does; elsewhere Open reads the file the user picks and Save hands a copy to the browser's
// downloads. Where the browser can share a file with another app (phones), the character goes as its file.

/**
 * @typedef {{mode: "readwrite"}} Access
 * @typedef {{write(data: Uint8Array): Promise<void>, close(): Promise<void>, abort(): Promise<void>}} Writable
 * @typedef {{name: string, getFile(): Promise<File>, createWritable(): Promise<Writable>,
 *            queryPermission?(access: Access): Promise<string>,
 *            requestPermission?(access: Access): Promise<string>}} FileHandle
 * @typedef {{description: string, accept: {[type: string]: string[]}}[]} FileTypes
 * The browser's file pickers (the window), each missing where the browser lacks it.
 * @typedef {{showOpenFilePicker?: (options: {types: FileTypes}) => Promise<FileHandle[]>,
 *            showSaveFilePicker?: (options: {types: FileTypes, suggestedName: string}) => Promise<FileHandle>}} Pickers
 * The browser's sharing with other apps (the navigator).
 * @typedef {{canShare?: (data: {files: File[]}) => boolean, share?: (data: {files: File[]}) => Promise<void>}} Sharing
 * What became of a save: the name of the file written, or nothing to say (the user cancelled), or the
 * message that says why nothing was saved.
 * @typedef {{saved: string} | {cancelled: true} | {problem: string}} Saving
 */

const kWrite = /** @type {Access} */ ({ mode: "readwrite" });

/** @param {unknown} e */
const cancelled = (e) => e instanceof Error && e.name === "AbortError";

/** @param {unknown} e */
const reason = (e) => String(e instanceof Error ? e.message : e).replace(/\.$/, "");

/** When the file was last written; NaN where that can't be had. @param {FileHandle} file */
const lastWritten = (file) => file.getFile().then((read) => read.lastModified, () => NaN);

/**
 * The session's words for character files: what the pickers call them, their ending, and what is said of
 * one not saved (notSaved(name, why)).
 * @typedef {{kind: string, extension: string, notSaved: (name: string, why: string) => string}} FileWords
 */

/**
 * @param {Pickers} pickers
 * @param {Sharing} sharing
 * @param {(text: string, fileName: string) => void} download hands the file to the browser's downloads
 * @param {FileWords} words
 */
export function files(pickers, sharing, download, words) {
    /** @type {FileTypes} */
    const types = [{ description: words.kind, accept: { "application/json": [words.extension] } }];
    const notSaved = words.notSaved;
    // The file the character came from or went to last, while it is the character's file.
    /** @type {FileHandle | null} */
    let handle = null;
    // When that file was last written as the page knows it.
    /** @type {Promise<number>} */
    let seen = Promise.resolve(NaN);

    const offered = () => typeof pickers.showOpenFilePicker === "function" &&
        typeof pickers.showSaveFilePicker === "function";

    /**
     * The file the user picks to open; null when the user cancelled; "input" where the page asks with
     * its own file input.
     * @returns {Promise<FileHandle | null | "input">}
     */
    async function choose() {
        if (!offered())
            return "input";
        try {
            const [picked] = await /** @type {NonNullable<Pickers["showOpenFilePicker"]>} */ (pickers.showOpenFilePicker)({ types: types });
            return picked;
        } catch (e) {
            return cancelled(e) ? null : "input";
        }
    }

    /**
     * Writes the character: back to its own file where the page has it and `saveAs` is false, else to
     * one the user picks, else among the downloads.
     * @param {string} text
     * @param {string} name the character's file name, or the one suggested for a new file
     * @param {boolean} saveAs
     * @returns {Promise<Saving>}
     */
    async function save(text, name, saveAs) {
        let target = !saveAs && handle && handle.name === name ? handle : null;
        // Written since by another program (or another tab), the file is not overwritten unseen: the user
        // picks where, as with Save As.
        if (target && (await lastWritten(target)) !== (await seen))
            target = null;
        if (!target && offered()) {
            try {
                target = await /** @type {NonNullable<Pickers["showSaveFilePicker"]>} */ (pickers.showSaveFilePicker)({ types: types, suggestedName: name });
            } catch (e) {
                if (cancelled(e))
                    return { cancelled: true };
                // A browser that won't show its picker here still takes a download.
            }
        }
        if (!target) {
            download(text, name);
            return { saved: name };
        }
        // A file the user opened may be read, not yet written: the browser asks the user first.
        let allowed = target.queryPermission ? await target.queryPermission(kWrite).catch(() => "prompt") : "granted";
        if (allowed !== "granted" && target.requestPermission)
            allowed = await target.requestPermission(kWrite).catch(() => "denied");
        if (allowed !== "granted")
            return { problem: notSaved(target.name, "the browser did not allow the page to write to it") };
        /** @type {Writable | null} */
        let writing = null;
        try {
            // The browser replaces the file only when the writing closes, so a failure leaves it whole.
            writing = await target.createWritable();
            await writing.write(new TextEncoder().encode(text));
            await writing.close();
        } catch (e) {
            await writing?.abort().catch(() => {});
            return { problem: notSaved(target.name, reason(e)) };
        }
        handle = target;
        seen = lastWritten(target);
        return { saved: target.name };
    }

    /**
     * The character's file as it would be shared, or null where the browser can't share it.
     * @param {string} text
     * @param {string} name
     */
    function shareable(text, name) {
        if (typeof sharing.canShare !== "function" || typeof sharing.share !== "function")
            return null;
        const file = new File([new TextEncoder().encode(text)], name, { type: "application/json" });
        try {
            return sharing.canShare({ files: [file] }) ? file : null;
        } catch (e) {
            return null;
        }
    }

    /**
     * Hands the file to the browser's sharing; the message that says why it could not, or "".
     * @param {File} file
     */
    async function share(file) {
        try {
            await /** @type {NonNullable<Sharing["share"]>} */ (sharing.share)({ files: [file] });
            return "";
        } catch (e) {
            return cancelled(e) ? "" : "\"" + file.name + "\" could not be shared: " + reason(e) + ".";
        }
    }

    return {
        offered,
        choose,
        save,
        shareable,
        share,
        /** The character now comes from this file (null: from none the page can write to). @param {FileHandle | null} from */
        opened: (from) => {
            handle = from;
            seen = from ? lastWritten(from) : Promise.resolve(NaN);
        },
        forget: () => { handle = null; },
    };
}
