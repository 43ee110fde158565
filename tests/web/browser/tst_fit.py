"""The page on a phone and on a wide screen."""

import unittest

from selenium.webdriver.common.keys import Keys

from vornpage import PageTest, layout

MENUS = {"mnuFile": ["mnuNew", "mnuOpen", "mnuSave"],
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
        self.assertLessEqual(box["right"], 360)

    def test_nothing_scrolls_sideways_and_every_control_is_reachable(self):
        self.assertEqual(self.js("return window.innerWidth;"), 360)
        self.assertLessEqual(self.js("return document.documentElement.scrollWidth;"), 360)
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
                                             dialog), 360)
                for name in inside:
                    self.assertLessEqual(self.js(REACH, name)["right"], 360, name)
            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
            self.settle()


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
