"""axe-core finds nothing to fault, in light and in dark; dialogs keep the focus; changes are announced."""

import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import WAIT, PageTest

# Each text box's id, the colours of its selected text and highlight, and the box's own background.
SELECTION = """
const rgba = c => { const v = c.match(/[\\d.]+/g).map(Number); return v.length > 3 ? v : v.concat(1); };
return [...document.querySelectorAll('input[type=text], textarea')].map(e => {
    const selected = getComputedStyle(e, '::selection');
    return [e.id, rgba(selected.color), rgba(selected.backgroundColor), rgba(getComputedStyle(e).backgroundColor)];
});"""

# The elements shown that scroll their content and that Tab stops at, other than the controls.
SCROLL_AREAS = """
return [...document.querySelectorAll('body *')].filter(e => {
    if (e.getClientRects().length === 0)
        return false;
    const s = getComputedStyle(e);
    return /auto|scroll/.test(s.overflowX + s.overflowY) && e.tabIndex >= 0 &&
        !e.matches('input, select, textarea, button, a[href]');
});"""

# A character of arguments[0] steps, made by the page's own module and opened as the user opens a file.
OPEN_LONG_HISTORY = """
const [steps, done] = arguments;
createVornModule().then(M => {
    const boxes = {silver: '0', startingBuild: '30', startingLooseXP: '0', eventLength: '2'};
    const session = new M.Session();
    for (let i = 0; i < steps; ++i)
        session.addEvent(boxes);
    const files = new DataTransfer();
    files.items.add(new File([session.save(boxes)], 'Long.vornchar'));
    session.delete();
    const input = document.getElementById('filOpen');
    input.files = files.files;
    input.dispatchEvent(new Event('change'));
    done();
});"""

# The steps the history has drawn: each row's place in the table and its number.
DRAWN = """
const table = document.getElementById('tblHistory');
const rows = [...table.tBodies[0].rows].filter(r => !r.hasAttribute('aria-hidden'));
return {count: table.getAttribute('aria-rowcount'), head: table.tHead.rows[0].getAttribute('aria-rowindex'),
        indices: rows.map(r => Number(r.getAttribute('aria-rowindex'))),
        numbers: rows.map(r => r.cells[0].textContent.replace('\u25B6 ', ''))};"""


def over(colour, ground):
    """colour laid over an opaque ground."""
    alpha = colour[3]
    return [alpha * c + (1 - alpha) * g for c, g in zip(colour[:3], ground[:3])] + [1]


def contrast(a, b):
    def luminance(rgb):
        lin = [c / 255 / 12.92 if c / 255 <= 0.04045 else ((c / 255 + 0.055) / 1.055) ** 2.4 for c in rgb[:3]]
        return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


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
            if not self.color_scheme(scheme):
                continue
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

    def test_selected_text_keeps_its_contrast(self):
        for scheme in ("light", "dark"):
            if self.color_scheme(scheme) is False:
                continue
            for box, ink, highlight, paper in self.js(SELECTION):
                with self.subTest(scheme=scheme, box=box):
                    self.assertGreater(highlight[3], 0, "the system's highlight, which may be any colour")
                    ground = over(highlight, paper)
                    self.assertGreaterEqual(contrast(over(ink, ground), ground), 4.5)

    def test_scroll_areas_the_keyboard_reaches_are_named_regions(self):
        for opening in (self.open_history, self.open_plan):
            opening()
            self.settle()
            areas = self.js(SCROLL_AREAS)
            self.assertNotEqual(areas, [], "no table's scroll area found")
            for area in areas:
                with self.subTest(area.get_attribute("outerHTML")[:80]):
                    # Firefox lets the keyboard reach a dialog that scrolls, as the named dialog it is.
                    self.assertIn(area.aria_role, ("region", "dialog"))
                    self.assertNotEqual(area.accessible_name, "")
            self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
            self.settle()

    def test_a_long_history_is_drawn_as_it_scrolls_and_stays_a_table(self):
        steps = 400
        title = self.driver.title
        self.driver.execute_async_script(OPEN_LONG_HISTORY, steps)
        WebDriverWait(self.driver, WAIT).until(lambda d: d.title != title)
        self.command("mnuEdit", "mnuHistory")
        self.settle()
        for place, key, shown in (("the step that stands, the last", None, steps + 2),
                                  ("the top, by the keyboard", Keys.HOME, 2)):
            with self.subTest(place):
                if key:
                    self.el("tblHistory").find_element(By.XPATH, "..").send_keys(key)
                    WebDriverWait(self.driver, WAIT).until(lambda d: shown in self.js(DRAWN)["indices"])
                drawn = self.js(DRAWN)
                self.assertEqual((drawn["count"], drawn["head"]), (str(steps + 2), "1"))
                self.assertIn(shown, drawn["indices"])
                self.assertLess(len(drawn["indices"]), 100, "every step drawn")
                self.assertEqual(drawn["numbers"], [str(i - 2) for i in drawn["indices"]])
        # The rows not drawn stand in as an empty row, which must not spoil the table for screen readers.
        self.assertEqual(self.axe_violations(), [])
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.settle()


if __name__ == "__main__":
    unittest.main()
