// @ts-check
// What lasts beyond the page: the current character in the browser's storage, and character files read
// from and written to the user's disk. A browser that keeps no storage (private windows, full storage, a
// policy) costs only the lasting: the calculator goes on working.
import { keeper, openDatabase } from "./keeper.js";

/**
 * @typedef {import("./keeper.js").Kept} Kept
 * @typedef {import("./keeper.js").Source} Source
 */

/**
 * @typedef {{set: (run: () => void, ms: number) => unknown, clear: (timer: unknown) => void}} Timers
 */

/**
 * Keeping that costs an action nothing: writing a long character takes longer than a frame, so a change
 * is kept within `wait` ms, once for all the changes made meanwhile, or at once by now(). A crash of the
 * tab loses no more than that wait.
 * @param {() => void} keepNow keeps the character as the page shows it then
 * @param {Timers} timers
 * @param {number} wait
 */
export function keepingSoon(keepNow, timers, wait) {
    /** @type {unknown} */
    let timer = null;
    const drop = () => {
        if (timer !== null)
            timers.clear(timer);
        timer = null;
    };
    // A wait already running is not put off by further changes: continuous work is still kept each wait.
    const now = () => {
        if (timer === null)
            return;
        drop();
        keepNow();
    };
    return {
        changed() {
            if (timer === null)
                timer = timers.set(now, wait);
        },
        now,
        // The page's character has been replaced by one that needs no keeping.
        drop,
        // Whether the page shows changes the storage doesn't hold yet.
        pending: () => timer !== null,
    };
}

// Begun as the module loads: the database is open by the time the calculator is ready and the kept
// character is read.
const database = openDatabase((() => {
    try {
        return window.indexedDB;
    } catch (e) {
        return null;
    }
})());

const page = keeper(database, () => {
    try {
        return window.localStorage;
    } catch (e) {
        return null;
    }
}, () => {
    try {
        return window.sessionStorage;
    } catch (e) {
        return null;
    }
});
export const { keep, leave, kept, shows, lost, writeAgain, forget, holds, keepApart, own, showsOwn, keepsShown,
               startsWith } = page;

/**
 * `changed()` runs whenever another tab of the page has kept a character or emptied the storage, unless
 * this page's own keeping was refused.
 * @param {() => void} changed
 */
export function onKeptElsewhere(changed) {
    window.addEventListener("storage", (event) => {
        if (page.keptElsewhere(event))
            changed();
    });
}

/** @param {string} text */
export function bytesOf(text) {
    return new TextEncoder().encode(text);
}

/**
 * Hands the file to the browser, which saves it among the user's downloads (or asks where to).
 * @param {string} text
 * @param {string} fileName
 */
export function download(text, fileName) {
    const url = URL.createObjectURL(new Blob([bytesOf(text)], { type: "application/octet-stream" }));
    const link = document.createElement("a");
    link.href = url;
    link.download = fileName;
    link.hidden = true;
    document.body.appendChild(link);
    link.click();
    link.remove();
    // The browser has taken its copy by the time the page is idle again.
    setTimeout(() => URL.revokeObjectURL(url), 60000);
}

/** @param {Blob} file */
export async function read(file) {
    return new Uint8Array(await file.arrayBuffer());
}

/**
 * Whether leaving the page loses work: what waits is kept first (`keepNow`), and the page has steps not in
 * a file (`unsaved`) that the storage doesn't hold either (`kept` false: refused, or replaced by another
 * tab's character).
 * @param {() => void} keepNow
 * @param {() => boolean} unsaved
 * @param {() => boolean} kept
 */
export function mustWarnOnLeaving(keepNow, unsaved, kept) {
    keepNow();
    return unsaved() && !kept();
}
