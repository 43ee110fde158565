// @ts-check
// Modal boxes stack up: one open at a time, a box that others may stand over lets them open once shown.
import assert from "node:assert/strict";
import { test } from "node:test";

import { modalQueue } from "../../../src/web/page/dialogs.js";

/**
 * A box that opens at once and closes when the test says so; `log` records opening and closing.
 * @param {string[]} log
 * @param {string} name
 */
function box(log, name) {
    /** @type {(answer: string) => void} */
    let close = () => {};
    const ask = (/** @type {() => void} */ opened) => new Promise((resolve) => {
        log.push("open " + name);
        opened();
        close = (answer) => {
            log.push("close " + name);
            resolve(answer);
        };
    });
    return { ask, close: (/** @type {string} */ answer) => close(answer) };
}

const settle = () => new Promise((resolve) => setTimeout(resolve, 0));

test("a second box waits for the first to close, and each answers its own caller", async () => {
    const enqueue = modalQueue();
    /** @type {string[]} */
    const log = [];
    const first = box(log, "first");
    const second = box(log, "second");
    const answers = [enqueue(first.ask), enqueue(second.ask)];
    await settle();
    assert.deepEqual(log, ["open first"]);
    first.close("ok");
    await settle();
    assert.deepEqual(log, ["open first", "close first", "open second"]);
    second.close("cancel");
    assert.deepEqual(await Promise.all(answers), ["ok", "cancel"]);
});

test("a box that lets others over it lets the next open while it stays open", async () => {
    const enqueue = modalQueue();
    /** @type {string[]} */
    const log = [];
    const plan = box(log, "plan");
    const message = box(log, "message");
    const after = box(log, "after");
    enqueue(plan.ask, true);
    enqueue(message.ask);
    enqueue(after.ask);
    await settle();
    assert.deepEqual(log, ["open plan", "open message"]);
    message.close("ok");
    await settle();
    assert.deepEqual(log, ["open plan", "open message", "close message", "open after"]);
    after.close("ok");
    plan.close("ok");
});

test("a box that fails to open does not stop the ones after it", async () => {
    const enqueue = modalQueue();
    /** @type {string[]} */
    const log = [];
    const failed = enqueue(() => Promise.reject(new Error("no dialog")));
    const next = box(log, "next");
    const answer = enqueue(next.ask);
    await assert.rejects(failed);
    await settle();
    next.close("ok");
    assert.equal(await answer, "ok");
});
