// @ts-check
// Two tabs of the page keep one character in the browser's storage: each knows whether what the storage
// holds is the character it shows, or was made from it.
import assert from "node:assert/strict";
import { test } from "node:test";

import "./browser-globals.js";
import { keeper, keepingSoon, mustWarnOnLeaving } from "../../../src/web/page/storage.js";

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

test("a tab knows its own character and one another tab made from it", () => {
    const storage = browserStorage();
    const one = keeper(() => /** @type {any} */ (storage));
    const two = keeper(() => /** @type {any} */ (storage));
    assert.equal(one.keep("A", "a.vornchar", false), true);
    const seen = two.kept();
    assert.deepEqual([seen.text, seen.fileName, seen.modified, seen.isShown], ["A", "a.vornchar", false, false]);
    two.shows(seen);
    assert.equal(two.keep("B", "a.vornchar", true), true);
    const back = one.kept();
    assert.deepEqual([back.text, back.modified, back.isShown, back.madeFromShown], ["B", true, false, true]);
    // A character made elsewhere from one this tab never showed.
    const three = keeper(() => /** @type {any} */ (storage));
    three.keep("C", null, true);
    assert.deepEqual([one.kept().madeFromShown, one.kept().fileName], [false, null]);
});

test("keeping the same character again writes nothing", () => {
    const storage = browserStorage();
    const tab = keeper(() => /** @type {any} */ (storage));
    tab.keep("A", null, false);
    const revision = tab.kept().revision;
    tab.keep("A", null, false);
    assert.equal(tab.kept().revision, revision);
    tab.keep("A", null, true);
    assert.notEqual(tab.kept().revision, revision);
});

test("a refused keeping leaves the last good copy and stops following other tabs", () => {
    const storage = browserStorage();
    const tab = keeper(() => /** @type {any} */ (storage));
    tab.keep("A", "a.vornchar", true);
    storage.full = true;
    assert.equal(tab.keep("B", null, false), false);
    const left = tab.kept();
    assert.deepEqual([left.text, left.fileName, left.modified], ["A", "a.vornchar", true]);
    assert.equal(tab.keepsShown(), false);
    // Refused, the same character is tried again rather than taken for kept.
    assert.equal(tab.holds("B", null, false), false);
    assert.equal(tab.keptElsewhere({ key: "vorn-build-calculator.revision" }), false);
    storage.full = false;
    assert.equal(tab.keep("B", null, false), true);
    assert.equal(tab.kept().text, "B");
    assert.equal(tab.keepsShown(), true);
    assert.equal(tab.keptElsewhere({ key: "vorn-build-calculator.revision" }), true);
    assert.equal(tab.keptElsewhere({ key: "something else" }), false);
});

test("a refused write halfway puts the last good copy back", () => {
    const storage = browserStorage();
    const tab = keeper(() => /** @type {any} */ (storage));
    tab.keep("A", "a.vornchar", false);
    // The character fits; the storage is full by its file name.
    const setItem = storage.setItem;
    storage.setItem = (key, value) => {
        if (key !== "vorn-build-calculator.character")
            throw new Error("QuotaExceededError");
        setItem(key, value);
    };
    assert.equal(tab.keep("B", "b.vornchar", false), false);
    assert.deepEqual([tab.kept().text, tab.kept().fileName], ["A", "a.vornchar"]);
});

test("a tab that keeps its own character apart finds it after a reload, until it takes another's", () => {
    const shared = browserStorage();
    const ownOfOne = browserStorage();
    const one = keeper(() => /** @type {any} */ (shared), () => /** @type {any} */ (ownOfOne));
    const two = keeper(() => /** @type {any} */ (shared), () => /** @type {any} */ (browserStorage()));
    one.keep("A", null, true);
    two.keep("B", null, true);
    assert.equal(one.own(), null);
    one.keepApart({ text: "A", fileName: null, modified: true });
    assert.equal(one.keep("A2", "a.vornchar", true), true);
    // The other tab's next keeping replaces the shared character, not this tab's own.
    two.keep("B2", null, true);
    const reloaded = keeper(() => /** @type {any} */ (shared), () => /** @type {any} */ (ownOfOne));
    assert.deepEqual(reloaded.own(), { text: "A2", fileName: "a.vornchar", modified: true });
    reloaded.showsOwn(/** @type {any} */ (reloaded.own()));
    assert.equal(reloaded.keepsShown(), false);
    reloaded.shows(reloaded.kept());
    assert.equal(reloaded.own(), null);
    assert.equal(reloaded.keepsShown(), true);
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

test("a browser without storage keeps nothing and says so", () => {
    const tab = keeper(() => { throw new Error("SecurityError"); });
    assert.equal(tab.keep("A", null, false), false);
    assert.equal(tab.kept().text, null);
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
