// @ts-check
// A box's own typing comes first for Ctrl+Z and Ctrl+Y: while the box holds typing it can undo or redo.
import assert from "node:assert/strict";
import { test } from "node:test";

import { typingTracker } from "../../../src/web/page/typing.js";

test("a box undoes its typing until it is back where the program left it, then redoes it", () => {
    const box = { id: "txtSilverSubmitted", value: "0" };
    const typing = typingTracker(["txtSilverSubmitted"]);
    typing.reset(box);
    /** @type {[string, () => void, boolean, boolean][]} what happens, then whether the box undoes and redoes */
    const steps = [
        ["nothing typed yet",                  () => {},                                              false, false],
        ["typed 12",                           () => { box.value = "12"; typing.typed(box, { inputType: "insertText" }); }, true, false],
        ["the browser undid it",               () => { box.value = "0"; typing.typed(box, { inputType: "historyUndo" }); }, false, true],
        ["the browser redid it",               () => { box.value = "12"; typing.typed(box, { inputType: "historyRedo" }); }, true, false],
        ["the program wrote the box",          () => { box.value = "5"; typing.reset(box); },         false, false],
    ];
    for (const [what, happen, undoes, redoes] of steps) {
        happen();
        assert.deepEqual([typing.undoes(box), typing.redoes(box)], [undoes, redoes], what);
    }
});

test("only the boxes it was given have typing of their own", () => {
    const typing = typingTracker(["txtStartingBuild"]);
    const other = { id: "cboEventLength", value: "2" };
    typing.reset(other);
    other.value = "3";
    typing.typed(other, { inputType: "insertText" });
    assert.equal(typing.undoes(other), false);
    assert.equal(typing.undoes(null), false);
});
