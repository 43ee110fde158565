// @ts-check
// What lasts beyond the page: the current character in the browser's storage, and character files read
// from and written to the user's disk. A browser that keeps no storage (private windows, full storage, a
// policy) costs only the lasting: the calculator goes on working.

/**
 * The character as the storage holds it: its revision and the one it was made from ("" for none); whether
 * it is the character this page shows, and whether it was made from it.
 * @typedef {{text: string | null, fileName: string | null, modified: boolean, revision: string,
 *            madeFrom: string, isShown: boolean, madeFromShown: boolean}} Kept
 */

/**
 * @typedef {{text: string, fileName: string | null, modified: boolean}} Own
 */

/**
 * One page's keeping of its character in `storage()`, shared by the page's tabs, and in `tabStorage()`,
 * this tab's alone, which outlasts a reload of the tab but not its closing (null or a throw: the browser
 * keeps nothing there).
 * @param {() => Storage | null} storage
 * @param {() => Storage | null} [tabStorage]
 */
export function keeper(storage, tabStorage = () => null) {
    const characterKey = "vorn-build-calculator.character";
    // The tab's own character while it goes its own way, apart from the one its other tabs keep: one item,
    // so that it is read whole or not at all.
    const ownKey = "vorn-build-calculator.ownCharacter";
    const fileNameKey = "vorn-build-calculator.fileName";
    const modifiedKey = "vorn-build-calculator.modified";
    // "<revision> <revision it was made from>", written after the rest, so that another tab hearing of it
    // finds the whole character in place. Each keeping is a new revision; a tab tells from the second one
    // whether a character kept elsewhere was made from the one it shows.
    const revisionKey = "vorn-build-calculator.revision";

    // The revision of the character this page shows: the one it last kept or took from storage; null
    // while it shows one the storage does not hold.
    /** @type {string | null} */
    let shown = null;
    // What this page last kept, which needs no second writing.
    /** @type {{text: string | null, fileName: string | null, modified: boolean} | null} */
    let written = null;
    // The page's last keeping failed: its character is its own, and it follows no other tab's until it
    // keeps one again.
    let refused = false;
    // The tab's player chose to keep its character rather than another tab's: each keeping writes it to
    // the tab's own storage too, where another tab's keeping can't replace it.
    let apart = false;

    function newRevision() {
        const random = new Uint32Array(2);
        crypto.getRandomValues(random);
        return Array.from(random, (n) => n.toString(36)).join("");
    }

    /**
     * The character's file text, the name of the file it came from or went to (null for none), and
     * whether it has changes that file lacks. False when the browser would not keep it.
     * @param {string} text
     * @param {string | null} fileName
     * @param {boolean} modified
     */
    function keep(text, fileName, modified) {
        if (holds(text, fileName, modified))
            return true;
        if (apart)
            keepOwn({ text, fileName, modified });
        try {
            const kept = storage();
            if (!kept)
                throw new Error("no storage");
            kept.setItem(characterKey, text);
            if (fileName)
                kept.setItem(fileNameKey, fileName);
            else
                kept.removeItem(fileNameKey);
            if (modified)
                kept.setItem(modifiedKey, "1");
            else
                kept.removeItem(modifiedKey);
            const revision = newRevision();
            kept.setItem(revisionKey, revision + " " + (shown || ""));
            shown = revision;
            written = { text, fileName, modified };
            refused = false;
            return true;
        } catch (e) {
            // Full or refused: the newest changes last only as long as the page. What the storage holds is
            // left as it was, the last good copy, the one the next visit brings back: better than none.
            // A partial write is undone by the revision, which still names the older keeping.
            try {
                const kept = storage();
                if (kept && written) {
                    kept.setItem(characterKey, written.text ?? "");
                    if (written.fileName)
                        kept.setItem(fileNameKey, written.fileName);
                    else
                        kept.removeItem(fileNameKey);
                    if (written.modified)
                        kept.setItem(modifiedKey, "1");
                    else
                        kept.removeItem(modifiedKey);
                }
            } catch (again) {
                // The storage holds whatever it could.
            }
            // The page's character is no longer the one the storage holds: another tab's kept later was
            // not made from it.
            shown = null;
            refused = true;
            return false;
        }
    }

    /**
     * Whether the storage holds this character as this page last kept or took it: nothing of it waits.
     * @param {string} text
     * @param {string | null} fileName
     * @param {boolean} modified
     */
    function holds(text, fileName, modified) {
        return !refused && written !== null && written.text === text && written.fileName === fileName &&
               written.modified === modified;
    }

    /** @param {Own | null} own */
    function keepOwn(own) {
        try {
            const tab = tabStorage();
            if (tab && own)
                tab.setItem(ownKey, JSON.stringify(own));
            else if (tab)
                tab.removeItem(ownKey);
        } catch (e) {
            // Only the shared storage keeps it, then.
        }
    }

    /**
     * The tab goes its own way with this character, which its player kept rather than another tab's.
     * @param {Own} own
     */
    function keepApart(own) {
        apart = true;
        keepOwn(own);
    }

    /**
     * The tab's own character, kept apart before the tab was reloaded; null for none.
     * @returns {Own | null}
     */
    function own() {
        try {
            const tab = tabStorage();
            const found = tab ? JSON.parse(tab.getItem(ownKey) || "null") : null;
            if (found && typeof found.text === "string")
                return { text: found.text, fileName: typeof found.fileName === "string" ? found.fileName : null,
                         modified: !!found.modified };
        } catch (e) {
            // Unreadable or damaged: the shared character, then.
        }
        return null;
    }

    /**
     * The page shows its own character again, kept apart before it was reloaded; it goes on its own way.
     * @param {Own} character
     */
    function showsOwn(character) {
        apart = true;
        shown = null;
        // Kept already, in the tab's own storage: the shared one gets it with the tab's next change.
        written = { ...character };
        keepOwn(character);
    }

    // The kept character; it is the one this page shows when it has that revision, or the same text.
    /** @returns {Kept} */
    function kept() {
        /** @type {Kept} */
        const found = { text: null, fileName: null, modified: false, revision: "", madeFrom: "",
                        isShown: false, madeFromShown: false };
        try {
            const from = storage();
            if (from) {
                [found.revision, found.madeFrom = ""] = (from.getItem(revisionKey) || "").split(" ");
                found.text = from.getItem(characterKey);
                found.fileName = from.getItem(fileNameKey);
                found.modified = from.getItem(modifiedKey) !== null;
            }
        } catch (e) {
            // Unreadable storage holds nothing for us.
        }
        found.isShown =
            (shown !== null && found.revision === shown) ||
            (written !== null && written.text === found.text && written.fileName === found.fileName &&
             written.modified === found.modified);
        found.madeFromShown = shown !== null && found.madeFrom === shown;
        return found;
    }

    /**
     * The page now shows the character kept(): it holds it already.
     * @param {Kept} character
     */
    function shows(character) {
        shown = character.revision || null;
        written = { text: character.text, fileName: character.fileName, modified: character.modified };
        refused = false;
        if (apart)
            keepOwn(null);
        apart = false;
    }

    /**
     * The page starts afresh with this character, which holds nothing worth keeping: the storage is left
     * as it is until the character changes, so that a tab just opened doesn't put its empty character in
     * place of another tab's work.
     * @param {Own} character
     */
    function startsWith(character) {
        if (written === null)
            written = { ...character };
    }

    // The storage lost the character this page shows: the next keep() writes it again.
    function lost() {
        written = null;
    }

    function forget() {
        try {
            const from = storage();
            if (from)
                for (const key of [characterKey, fileNameKey, modifiedKey, revisionKey])
                    from.removeItem(key);
        } catch (e) {
            // Nothing to do about it.
        }
    }

    /**
     * Whether a storage event says another tab of the page kept a character or emptied the storage, which
     * this page follows unless its own keeping was refused.
     * @param {{key: string | null}} event
     */
    function keptElsewhere(event) {
        return (event.key === revisionKey || event.key === null) && !refused;
    }

    // Whether the shared storage holds the character this page last kept or took, or one another tab made
    // from it, which has all of it that the other tab's player kept.
    function keepsShown() {
        if (refused || written === null)
            return false;
        const found = kept();
        return found.isShown || found.madeFromShown;
    }

    return { keep, kept, shows, lost, forget, keptElsewhere, holds, keepApart, own, showsOwn, keepsShown, startsWith };
}

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

const page = keeper(() => {
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
export const { keep, kept, shows, lost, forget, holds, keepApart, own, showsOwn, keepsShown, startsWith } = page;

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
