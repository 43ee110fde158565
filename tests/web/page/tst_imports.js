// @ts-check
// Every module of the page but its entry (main.js) loads where there is no page at all, as here under
// node: none looks up an element, or reaches for the browser, until it is started. So each one's logic
// can be tested on its own.
import assert from "node:assert/strict";
import { readdirSync } from "node:fs";
import { test } from "node:test";

const folder = new URL("../../../src/web/page/", import.meta.url);
// The entry starts the page; the service worker is a script of its own, not a module.
const kNotModules = ["main.js", "service-worker.js"];

test("each module of the page loads without a page", async () => {
    const modules = readdirSync(folder).filter((name) => name.endsWith(".js") && !kNotModules.includes(name));
    assert.ok(modules.length > 10);
    for (const name of modules)
        await assert.doesNotReject(import(new URL(name, folder).href), name);
    assert.equal(typeof globalThis.document, "undefined", "a module made itself a page");
});
