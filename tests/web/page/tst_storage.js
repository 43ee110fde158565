// @ts-check
// Two tabs of the page keep one character in the browser's storage: each knows whether what the storage
// holds is the character it shows, or was made from it; a keeping the storage refuses loses nothing.
import assert from "node:assert/strict";
import { test } from "node:test";

import "./browser-globals.js";
import { keeper, openDatabase } from "../../../src/web/page/keeper.js";
import { keepingSoon, mustWarnOnLeaving } from "../../../src/web/page/storage.js";
import { fakeDatabase } from "./fake-database.js";

/** A browser's storage, shared by the tabs of one test; `full` refuses every write. */
function browserStorage() {
    const items = new Map();
    const storage = {
        full: false,
        getItem: (/** @type {string} */ key) => (items.has(key) ? items.get(key) : null),
        setItem(/** @type {string} */ key, /** @type {string} */ value) {
            if (storage.full)
                throw new Error("QuotaExceededError");
            items.set(key, value);
        },
        removeItem: (/** @type {string} */ key) => items.delete(key),
    };
    return storage;
}

/**
 * A page's character as the keeping takes it: its text is written whole, as one block; `writes` counts the
 * blocks written.
 * @param {string} text @param {string | null} fileName @param {boolean} modified
 */
function character(text, fileName = null, modified = false) {
    const page = { text, fileName, modified, held: /** @type {string | null} */ (null), writes: 0 };
    let pending = "";
    /** @type {import("../../../src/web/page/keeper.js").Source} */
    const source = {
        change(all) {
            pending = page.text;
            const unchanged = !all && page.held === page.text;
            page.writes += unchanged ? 0 : 1;
            return { head: "", tail: "", firstBlock: 0, blocks: unchanged ? [] : [page.text], blockCount: 1, unchanged };
        },
        written: () => { page.held = pending; },
        holds: () => page.held === page.text,
        asItIs: () => { page.held = page.text; },
        text: () => page.text,
        meta: () => ({ fileName: page.fileName, modified: page.modified }),
    };
    return Object.assign(page, { source });
}

/** Tabs of one browser: their database, their shared storage, and a tab's own storage each. */
function browser() {
    const db = fakeDatabase();
    const shared = browserStorage();
    const tab = (own = browserStorage()) => keeper(Promise.resolve(/** @type {any} */ (db)), () => /** @type {any} */ (shared),
                                                   () => /** @type {any} */ (own));
    return { db, shared, tab };
}

test("a tab knows its own character and one another tab made from it", async () => {
    const { tab } = browser();
    const [one, two, three] = [tab(), tab(), tab()];
    assert.equal(await one.keep(character("A", "a.vornchar").source), true);
    const seen = await two.kept();
    assert.deepEqual([seen.text, seen.fileName, seen.modified, seen.isShown], ["A", "a.vornchar", false, false]);
    two.shows(seen);
    assert.equal(await two.keep(character("B", "a.vornchar", true).source), true);
    const back = await one.kept();
    assert.deepEqual([back.text, back.modified, back.isShown, back.madeFromShown], ["B", true, false, true]);
    // A character made elsewhere from one this tab never showed.
    await three.keep(character("C", null, true).source);
    const other = await one.kept();
    assert.deepEqual([other.madeFromShown, other.fileName], [false, null]);
});

test("a keeping writes only what the storage lacks, and nothing when it lacks nothing", async () => {
    const { tab, shared } = browser();
    const one = tab();
    const a = character("A");
    await one.keep(a.source);
    const revision = (await one.kept()).revision;
    assert.equal(await one.keep(a.source), true);
    assert.deepEqual([(await one.kept()).revision, a.writes], [revision, 1]);
    a.modified = true;
    await one.keep(a.source);
    assert.notEqual((await one.kept()).revision, revision);
    assert.equal(a.writes, 1);
    // Another tab's character in between: all of it again.
    const two = tab();
    await two.keep(character("B").source);
    a.text = "A2";
    await one.keep(a.source);
    assert.equal(a.writes, 2);
    assert.equal(shared.getItem("vorn-build-calculator.revision")?.split(" ")[0], (await one.kept()).revision);
});

test("a refused keeping leaves the last good copy and stops following other tabs", async () => {
    const { tab, db } = browser();
    const one = tab();
    await one.keep(character("A", "a.vornchar", true).source);
    db.full = true;
    const b = character("B");
    assert.equal(await one.keep(b.source), false);
    const left = await one.kept();
    assert.deepEqual([left.text, left.fileName, left.modified], ["A", "a.vornchar", true]);
    assert.equal(one.keepsShown(b.source), false);
    // Refused, the same character is tried again rather than taken for kept.
    assert.equal(one.holds(b.source), false);
    assert.equal(one.keptElsewhere({ key: "vorn-build-calculator.revision" }), false);
    db.full = false;
    assert.equal(await one.keep(b.source), true);
    assert.equal((await one.kept()).text, "B");
    assert.equal(one.keepsShown(b.source), true);
    assert.equal(one.keptElsewhere({ key: "vorn-build-calculator.revision" }), true);
    assert.equal(one.keptElsewhere({ key: "something else" }), false);
});

test("a page left writes its character whole at once, which stays the latest until kept again", async () => {
    const { tab, shared } = browser();
    const one = tab();
    const a = character("A", null, true);
    await one.keep(a.source);
    a.text = "A2";
    assert.equal(one.keepsShown(a.source), false);
    one.leave(a.source);
    assert.equal(one.keepsShown(a.source), true);
    // Left again with the storage full: the copy before stays, the last good one.
    shared.full = true;
    a.text = "A3";
    one.leave(a.source);
    shared.full = false;
    const next = tab();
    const found = await next.kept();
    assert.deepEqual([found.text, found.left], ["A2", true]);
    // Kept in the database, the copy goes.
    next.shows(found);
    await next.keep(character("A2", null, true).source);
    assert.equal(shared.getItem("vorn-build-calculator.leftCharacter"), null);
    assert.deepEqual([(await tab().kept()).text, (await tab().kept()).left], ["A2", false]);
    // Before the database, the page kept its character there: it is brought back.
    const old = browser();
    old.shared.setItem("vorn-build-calculator.character", "OLD");
    old.shared.setItem("vorn-build-calculator.revision", "r0 ");
    assert.deepEqual([(await old.tab().kept()).text, (await old.tab().kept()).revision], ["OLD", "r0"]);
});

test("a tab that keeps its own character apart finds it after a reload, until it takes another's", async () => {
    const { tab } = browser();
    const ownOfOne = browserStorage();
    const one = tab(ownOfOne);
    const two = tab();
    await one.keep(character("A", null, true).source);
    await two.keep(character("B", null, true).source);
    assert.equal(one.own(), null);
    one.keepApart({ text: "A", fileName: null, modified: true });
    assert.equal(await one.keep(character("A2", "a.vornchar", true).source), true);
    // The other tab's next keeping replaces the shared character, not this tab's own.
    await two.keep(character("B2", null, true).source);
    const reloaded = tab(ownOfOne);
    assert.deepEqual(reloaded.own(), { text: "A2", fileName: "a.vornchar", modified: true });
    reloaded.showsOwn(/** @type {any} */ (reloaded.own()));
    const own = character("A2", "a.vornchar", true);
    own.source.asItIs();
    assert.equal(reloaded.keepsShown(own.source), false);
    const taken = await reloaded.kept();
    reloaded.shows(taken);
    assert.equal(reloaded.own(), null);
    const theirs = character(taken.text ?? "", null, true);
    theirs.source.asItIs();
    assert.equal(reloaded.keepsShown(theirs.source), true);
    // Damaged, it is no character.
    ownOfOne.setItem("vorn-build-calculator.ownCharacter", "{not json");
    assert.equal(reloaded.own(), null);
});

// name: [steps not in a file, whether the storage holds the character once what waits is kept, warn].
/** @type {{[name: string]: [boolean, boolean, boolean]}} */
const kLeaving = {
    "saved and kept": [false, true, false],
    "saved, not kept": [false, false, false],
    "unsaved, kept": [true, true, false],
    "unsaved, not kept": [true, false, true],
};

test("leaving warns only of work neither a file nor the storage holds, once what waits is kept", () => {
    for (const [name, [unsaved, keeps, warns]] of Object.entries(kLeaving)) {
        let keptNow = false;
        const warned = mustWarnOnLeaving(() => { keptNow = true; }, () => unsaved, () => keptNow && keeps);
        assert.deepEqual([warned, keptNow], [warns, true], name);
    }
});

test("a browser without storage keeps nothing and says so", async () => {
    const tab = keeper(openDatabase(null), () => { throw new Error("SecurityError"); });
    assert.equal(await tab.keep(character("A").source), false);
    assert.equal((await tab.kept()).text, null);
});

// name: [what happens in order, how many keepings that makes, whether a change still waits]. "change": the
// character changes; "600" and "1000": that many ms pass; "now": the page is hidden or left; "drop":
// another character takes this one's place.
/** @type {{[name: string]: [string[], number, boolean]}} */
const kSoon = {
    "a burst of changes is kept once": [["change", "change", "change", "1000"], 1, false],
    "nothing changed, nothing kept": [["1000", "now"], 0, false],
    "a change waits for its keeping": [["change", "600"], 0, true],
    "leaving the page keeps at once, and once": [["change", "now", "1000", "now"], 1, false],
    "a change after a keeping waits again": [["change", "1000", "change"], 1, true],
    "further changes don't put the keeping off": [["change", "600", "change", "600"], 1, false],
    "continued work is kept every wait": [["change", "600", "change", "600", "change", "600", "change", "600"], 2, false],
    "a character taken from elsewhere drops the waiting": [["change", "drop", "1000", "now"], 0, false],
    "a change after the drop is kept": [["change", "drop", "change", "now"], 1, false],
};

test("keeping soon keeps each change within one wait", () => {
    for (const [name, [events, keepings, pending]] of Object.entries(kSoon)) {
        let clock = 0;
        /** @type {Map<object, {run: () => void, at: number}>} */
        const timers = new Map();
        let kept = 0;
        const soon = keepingSoon(() => ++kept, {
            set: (run, ms) => { const timer = {}; timers.set(timer, { run, at: clock + ms }); return timer; },
            clear: (timer) => timers.delete(/** @type {object} */ (timer)),
        }, 1000);
        const commands = { change: soon.changed, now: soon.now, drop: soon.drop };
        for (const event of events) {
            if (event in commands) {
                commands[/** @type {keyof commands} */ (event)]();
                continue;
            }
            clock += Number(event);
            for (const [timer, { run, at }] of [...timers])
                if (at <= clock)
                    timers.delete(timer), run();
        }
        assert.deepEqual([kept, soon.pending(), timers.size], [keepings, pending, pending ? 1 : 0], name);
    }
});
