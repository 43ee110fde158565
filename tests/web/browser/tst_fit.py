"""The page on a phone and on a wide screen."""

import unittest

from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import WAIT, PageTest, layout

MENUS = {"mnuFile": ["mnuNew", "mnuOpen", "mnuSave", "mnuExportHistory", "mnuImportEvents", "mnuPrint"],
         "mnuEdit": ["mnuUndo", "mnuRedo", "mnuCopyResults", "mnuHistory"],
         "mnuExtras": ["mnuAddBlankets", "mnuCalculateBlankets", "mnuPlan"],
         "mnuAbout": []}

# The element's box once scrolled into view, and whether a tap at its middle reaches it.
REACH = """
const e = document.getElementById(arguments[0]);
e.scrollIntoView({block: 'center', inline: 'center'});
const r = e.getBoundingClientRect();
const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
return {left: r.left, right: r.right, height: r.height, reached: !!hit && (hit === e || e.contains(hit))};
"""


class OnAPhone(PageTest):
    PHONE = (360, 640)

    def assert_fits(self, element_id):
        box = self.js(REACH, element_id)
        self.assertTrue(box["reached"], "covered by something else")
        self.assertGreaterEqual(box["height"], 24, "too low to tap")
        self.assertGreaterEqual(box["left"], 0)
        self.assertLessEqual(box["right"], self.phone_width)

    def test_nothing_scrolls_sideways_and_every_control_is_reachable(self):
        self.assertEqual(self.js("return window.innerWidth;"), self.phone_width)
        self.assertLessEqual(self.js("return document.documentElement.scrollWidth;"), self.phone_width)
        controls = [r["name"] for r in layout()["controls"] if r["kind"] in ("TextBox", "List", "Button", "CheckBox")]
        for name in list(MENUS) + controls:
            with self.subTest(name):
                self.assert_fits(name)
        for menu, commands in MENUS.items():
            if not commands:
                continue
            self.click(menu)
            for name in commands:
                with self.subTest(name):
                    self.assert_fits(name)
            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        # Each dialog: its menu and command, and the controls in it that must fit beside each other.
        for dialog, menu, opening, inside in (
                ("dlgAbout", None, "mnuAbout", []),
                ("dlgPlan", "mnuExtras", "mnuPlan", ["txtPlanGoal", "txtPlanBlankets", "dlgPlanClose", "picPlanChart"])):
            if menu:
                self.command(menu, opening)
            else:
                self.click(opening)
            self.settle()
            with self.subTest(dialog):
                self.assertLessEqual(self.js("return document.getElementById(arguments[0]).getBoundingClientRect().right;",
                                             dialog), self.phone_width)
                for name in inside:
                    self.assertLessEqual(self.js(REACH, name)["right"], self.phone_width, name)
            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
            self.settle()


# Each shown control and caption with the box it must stay in (the controls, then their boxes, as
# arguments of their own: WebKit's driver finds no elements inside a list); each list with the width
# each of its entries needs, measured on a copy of the list free to be as wide as that entry alone. A
# control's box is the part of it that its scroll areas show, top to bottom.
FIT = """
const half = arguments.length / 2;
const pairs = [...Array(half).keys()].map(i => [arguments[i], arguments[half + i]]);
const box = e => {
    const r = e.getBoundingClientRect().toJSON();
    for (let p = e.parentElement; p; p = p.parentElement)
        if (getComputedStyle(p).overflowY !== 'visible') {
            const view = p.getBoundingClientRect();
            r.top = Math.max(r.top, view.top + p.clientTop);
            r.bottom = Math.min(r.bottom, view.top + p.clientTop + p.clientHeight);
        }
    return r;
};
const controls = pairs.filter(([e]) => e.getClientRects().length > 0)
    .map(([e, within]) => ({name: e.id || e.textContent.trim(), box: box(e), within: box(within)}));
const lists = [];
for (const [e] of pairs.filter(([e]) => e.tagName === 'SELECT' && e.getClientRects().length > 0)) {
    for (const option of e.options) {
        const alone = e.cloneNode(false);
        alone.append(new Option(option.text));
        alone.style.cssText = 'position: absolute; visibility: hidden; flex: none; width: auto; min-width: 0; max-width: none';
        e.after(alone);
        lists.push({name: e.id, entry: option.text, needs: alone.getBoundingClientRect().width, has: box(e).width});
        alone.remove();
    }
}
return {controls, lists, scrollWidth: document.documentElement.scrollWidth, width: window.innerWidth};
"""

# Each step of the history as shown: its cells' boxes, the lines what was done takes, the caption shown
# before each figure; and whether anything scrolls sideways.
CARDS = """
const frame = document.querySelector('#dlgHistory .table-frame');
// Firefox gives attr() in generated content as written, the others the text it stands for.
const caption = cell => getComputedStyle(cell, '::before').content
    .replace(/^attr\\(([\\w-]+)\\)/, (_, name) => JSON.stringify(cell.getAttribute(name) ?? ''));
const lines = e => { const r = document.createRange(); r.selectNodeContents(e);
                     return new Set([...r.getClientRects()].map(b => Math.round(b.top))).size; };
return {frame: frame.getBoundingClientRect().toJSON(), sideways: frame.scrollWidth > frame.clientWidth,
        page: document.documentElement.scrollWidth > window.innerWidth,
        headers: [...document.querySelectorAll('#tblHistory thead th')].slice(1).map(th => th.textContent),
        steps: [...document.querySelectorAll('#tblHistory tbody tr')].map(tr => ({
            cells: [...tr.cells].map(c => c.getBoundingClientRect().toJSON()),
            whatLines: lines(tr.cells[1]),
            captions: [...tr.cells].slice(2).map(caption)}))};
"""

SIZES = {"text at 100 %": 100, "text at 150 %": 150, "text at 200 %": 200}

# Each planned event as shown: its cells' boxes and the caption shown before each figure; the table's
# frame and whether it scrolls sideways.
PLAN_CARDS = """
const frame = document.querySelector('#dlgPlan .table-frame');
const caption = cell => getComputedStyle(cell, '::before').content
    .replace(/^attr\\(([\\w-]+)\\)/, (_, name) => JSON.stringify(cell.getAttribute(name) ?? ''));
return {frame: frame.getBoundingClientRect().toJSON(), sideways: frame.scrollWidth > frame.clientWidth,
        headers: [...document.querySelectorAll('#tblPlan thead th')].map(th => th.textContent),
        events: [...document.querySelectorAll('#tblPlan tbody tr:not(.row-spacer)')].map(tr => ({
            cells: [...tr.cells].map(c => c.getBoundingClientRect().toJSON()),
            captions: [...tr.cells].slice(1).map(caption)}))};
"""

# Whether an element is wholly in view: within the window and every scroll area it lies in, and not
# covered where a tap would land.
IN_VIEW = """
const e = document.getElementById(arguments[0]);
const r = e.getBoundingClientRect();
let top = 0, bottom = window.innerHeight;
for (let p = e.parentElement; p; p = p.parentElement)
    if (getComputedStyle(p).overflowY !== 'visible') {
        const view = p.getBoundingClientRect();
        top = Math.max(top, view.top + p.clientTop);
        bottom = Math.min(bottom, view.top + p.clientTop + p.clientHeight);
    }
const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
return {top: r.top >= top - 0.5, bottom: r.bottom <= bottom + 0.5, reached: !!hit && (hit === e || e.contains(hit))};
"""


def overlap(a, b):
    return min(a["right"], b["right"]) - max(a["left"], b["left"]) > 0.5 and \
        min(a["bottom"], b["bottom"]) - max(a["top"], b["top"]) > 0.5


class OnAPhoneWithLargeText(PageTest):
    PHONE = (360, 640)

    def places(self):
        """name: (how to open it or None, [(control, the box it stays in)])."""
        window = [[self.el(r["name"]), self.el(r["frame"])] for r in layout()["controls"] if r["frame"]]
        plan = self.el("dlgPlan")
        return {"the calculator": (None, window),
                "Plan Ahead": (("mnuExtras", "mnuPlan"), [
                    [e, plan] for e in plan.find_elements(By.CSS_SELECTOR, "input, select, button, label")])}

    def faults(self, shown):
        found = [f"the page is {shown['scrollWidth']} px wide" for _ in [1] if shown["scrollWidth"] > shown["width"]]
        for n in shown["lists"]:
            if n["needs"] > n["has"] + 0.5:
                found.append(f"{n['name']} shows {n['entry']!r} in {n['has']:.0f} px of the {n['needs']:.0f} it needs")
        controls = shown["controls"]
        for i, c in enumerate(controls):
            if c["box"]["left"] < c["within"]["left"] - 0.5 or c["box"]["right"] > c["within"]["right"] + 0.5:
                found.append(f"{c['name']} juts out sideways")
            found += [f"{c['name']} overlaps {d['name']}" for d in controls[i + 1:] if overlap(c["box"], d["box"])]
        return found

    def test_every_list_shows_its_entries_and_no_control_covers_another(self):
        for size, percent in SIZES.items():
            self.large_text(percent)
            self.reload()
            for place, (opening, controls) in self.places().items():
                with self.subTest(size, place=place):
                    if opening:
                        self.command(*opening)
                        self.settle()
                    try:
                        self.assertEqual(self.faults(self.js(FIT, *[c for c, _ in controls], *[w for _, w in controls])), [])
                    finally:
                        if opening:
                            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
                            self.settle()

    def test_the_history_reads_step_by_step_without_a_sideways_scroll(self):
        for button in ("cmdAddEvent", "cmdAddEventTraining", "cmdAddMaxOut"):
            self.click(button)
        self.command("mnuEdit", "mnuHistory")
        self.settle()
        shown = self.js(CARDS)
        self.assertFalse(shown["sideways"] or shown["page"], "a sideways scroll")
        for number, step in enumerate(shown["steps"]):
            with self.subTest(step=number):
                for cell in step["cells"]:
                    self.assertGreaterEqual(cell["left"], shown["frame"]["left"] - 0.5)
                    self.assertLessEqual(cell["right"], shown["frame"]["right"] + 0.5)
                self.assertLessEqual(step["whatLines"], 2, "what was done wraps word by word")
                # Shown, not spoken: the content may carry its empty alternative text ("Build" / "").
                self.assertEqual([c.split(" / ")[0] for c in step["captions"]], [f'"{h}"' for h in shown["headers"][1:]])
        # Still a table to a screen reader, whatever it looks like. The rows in view are drawn anew when the
        # table settles into its size, so a row found just before may be gone: ask again.
        def roles(_):
            try:
                found = self.js("return [document.getElementById('tblHistory'), "
                                "document.querySelector('#tblHistory thead th'), "
                                "...document.querySelectorAll('#tblHistory tbody tr:last-child > *')];")
                return [e.aria_role for e in found]
            except StaleElementReferenceException:
                return None
        self.assertEqual(WebDriverWait(self.driver, WAIT).until(roles),
                         ["table", "columnheader", "rowheader"] + ["cell"] * 7)
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.settle()

    def assert_in_view(self, element_id, tapped=True):
        shown = self.js(IN_VIEW, element_id)
        if not tapped:
            del shown["reached"]
        self.assertEqual(shown, dict({"top": True, "bottom": True}, **({"reached": True} if tapped else {})),
                         f"{element_id} is not wholly in view")

    def test_what_an_action_produced_comes_into_view(self):
        self.large_text(200)
        self.reload()
        for button in ("cmdAddEvent", "cmdAddMaxOut"):
            with self.subTest(button):
                self.js("window.scrollTo(0, 0);")
                self.click(button)
                self.settle()
                self.assert_in_view("frmStats", tapped=False)
        self.command("mnuExtras", "mnuPlan")
        self.settle()
        self.el("cmdPlan").click()
        self.settle()
        try:
            self.assertTrue(self.el("cmdApplyPlan").is_enabled())
            self.assert_in_view("lblPlanAnswer", tapped=False)
            self.assert_in_view("cmdApplyPlan")
        finally:
            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
            self.settle()

    def test_the_plan_reads_event_by_event_without_a_sideways_scroll(self):
        for percent in (100, 200):
            self.large_text(percent)
            self.reload()
            self.command("mnuExtras", "mnuPlan")
            self.settle()
            try:
                shown = self.js(PLAN_CARDS)
                self.assertFalse(shown["sideways"], f"text at {percent} %: a sideways scroll")
                self.assertTrue(shown["events"])
                for number, event in enumerate(shown["events"], 1):
                    with self.subTest(percent=percent, event=number):
                        for cell in event["cells"]:
                            self.assertGreaterEqual(cell["left"], shown["frame"]["left"] - 0.5)
                            self.assertLessEqual(cell["right"], shown["frame"]["right"] + 0.5)
                        self.assertEqual([c.split(" / ")[0] for c in event["captions"]],
                                         [f'"{h}"' for h in shown["headers"][1:]])
                # Still a table to a screen reader. The rows in view are drawn anew as the plan settles into
                # its size, so a row found just before may be gone: ask again.
                def roles(_):
                    try:
                        found = self.js("return [document.getElementById('tblPlan'), ...document.querySelectorAll("
                                        "'#tblPlan tbody tr:not(.row-spacer) > *')].slice(0, 6);")
                        return [e.aria_role for e in found]
                    except StaleElementReferenceException:
                        return None
                self.assertEqual(WebDriverWait(self.driver, WAIT).until(roles), ["table", "rowheader"] + ["cell"] * 4)
            finally:
                self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
                self.settle()

    def test_number_boxes_ask_for_a_keyboard_with_a_decimal_separator(self):
        """Every number box takes a fraction (the session rounds it where it counts whole things)."""
        boxes = self.js("return [...document.querySelectorAll('input.number, #dlgInputText')]"
                        ".map(e => [e.id, e.inputMode]);")
        self.assertEqual([id for id, mode in boxes if mode != "decimal"], [])


class OnAWideScreen(PageTest):
    WINDOW = (1280, 900)

    def test_the_groups_stand_in_the_windows_two_columns(self):
        frames = [r for r in layout()["controls"] if r["kind"] == "Frame"]
        boxes = {f["name"]: self.js("return document.getElementById(arguments[0]).getBoundingClientRect().toJSON();",
                                    f["name"]) for f in frames}
        columns = {}
        for f in sorted(frames, key=lambda f: f["top"]):
            columns.setdefault(f["left"], []).append(f["name"])
        left, right = (columns[x] for x in sorted(columns))
        for column in (left, right):
            with self.subTest(column=column):
                self.assertEqual(len({round(boxes[n]["left"]) for n in column}), 1, "not one above the other")
                for upper, lower in zip(column, column[1:]):
                    self.assertLessEqual(boxes[upper]["bottom"], boxes[lower]["top"] + 0.5)
        self.assertLessEqual(max(boxes[n]["right"] for n in left), min(boxes[n]["left"] for n in right) + 0.5)


if __name__ == "__main__":
    unittest.main()
