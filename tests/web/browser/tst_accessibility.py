"""axe-core finds nothing to fault, in light and in dark; dialogs keep the focus; changes are announced."""

import unittest

from selenium.webdriver.common.keys import Keys

from vornpage import PageTest


class Accessibility(PageTest):
    def open_about(self):
        self.click("mnuAbout")

    def open_message(self):
        self.click("cmdLengthHelp")

    def open_input(self):
        self.command("mnuExtras", "mnuAddBlankets")

    def open_plan(self):
        self.command("mnuExtras", "mnuPlan")

    def open_history(self):
        self.click("cmdAddEvent")
        self.command("mnuEdit", "mnuHistory")

    def test_axe_finds_no_violations(self):
        states = {"the calculator": None, "About": self.open_about, "a message": self.open_message,
                  "the blanket question": self.open_input, "Plan Ahead": self.open_plan,
                  "the history with its chart": self.open_history}
        for scheme in ("light", "dark"):
            self.color_scheme(scheme)
            for state, opening in states.items():
                with self.subTest(scheme=scheme, state=state):
                    if opening:
                        opening()
                        self.settle()
                    self.assertEqual(self.axe_violations(), [])
                    if opening:
                        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
                        self.settle()
                        self.assertIsNone(self.open_dialog())

    def test_dialogs_keep_the_focus(self):
        self.open_about()
        # Past its last control the focus may go out to the browser's own bar (the body), never to the page.
        for _ in range(12):
            self.driver.switch_to.active_element.send_keys(Keys.TAB)
            self.assertTrue(self.js("const e = document.activeElement; "
                                    "return e === document.body || document.getElementById('dlgAbout').contains(e);"))
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.settle()

    def test_results_are_announced(self):
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        spoken = self.js("return [...document.querySelectorAll('[aria-live=polite]')].map(e => e.textContent).join(' ');")
        self.assertIn("34", spoken)


if __name__ == "__main__":
    unittest.main()
