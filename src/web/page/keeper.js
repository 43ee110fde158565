// @ts-check
// The character kept in the browser's storage for the next visit and the page's other tabs: in the site's
// IndexedDB database, a record and the steps in blocks, so that a keeping writes only what changed and never
// makes the page wait; in localStorage the revision every tab hears of, and the whole character written
// at once as a page is left. A refused keeping never removes the last good copy.

/**
 * The character as the storage holds it: its revision and the one it was made from ("" for none); whether
 * it is the character this page shows, and whether it was made from it; `left` when it is the copy a page
 * wrote as it was left, which the database is yet to hold.
 * @typedef {{text: string | null, fileName: string | null, modified: boolean, revision: string,
 *            madeFrom: string, isShown: boolean, madeFromShown: boolean, left: boolean}} Kept
 */

/**
 * @typedef {{text: string, fileName: string | null, modified: boolean}} Own
 * @typedef {{fileName: string | null, modified: boolean}} Meta
 */

/**
 * The page's character as a keeping takes it: what the storage lacks of it (all of it when `all`),
 * told written once the storage holds it; whether the storage holds it as the page last kept or took
 * it; `asItIs` tells that the storage holds it as it stands; its whole file text; its file name and
 * whether that file lacks changes.
 * @typedef {{change: (all: boolean) => import("./vorn").KeptChange, written: () => void,
 *            holds: () => boolean, asItIs: () => void, text: () => string, meta: () => Meta}} Source
 */

/**
 * The database the character is kept in, opened (or made) once per page: null where the browser has
 * none. A newer page that changes the database's layout closes this page's connection.
 * @param {IDBFactory | null} factory
 * @returns {Promise<IDBDatabase | null>}
 */
export function openDatabase(factory) {
    return new Promise((resolve) => {
        try {
            if (!factory)
                return resolve(null);
            const request = factory.open("vorn-build-calculator", 1);
            request.onupgradeneeded = () => {
                request.result.createObjectStore("character");
                request.result.createObjectStore("steps");
            };
            request.onsuccess = () => {
                request.result.onversionchange = () => request.result.close();
                resolve(request.result);
            };
            request.onerror = () => resolve(null);
            request.onblocked = () => resolve(null);
        } catch (e) {
            resolve(null);
        }
    });
}

/**
 * One page's keeping of its character, shared by the page's tabs: in the database `database`, a record
 * and its steps in blocks, so that a keeping writes only what changed; in `storage()` the revision
 * every tab hears of, and the whole character written at once as the page is left (a database write may
 * not finish then); and in `tabStorage()`, this tab's alone, which outlasts a reload of the tab but not
 * its closing (null or a throw: the browser keeps nothing there).
 * @param {Promise<IDBDatabase | null>} database
 * @param {() => Storage | null} storage
 * @param {() => Storage | null} [tabStorage]
 */
export function keeper(database, storage, tabStorage = () => null) {
    const record = "shared";
    // The whole character as a page was left, with its revision, file name and mark: one item, so that
    // it is written whole or not at all (a refused write leaves the copy before it, the last good one).
    // It stands while its revision is the latest.
    const leftKey = "vorn-build-calculator.leftCharacter";
    // The character as the page kept it before it had a database, read once to move it there.
    const characterKey = "vorn-build-calculator.character";
    const fileNameKey = "vorn-build-calculator.fileName";
    const modifiedKey = "vorn-build-calculator.modified";
    // The tab's own character while it goes its own way, apart from the one its other tabs keep.
    const ownKey = "vorn-build-calculator.ownCharacter";
    // "<revision> <revision it was made from>", written once the character is in place, so that another
    // tab hearing of it finds it whole. Each keeping is a new revision; a tab tells from the second one
    // whether a character kept elsewhere was made from the one it shows.
    const revisionKey = "vorn-build-calculator.revision";

    // The revision of the character this page shows: the one it last kept or took from storage; null
    // while it shows one the storage does not hold.
    /** @type {string | null} */
    let shown = null;
    // The file name and mark of the character last kept or taken.
    /** @type {Meta | null} */
    let written = null;
    // The page's last keeping failed: its character is its own, and it follows no other tab's until it
    // keeps one again.
    let refused = false;
    // The tab's player chose to keep its character rather than another tab's.
    let apart = false;
    // Counts the times the page was left, its character written whole: writes begun before are older than
    // that copy, which stays the latest.
    let leftTimes = 0;
    // Keepings and readings one after another: a reading never sees half a keeping, and a keeping
    // knows what the storage held before it.
    /** @type {Promise<unknown>} */
    let queue = Promise.resolve();
    // Keepings begun and not yet finished.
    let keeping = 0;

    function newRevision() {
        const random = new Uint32Array(2);
        crypto.getRandomValues(random);
        return Array.from(random, (n) => n.toString(36)).join("");
    }

    /** @param {Meta | null} a @param {Meta} b */
    const sameMeta = (a, b) => a !== null && a.fileName === b.fileName && a.modified === b.modified;

    /** @template T @param {() => Promise<T>} run @returns {Promise<T>} */
    function inTurn(run) {
        const next = queue.then(run);
        queue = next.catch(() => {});
        return next;
    }

    function latest() {
        try {
            const [revision = "", madeFrom = ""] = (storage()?.getItem(revisionKey) || "").split(" ");
            return { revision, madeFrom };
        } catch (e) {
            return { revision: "", madeFrom: "" };
        }
    }

    function dropLeftCopy() {
        try {
            const kept = storage();
            if (kept)
                for (const key of [characterKey, fileNameKey, modifiedKey, leftKey])
                    kept.removeItem(key);
        } catch (e) {
            // It stays; its revision is no longer the latest.
        }
    }

    /** @param {string} revision @param {string} madeFrom */
    function tellRevision(revision, madeFrom) {
        try {
            storage()?.setItem(revisionKey, revision + " " + madeFrom);
        } catch (e) {
            // The other tabs hear of it at their next reading.
        }
    }

    /**
     * Keeps the character as the page shows it then; true once the storage holds it, false when the
     * browser would not keep it (what the storage held stays as it was, the last good copy).
     * @param {Source} source
     * @returns {Promise<boolean>}
     */
    function keep(source) {
        ++keeping;
        return inTurn(async () => {
            // What this page last kept, took or started with needs no second writing.
            if (holds(source))
                return true;
            if (apart)
                keepOwn({ text: source.text(), ...source.meta() });
            const db = await database;
            if (!db)
                return refuse();
            return new Promise((resolve) => {
                const revision = newRevision();
                const madeFrom = shown || "";
                const begunAfterLeaving = leftTimes;
                let meta = source.meta();
                let wrote = false;
                try {
                    const transaction = db.transaction(["character", "steps"], "readwrite");
                    const characters = transaction.objectStore("character");
                    const steps = transaction.objectStore("steps");
                    const found = characters.get(record);
                    found.onsuccess = () => {
                        const held = found.result;
                        const all = refused || !held || held.revision !== shown;
                        const change = source.change(all);
                        meta = source.meta();
                        if (change.unchanged && sameMeta(written, meta))
                            return;
                        try {
                            change.blocks.forEach((block, i) => steps.put(block, change.firstBlock + i));
                            steps.delete(IDBKeyRange.lowerBound(change.blockCount));
                            characters.put({ head: change.head, tail: change.tail, blockCount: change.blockCount,
                                             fileName: meta.fileName, modified: meta.modified, revision, madeFrom },
                                           record);
                            wrote = true;
                        } catch (e) {
                            // Refused at once: nothing of it lands.
                            transaction.abort();
                        }
                    };
                    transaction.oncomplete = () => {
                        if (wrote) {
                            askToLast();
                            source.written();
                            written = meta;
                            refused = false;
                            if (begunAfterLeaving === leftTimes) {
                                shown = revision;
                                dropLeftCopy();
                                tellRevision(revision, madeFrom);
                            }
                        }
                        resolve(true);
                    };
                    transaction.onabort = () => resolve(refuse());
                } catch (e) {
                    resolve(refuse());
                }
            });
        }).finally(() => --keeping);
    }

    // Once the page keeps a character, the browser is asked to keep its storage through storage pressure
    // too, as it keeps a file, rather than clear it with the site's cache. Asked once: a browser may ask
    // its user.
    let asked = false;
    function askToLast() {
        if (asked)
            return;
        asked = true;
        try {
            navigator.storage?.persisted?.().then((lasts) => lasts || navigator.storage.persist()).catch(() => {});
        } catch (e) {
            // A browser without it keeps the storage as long as it can.
        }
    }

    // Full or refused: the newest changes last only as long as the page. What the storage holds is left
    // as it was (a database write is whole or nothing), the last good copy, the one the next visit
    // brings back: better than none. The page's character is no longer the one the storage holds:
    // another tab's kept later was not made from it.
    function refuse() {
        shown = null;
        refused = true;
        return false;
    }

    /**
     * The page is left: what the database does not hold yet is written whole at once, where the next
     * visit finds it, for a database write may not finish as the page goes.
     * @param {Source} source
     */
    function leave(source) {
        if (holds(source))
            return;
        try {
            const kept = storage();
            if (!kept)
                return;
            const meta = source.meta();
            const revision = newRevision();
            kept.setItem(leftKey, JSON.stringify({ revision, text: source.text(), ...meta }));
            tellRevision(revision, shown || "");
            shown = revision;
            written = meta;
            ++leftTimes;
            // Held as it is now, though not by the database: the next change is written there whole.
            source.asItIs();
        } catch (e) {
            // Too long for it, or full: what the storage held stays, the database's or an earlier copy.
        }
    }

    /**
     * Whether the storage holds this character as this page last kept or took it: nothing of it waits.
     * @param {Source} source
     */
    function holds(source) {
        return !refused && sameMeta(written, source.meta()) && source.holds();
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
     * The shared storage gets it with the tab's next change.
     * @param {Own} character
     */
    function showsOwn(character) {
        apart = true;
        shown = null;
        written = { fileName: character.fileName, modified: character.modified };
        keepOwn(character);
    }

    /**
     * The kept character: the copy written as a page was left while it is the latest, else the
     * database's.
     * @returns {Promise<Kept>}
     */
    function kept() {
        return inTurn(async () => {
            /** @type {Kept} */
            const found = { text: null, fileName: null, modified: false, revision: "", madeFrom: "",
                            isShown: false, madeFromShown: false, left: false };
            const now = latest();
            try {
                const from = storage();
                const copy = JSON.parse(from?.getItem(leftKey) || "null");
                const earlier = from?.getItem(characterKey) ?? null;
                if (from && copy && typeof copy.text === "string" && copy.revision === now.revision) {
                    found.text = copy.text;
                    found.fileName = typeof copy.fileName === "string" ? copy.fileName : null;
                    found.modified = !!copy.modified;
                    found.revision = copy.revision;
                    found.madeFrom = now.madeFrom;
                    found.left = true;
                } else if (from && earlier !== null) {
                    found.text = earlier;
                    found.fileName = from.getItem(fileNameKey);
                    found.modified = from.getItem(modifiedKey) !== null;
                    found.revision = now.revision;
                    found.madeFrom = now.madeFrom;
                    found.left = true;
                }
            } catch (e) {
                // Unreadable storage holds nothing for us.
            }
            if (!found.left)
                Object.assign(found, await fromDatabase());
            found.isShown = shown !== null && found.revision === shown;
            found.madeFromShown = shown !== null && found.madeFrom === shown;
            return found;
        });
    }

    /** @returns {Promise<Partial<Kept>>} */
    async function fromDatabase() {
        const db = await database;
        if (!db)
            return {};
        return new Promise((resolve) => {
            try {
                const transaction = db.transaction(["character", "steps"], "readonly");
                const found = transaction.objectStore("character").get(record);
                /** @type {IDBRequest<string[]> | null} */
                let blocks = null;
                found.onsuccess = () => {
                    if (found.result)
                        blocks = transaction.objectStore("steps").getAll(
                            IDBKeyRange.bound(0, Math.max(0, found.result.blockCount - 1)));
                };
                transaction.oncomplete = () => {
                    const held = found.result;
                    if (!held)
                        return resolve({});
                    const steps = held.blockCount > 0 && blocks ? blocks.result : [];
                    resolve({ text: held.head + steps.join("") + held.tail, fileName: held.fileName ?? null,
                              modified: !!held.modified, revision: held.revision, madeFrom: held.madeFrom });
                };
                transaction.onabort = () => resolve({});
            } catch (e) {
                resolve({});
            }
        });
    }

    /**
     * The page now shows the character kept(): it holds it already.
     * @param {Kept} character
     */
    function shows(character) {
        shown = character.revision || null;
        written = { fileName: character.fileName, modified: character.modified };
        refused = false;
        if (apart)
            keepOwn(null);
        apart = false;
    }

    /**
     * The page starts afresh with a character that holds nothing worth keeping: the storage is left as
     * it is until the character changes, so that a tab just opened doesn't put its empty character in
     * place of another tab's work.
     * @param {Meta} meta
     */
    function startsWith(meta) {
        if (written === null)
            written = meta;
    }

    // The storage lost the character this page shows: the next keep() writes it again.
    function lost() {
        written = null;
        shown = null;
    }

    // The character this page took is to be written again, into the database.
    function writeAgain() {
        written = null;
    }

    // The kept character can't be brought back: it goes, all of it.
    function forget() {
        dropLeftCopy();
        try {
            storage()?.removeItem(revisionKey);
        } catch (e) {
            // Nothing to do about it.
        }
        inTurn(async () => {
            const db = await database;
            if (!db)
                return;
            try {
                const transaction = db.transaction(["character", "steps"], "readwrite");
                transaction.objectStore("character").clear();
                transaction.objectStore("steps").clear();
            } catch (e) {
                // Nothing to do about it.
            }
        });
    }

    /**
     * Whether a storage event says another tab of the page kept a character or emptied the storage, which
     * this page follows unless its own keeping was refused.
     * @param {{key: string | null}} event
     */
    function keptElsewhere(event) {
        return (event.key === revisionKey || event.key === null) && !refused;
    }

    // Whether the storage holds the character this page last kept or took, or one another tab made from
    // it, which has all of it that the other tab's player kept.
    /** @param {Source} source */
    function keepsShown(source) {
        if (!holds(source))
            return false;
        const now = latest();
        return shown !== null && (now.revision === shown || now.madeFrom === shown);
    }

    return { keep, leave, kept, shows, lost, writeAgain, forget, keptElsewhere, holds, keepApart, own, showsOwn,
             keepsShown, startsWith };
}
