"""Plan Ahead on the page: its answer agrees with the same Adds made one by one, Apply Plan is one step,
refused values are named, and both charts are drawn."""

import re
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import WAIT, PageTest

FIGURES = ["lblBuild", "lblLevel", "lblLooseXP", "lblTotalXP"]  # the table's columns after Event

OPEN_DIALOGS = "return [...document.querySelectorAll('dialog[open]')].map(d => d.id);"
CHART = """
const svg = document.getElementById(arguments[0]);
const title = svg.querySelector('title');
return {role: svg.getAttribute('role'), label: svg.getAttribute('aria-label'), title: title && title.textContent,
        lines: [...svg.querySelectorAll('polyline')].map(p => ({
            points: p.getAttribute('points').split(' ').length,
            dashed: getComputedStyle(p).strokeDasharray !== 'none'})),
        right: svg.getBoundingClientRect().right};"""

# The events the table has drawn, and what it tells a screen reader of the rest.
DRAWN = """
const table = document.getElementById('tblPlan');
const rows = [...table.tBodies[0].rows].filter(r => !r.hasAttribute('aria-hidden'));
return {count: table.getAttribute('aria-rowcount'), head: table.tHead.rows[0].getAttribute('aria-rowindex'),
        indices: rows.map(r => Number(r.getAttribute('aria-rowindex'))),
        cells: rows.map(r => [...r.cells].map(c => c.textContent))};"""


class PlanAhead(PageTest):
    def open_plan(self):
        self.command("mnuExtras", "mnuPlan")
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgPlan")

    def fill(self, box, text):
        self.el(box).send_keys(Keys.END + Keys.SHIFT + Keys.HOME + Keys.NULL + Keys.DELETE + text)

    def choose_in_plan(self, list_id, entry):
        Select(self.el(list_id)).select_by_visible_text(entry)

    def plan(self, goal, value, coin="No training", blankets="0", length=None, manual=None, silver=None):
        self.choose_in_plan("cboPlanGoal", goal)
        self.fill("txtPlanGoal", value)
        if length:
            self.choose_in_plan("cboPlanLength", length)
        if manual is not None:
            self.fill("txtPlanLength", manual)
        self.choose_in_plan("cboPlanCoin", coin)
        if silver is not None:
            self.fill("txtPlanSilver", silver)
        self.fill("txtPlanBlankets", blankets + Keys.ENTER)  # Enter in a box plans
        self.settle()

    def rows(self):
        """The events drawn: those in view of the table's scroll area."""
        return self.js(DRAWN)["cells"]

    def last_row(self):
        """The last event, the table scrolled to its end with the keyboard."""
        self.el("tblPlan").find_element(By.XPATH, "..").send_keys(Keys.END)
        WebDriverWait(self.driver, WAIT).until(lambda d: self.js(DRAWN)["indices"][-1] == int(self.js(DRAWN)["count"]))
        return self.rows()[-1]

    def figures(self):
        return self.js("return arguments[0].map(id => document.getElementById(id).textContent.trim());", FIGURES)

    def close_plan(self):
        self.el("dlgPlanClose").click()
        self.assertIsNone(self.settle())

    def test_the_plan_is_the_same_adds_and_applies_as_one_step(self):
        self.open_plan()
        self.plan("Build", "40", blankets="1")
        # The desktop's Plan window gives the same answer for a new character.
        self.assertEqual(self.el("lblPlanAnswer").text,
                         "2 events reach Build 40: Build 40, Level 3, Loose XP 6, Total XP 166.")
        planned = self.rows()
        self.assertEqual([r[0] for r in planned], ["1", "2"])
        chart = self.js(CHART, "picPlanChart")
        self.assertEqual((chart["role"], chart["label"]), ("img", chart["title"]))
        self.assertEqual([line["dashed"] for line in chart["lines"]], [False, False, True, True])
        self.assertEqual(self.labels()[2], "30", "planning changed the character")

        self.el("cmdApplyPlan").click()
        self.assertEqual(self.settle(), "dlgPlan")
        # The dialog plans again from the character, which now has the goal.
        self.assertTrue(self.el("lblPlanAnswer").text.startswith("The character already has Build 40"))
        self.assertFalse(self.el("cmdApplyPlan").is_enabled())
        self.assertEqual(self.rows(), [])
        self.close_plan()
        self.assertEqual(self.figures(), planned[-1][1:])

        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.character(), "30/0")

        # The oracle: the same events added one by one with the calculator's own buttons.
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.figures(), planned[0][1:])
        self.command("mnuExtras", "mnuAddBlankets")
        self.answer_input("1")
        self.assertEqual(self.messages(), [])
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.figures(), planned[1][1:])

        self.command("mnuEdit", "mnuHistory")
        self.assertEqual(self.settle(), "dlgHistory")
        chart = self.js(CHART, "picHistoryChart")
        self.assertEqual((chart["role"], chart["label"]), ("img", chart["title"]))
        # Build and Total XP from the start over the four steps (the plan, undone, is not in effect).
        self.assertEqual(chart["lines"], [{"points": 4, "dashed": False}] * 2)
        self.el("dlgHistoryClose").click()
        self.assertIsNone(self.settle())

    def test_a_refused_value_is_said_over_the_dialog_and_its_box_gets_the_focus(self):
        # The focus, and whether the box's text is selected: the length box keeps the cursor where it was,
        # as the calculator's own length box does.
        cases = {
            "a goal not a number": (dict(goal="Level", value="ten"), ("txtPlanGoal", True),
                                    "The goal must be a whole number."),
            "a manual length of 0": (dict(goal="Level", value="5", length="<manual input>", manual="0"),
                                     ("txtPlanLength", False), "Event Length must be a positive integer."),
        }
        self.open_plan()
        for name, (request, focus, message) in cases.items():
            with self.subTest(name):
                self.plan(**request)
                self.assertEqual(self.js(OPEN_DIALOGS), ["dlgMessage", "dlgPlan"])
                self.assertEqual(self.el("dlgMessageText").text, message)
                self.el("dlgMessageOK").click()
                self.assertEqual(self.settle(), "dlgPlan")
                self.assertEqual(self.focus(), focus)
        self.close_plan()

    def test_a_held_enter_applies_the_plan_once(self):
        self.open_plan()
        self.plan("Build", "40", blankets="1")
        self.el("cmdApplyPlan").send_keys(Keys.ENTER)
        self.assertEqual(self.settle(), "dlgPlan")
        once = self.figures()
        # The goal is reached, so Apply Plan gives way to Close, where the key's repeats land: they must
        # neither apply again nor close the dialog.
        self.assertEqual(self.focus()[0], "dlgPlanClose")
        if self.engine_can(self.engine.repeat_key, "Enter", 3):
            self.assertEqual(self.settle(), "dlgPlan")
        self.close_plan()
        self.assertEqual(self.figures(), once)

    def test_only_the_answer_shown_is_applied_and_only_when_it_reaches_its_goal(self):
        self.open_plan()
        self.plan("Build", "50", coin="Silver for training", silver="30")
        self.assertTrue(self.el("cmdApplyPlan").is_enabled())
        # An edited box leaves no answer to apply: the 30-silver plan is not for these values.
        self.fill("txtPlanSilver", "5")
        self.fill("txtPlanGoal", "100")
        self.assertFalse(self.el("cmdApplyPlan").is_enabled())
        self.assertEqual((self.el("lblPlanAnswer").text, self.rows()), ("", []))

        self.el("cmdPlan").click()
        self.assertEqual(self.settle(), "dlgPlan")
        last = self.last_row()
        self.el("cmdApplyPlan").click()
        self.assertEqual(self.settle(), "dlgPlan")
        self.close_plan()
        self.assertEqual(self.figures(), last[1:], "Apply Plan applied another plan than the one shown")
        self.command("mnuEdit", "mnuUndo")

        # name: (request, messages, answer shown)
        cases = {
            "silver the first event can't take clears the old answer": (
                dict(goal="Build", value="50", coin="Silver for training", silver="99"),
                ["You entered an invalid amount of silver for training. Please correct the error and try "
                 "again."], ""),
            "a goal out of reach within the most events": (
                dict(goal="Total XP", value="2000000000", length="Adventure Day"), [],
                "Total XP 2000000000 is not reached within 10000 events. After 10000 events: Build 1386, "
                "Level 138, Loose XP 4148, Total XP 4582965."),
        }
        self.open_plan()
        for name, (request, messages, answer) in cases.items():
            with self.subTest(name):
                self.plan("Build", "40")
                self.assertTrue(self.el("cmdApplyPlan").is_enabled())
                self.plan(**request)
                shown = []
                while self.js(OPEN_DIALOGS) == ["dlgMessage", "dlgPlan"]:
                    shown.append(self.el("dlgMessageText").text)
                    self.el("dlgMessageOK").click()
                    self.settle()
                self.assertEqual(shown, messages)
                self.assertEqual(self.el("lblPlanAnswer").text, answer)
                self.assertFalse(self.el("cmdApplyPlan").is_enabled())
        self.close_plan()
        self.assertEqual(self.character(), "30/0")

    def test_ten_thousand_events_are_drawn_as_they_come_into_view(self):
        self.open_plan()
        self.plan("Total XP", "2000000000", length="Adventure Day")
        after = re.search(r"After 10000 events: Build (\d+), Level (\d+), Loose XP (\d+), Total XP (\d+)",
                          self.el("lblPlanAnswer").text).groups()
        top = self.js(DRAWN)
        self.assertEqual((top["count"], top["head"]), ("10001", "1"))
        self.assertLess(len(top["indices"]), 100, "every event drawn")
        self.assertEqual(top["indices"][:2], [2, 3])
        # The keyboard scrolls the table to its end, where the last event is drawn.
        self.last_row()
        end = self.js(DRAWN)
        self.assertEqual(end["indices"], list(range(end["indices"][0], 10002)), "the rows are not consecutive")
        self.assertEqual([c[0] for c in end["cells"]], [str(i - 1) for i in end["indices"]])
        self.assertEqual(tuple(end["cells"][-1][1:]), after)
        self.close_plan()


if __name__ == "__main__":
    unittest.main()
