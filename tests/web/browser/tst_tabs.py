"""Tabs of the page show one character: what one tab keeps (within a second of a change), the others show
at once, and work not yet in a file is never replaced by another tab's character unasked."""

import json
import unittest

from selenium.webdriver.support.ui import WebDriverWait

from tst_files import NO_PICKERS, NOT_KEPT, downloaded, kept_soon
from vornpage import ACCEPT, LEAVE_UNASKED, REFUSE, WAIT, WARNS_ON_LEAVING, PageTest


class Tabs(PageTest):
    def setUp(self):
        super().setUp()
        self.earlier = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        self.later = self.driver.current_window_handle
        self.addCleanup(self.close_later)
        self.driver.get(self.url)
        self.wait_ready()
        # Save downloads here, as where the browser has no file pickers: a picker can't be answered.
        self.js(NO_PICKERS)

    def close_later(self):
        if self.later in self.driver.window_handles:
            self.driver.switch_to.window(self.later)
            self.driver.close()
        self.driver.switch_to.window(self.earlier)

    def in_tab(self, handle):
        self.driver.switch_to.window(handle)

    def act(self, *buttons):
        """Clicks, then waits until the tab has kept what it shows (or been refused), as it does within a
        second."""
        for button in buttons:
            self.click(button)
            self.assertEqual(self.messages(), [])
        kept_soon(self)

    def shows_soon(self, labels):
        WebDriverWait(self.driver, WAIT).until(lambda d: self.labels() == labels)

    def test_a_change_in_one_tab_shows_in_the_other_at_once(self):
        self.in_tab(self.later)
        self.act("cmdAddEvent", "cmdAddEvent")
        two = self.labels()
        self.in_tab(self.earlier)
        self.shows_soon(two)
        self.act("cmdAddMaxOut")
        three = self.labels()
        self.in_tab(self.later)
        self.shows_soon(three)
        self.assertIsNone(self.settle())
        self.reload()
        self.assertEqual(self.labels(), three)
        self.assertEqual(len(json.loads(self.kept_text())["steps"]), 3)
        # The history came along: Undo takes back the other tab's step.
        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.labels(), two)

    def test_a_keeping_that_waits_with_nothing_new_does_not_make_a_tab_ask(self):
        self.in_tab(self.later)
        self.act("cmdAddEvent", "cmdAddEvent")
        self.in_tab(self.earlier)
        self.shows_soon(self.labels_in(self.later))
        # A box left as it was starts a keeping, which here waits for as long as the test needs: only the
        # page's being hidden or left keeps it early.
        self.js("""const wait = window.setTimeout;
            window.setTimeout = (run, ms, ...more) => wait(...(ms === 1000 ? [() => {}, 1e9] : [run, ms, ...more]));
            document.getElementById('txtSilverSubmitted').dispatchEvent(new Event('change'));""")
        self.in_tab(self.later)
        self.act("cmdAddMaxOut")
        three = self.labels()
        self.in_tab(self.earlier)
        self.shows_soon(three)
        self.assertIsNone(self.settle())

    def labels_in(self, handle):
        current = self.driver.current_window_handle
        self.in_tab(handle)
        labels = self.labels()
        self.in_tab(current)
        return labels

    def test_tabs_that_each_keep_their_own_character_lose_neither(self):
        ours, theirs = self.earlier, self.later
        # This tab's first step is refused by the storage, so the other tab goes on without it.
        self.in_tab(ours)
        self.js(REFUSE)
        self.act("cmdAddEvent")
        self.assertEqual(self.el("keepingNotice").text, NOT_KEPT)
        self.in_tab(theirs)
        self.act("cmdAddMaxOut")
        self.in_tab(ours)
        self.js(ACCEPT)
        self.act("cmdAddEvent")
        own = self.labels()

        # That tab's player keeps its character rather than this one's, and goes on with it.
        self.in_tab(theirs)
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgSaveChanges")
        self.el("dlgSaveChangesCancel").click()
        self.assertIsNone(self.settle())
        self.act("cmdAddEvent")
        other = self.labels()
        self.assertNotEqual(other, own)
        self.driver.close()

        # This tab's player keeps this one's, and reloads it: it is this tab's still.
        self.in_tab(ours)
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgSaveChanges")
        self.el("dlgSaveChangesCancel").click()
        self.assertIsNone(self.settle())
        self.assertEqual(self.labels(), own)
        # The storage the next visit reads holds the other tab's: this one's is lost with the tab's closing
        # unless the player is asked first.
        self.assertTrue(self.js(WARNS_ON_LEAVING))
        self.js(LEAVE_UNASKED)
        self.reload()
        self.assertIsNone(self.settle())
        self.assertEqual(self.labels(), own)
        # The other tab's is what a new tab finds.
        self.driver.switch_to.new_window("tab")
        self.later = self.driver.current_window_handle
        self.driver.get(self.url)
        self.wait_ready()
        self.assertIsNone(self.settle())
        self.assertEqual(self.labels(), other)
        self.in_tab(ours)
        self.assertIsNone(self.settle())
        self.assertEqual(self.labels(), own)
        self.assertTrue(self.js(WARNS_ON_LEAVING))
        self.js(LEAVE_UNASKED)

    def test_unsaved_work_is_offered_for_saving_before_another_tabs_character_replaces_it(self):
        for answer in ("dlgSaveChangesCancel", "dlgSaveChangesSave"):
            with self.subTest(answer):
                # The earlier tab goes its own way while the storage refuses it, then keeps its character.
                self.in_tab(self.earlier)
                self.js(REFUSE)
                self.act("cmdAddMaxOut")
                self.assertEqual(self.el("keepingNotice").text, NOT_KEPT)
                self.in_tab(self.later)
                self.act("cmdAddEvent")
                own = self.labels()
                self.in_tab(self.earlier)
                self.js(ACCEPT)
                self.act("cmdAddEvent")
                theirs = self.labels()

                self.in_tab(self.later)
                WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgSaveChanges")
                self.assertEqual(self.el("dlgSaveChangesText").text, "Save this character?")
                self.el(answer).click()
                self.assertIsNone(self.settle())
                if answer == "dlgSaveChangesSave":
                    self.assertEqual(self.labels(), theirs)
                    continue
                self.assertEqual(self.labels(), own)
                # Kept apart: that tab's next change asks nothing more.
                self.in_tab(self.earlier)
                self.act("cmdAddEvent")
                self.in_tab(self.later)
                self.assertIsNone(self.settle())
                self.assertEqual(self.labels(), own)

        # The browser writes the download in its own time (WebKit a while after the page handed it over).
        saved = downloaded(self)
        self.assertEqual([p for p in self.downloads.iterdir() if p.suffix == ".vornchar"], [saved])
        self.assertEqual(len(json.loads(saved.read_text(encoding="utf-8"))["steps"]), 2)


if __name__ == "__main__":
    unittest.main()
