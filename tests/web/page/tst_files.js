// @ts-check
// Where Save writes and what Share hands over, against a browser made of fakes: its pickers, the files
// they give (written only when the browser allows it) and its sharing.
import assert from "node:assert/strict";
import { test } from "node:test";

import "./browser-globals.js";
import { files } from "../../../src/web/page/files.js";

// The session's words for character files (Session.filesKind, fileExtension and notSaved), as it says them.
const words = {
    kind: "VORN characters",
    extension: ".vornchar",
    notSaved: (/** @type {string} */ name, /** @type {string} */ why) =>
        "\"" + name + "\" could not be saved: " + why + ". Your changes are not saved yet.",
};

/**
 * A browser whose open picker gives "opened.vornchar" (to be written only once the user allows it) and
 * whose save picker gives `pick`, or fails with that name's error where `pick` is an error's name.
 * @param {{pickers?: boolean, pick?: string, allow?: string, failWrite?: string}} how
 */
function browser({ pickers = true, pick = "picked.vornchar", allow = "granted", failWrite = "" } = {}) {
    /** @type {{[file: string]: string[]}} */
    const written = {};
    /** @type {string[]} */
    const downloads = [];
    /** @type {string[]} */
    const aborted = [];
    // Each file's time of its last writing; the page's writing and another program's alike move it on.
    /** @type {{[file: string]: number}} */
    const times = {};
    /** @param {string} name @param {string} permission */
    const handle = (name, permission) => ({
        name,
        getFile: async () => new File([(written[name] ?? [""]).at(-1) ?? ""], name, { lastModified: times[name] ?? 1 }),
        queryPermission: async () => permission,
        requestPermission: async () => allow,
        createWritable: async () => {
            let data = "";
            return {
                write: async (/** @type {Uint8Array} */ bytes) => {
                    if (failWrite)
                        throw new Error(failWrite);
                    data = new TextDecoder().decode(bytes);
                },
                close: async () => {
                    (written[name] ??= []).push(data);
                    times[name] = (times[name] ?? 1) + 1;
                },
                abort: async () => { aborted.push(name); },
            };
        },
    });
    const fail = (/** @type {string} */ name) => Promise.reject(new DOMException("no", name));
    const given = pickers ? {
        showOpenFilePicker: async () => [handle("opened.vornchar", "prompt")],
        showSaveFilePicker: async () => (pick.endsWith("Error") ? fail(pick) : handle(pick, "granted")),
    } : {};
    return { written, downloads, aborted, times,
             files: files(given, {}, (_, name) => { downloads.push(name); }, words) };
}

/** @typedef {ReturnType<typeof browser>} World */

/** @param {World} b */
async function open(b) {
    const picked = await b.files.choose();
    assert.ok(picked && picked !== "input");
    b.files.opened(picked);
}

const notSaved = (/** @type {string} */ why) =>
    "\"opened.vornchar\" could not be saved: " + why + ". Your changes are not saved yet.";

// name: the browser, what is done before, the save (name, Save As), what became of it, which files hold
// what, the downloads
/** @type {{[name: string]: [Parameters<typeof browser>[0], ((b: World) => Promise<void>) | null,
 *                          [string, boolean], object, object, string[]]}} */
const saves = {
    "no pickers: downloaded as today": [{ pickers: false }, null, ["Mine.vornchar", true],
        { saved: "Mine.vornchar" }, {}, ["Mine.vornchar"]],
    "Save after Open writes to the same file": [{}, open, ["opened.vornchar", false],
        { saved: "opened.vornchar" }, { "opened.vornchar": ["text"] }, []],
    "Save As picks a new file": [{}, open, ["opened.vornchar", true],
        { saved: "picked.vornchar" }, { "picked.vornchar": ["text"] }, []],
    "a character without its file picks one": [{}, null, ["Character.vornchar", false],
        { saved: "picked.vornchar" }, { "picked.vornchar": ["text"] }, []],
    "another name than the opened file's picks one": [{}, open, ["Other.vornchar", false],
        { saved: "picked.vornchar" }, { "picked.vornchar": ["text"] }, []],
    "a file written since by another program picks one": [{}, async (b) => { await open(b); b.times["opened.vornchar"] = 5; },
        ["opened.vornchar", false], { saved: "picked.vornchar" }, { "picked.vornchar": ["text"] }, []],
    "New forgets the file": [{}, async (b) => { await open(b); b.files.forget(); },
        ["opened.vornchar", false], { saved: "picked.vornchar" }, { "picked.vornchar": ["text"] }, []],
    "picker cancelled: nothing said, nothing written": [{ pick: "AbortError" }, null, ["Character.vornchar", false],
        { cancelled: true }, {}, []],
    "picker not shown here: downloaded": [{ pick: "SecurityError" }, null, ["Character.vornchar", false],
        { saved: "Character.vornchar" }, {}, ["Character.vornchar"]],
    "permission refused": [{ allow: "denied" }, open, ["opened.vornchar", false],
        { problem: notSaved("the browser did not allow the page to write to it") }, {}, []],
    "the writing fails": [{ failWrite: "The disk is full." }, open, ["opened.vornchar", false],
        { problem: notSaved("The disk is full") }, {}, []],
};

for (const [name, [how, before, [fileName, saveAs], outcome, written, downloads]] of Object.entries(saves))
    test(name, async () => {
        const b = browser(how);
        if (before)
            await before(b);
        assert.deepEqual(await b.files.save("text", fileName, saveAs), outcome);
        assert.deepEqual([b.written, b.downloads], [written, downloads]);
    });

test("the file saved to is the one the next Save writes; a failed one changes nothing", async () => {
    const b = browser({ failWrite: "" });
    await open(b);
    await b.files.save("1", "opened.vornchar", true);
    await b.files.save("2", "picked.vornchar", false);
    assert.deepEqual(b.written, { "picked.vornchar": ["1", "2"] });
    const failing = browser({ failWrite: "broken" });
    await open(failing);
    await failing.files.save("1", "opened.vornchar", false);
    assert.deepEqual(failing.aborted, ["opened.vornchar"]);
    // The opened file is still the character's: Save tries it again, not a new one.
    assert.ok("problem" in await failing.files.save("2", "opened.vornchar", false));
    assert.deepEqual(failing.aborted, ["opened.vornchar", "opened.vornchar"]);
});

test("Open: the picked file, nothing where cancelled, the page's input where there are no pickers", async () => {
    assert.equal(await browser({ pickers: false }).files.choose(), "input");
    const picked = await browser().files.choose();
    assert.equal(picked && picked !== "input" && picked.name, "opened.vornchar");
    const cancelling = files({
        showOpenFilePicker: () => Promise.reject(new DOMException("no", "AbortError")),
        showSaveFilePicker: () => Promise.reject(new DOMException("no", "AbortError")),
    }, {}, () => {}, words);
    assert.equal(await cancelling.choose(), null);
});

test("Share: offered where the browser can share the file, which is the saved text under its name", async () => {
    /** @type {File[]} */
    const shared = [];
    /** @param {boolean | "throws"} can @param {string} failing */
    const sharing = (can, failing = "") => files({}, {
        canShare: () => { if (can === "throws") throw new TypeError("no"); return can; },
        share: async ({ files: [file] }) => {
            if (failing)
                throw new DOMException("Sharing failed", failing);
            shared.push(file);
        },
    }, () => {}, words);
    assert.equal(files({}, {}, () => {}, words).shareable("{}", "A.vornchar"), null);
    assert.equal(sharing(false).shareable("{}", "A.vornchar"), null);
    assert.equal(sharing("throws").shareable("{}", "A.vornchar"), null);
    const file = /** @type {File} */ (sharing(true).shareable("{\"ü\": 1}", "A.vornchar"));
    assert.equal(await sharing(true).share(file), "");
    assert.deepEqual([shared[0].name, await shared[0].text()], ["A.vornchar", "{\"ü\": 1}"]);
    assert.equal(await sharing(true, "AbortError").share(file), "");
    assert.equal(await sharing(true, "NotAllowedError").share(file), "\"A.vornchar\" could not be shared: Sharing failed.");
});
