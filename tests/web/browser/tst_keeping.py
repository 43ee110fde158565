"""A long character is kept as it grows, step by step, and the next visit brings all of it back."""

import json
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from tst_files import NO_PICKERS, kept_soon
from vornpage import LONG_CHARACTER, PUT_KEPT, WAIT, PageTest

STEPS = 50000
class Keeping(PageTest):
    def test_a_character_of_fifty_thousand_steps_is_kept_and_brought_back(self):
        self.js(NO_PICKERS)
        self.driver.set_script_timeout(120)
        text = self.driver.execute_async_script(LONG_CHARACTER, STEPS)
        self.assertIsInstance(text, str, text)
        path = self.downloads / "Long.vornchar"
        path.write_text(text, encoding="utf-8")
        self.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(path))
        WebDriverWait(self.driver, 4 * WAIT).until(lambda d: d.title.startswith("Long.vornchar"))
        kept_soon(self)
        self.assertEqual(self.el("keepingNotice").text, "")
        # One step more is kept as the step it adds.
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        kept_soon(self)
        self.assertEqual(self.el("keepingNotice").text, "")
        figures = self.labels()
        self.reload()
        self.assertEqual(self.labels(), figures)
        self.assertEqual(self.driver.title, "Long.vornchar* - VORN Build Calculator")
        self.assertEqual(len(json.loads(self.kept_text())["steps"]), STEPS + 1)
        # The whole history came back: Undo goes back past the file's last step.
        self.command("mnuEdit", "mnuUndo")
        self.command("mnuEdit", "mnuUndo")
        self.assertNotEqual(self.labels(), figures)

    def test_a_character_kept_before_the_page_had_its_database_moves_into_it(self):
        text = self.driver.execute_async_script(LONG_CHARACTER, 3)
        self.driver.execute_async_script(PUT_KEPT, text)
        self.reload()
        kept = json.loads(text)
        self.assertEqual(self.character(), f"{kept['build']}/{kept['looseXP']}")
        WebDriverWait(self.driver, WAIT).until(
            lambda d: self.js("return localStorage.getItem('vorn-build-calculator.character') === null"))
        self.assertEqual(json.loads(self.kept_text())["steps"], kept["steps"])
        self.reload()
        self.assertEqual(self.character(), f"{kept['build']}/{kept['looseXP']}")


if __name__ == "__main__":
    unittest.main()
