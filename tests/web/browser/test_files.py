"""The site loads from a web server and straight from disk, asks nothing of any other place, and keeps a
character in the same files as the desktop program."""

import json
import unittest
from pathlib import Path

from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import WAIT, PageTest

START_LABELS = ["2", "8", "30", "0", "65", "7", "7", "60"]


class SiteLoads(PageTest):
    def test_works_and_asks_nothing_of_other_places(self):
        self.assertEqual(self.labels(), START_LABELS)
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.character(), "34/2")
        folder = self.url.rsplit("/", 1)[0] + "/"
        loaded = self.js("return performance.getEntriesByType('resource').map(r => r.name);")
        self.assertEqual([u for u in loaded if not u.startswith(folder)], [])


class SiteLoadsFromDisk(SiteLoads):
    FILE_URL = True


class CharacterFiles(PageTest):
    def save(self):
        """Saves with the File menu; the downloaded file's path."""
        before = set(self.downloads.iterdir())
        self.command("mnuFile", "mnuSave")
        self.assertEqual(self.messages(), [])

        def saved(_):
            new = [p for p in set(self.downloads.iterdir()) - before if not p.name.endswith(".crdownload")]
            return new[0] if new else None
        return WebDriverWait(self.driver, WAIT).until(saved)

    def open_file(self, path):
        # The page's file picker, given the file as a user picks it.
        self.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(path))
        self.settle()
        if self.open_dialog() == "dlgSaveChanges":
            self.el("dlgSaveChangesDiscard").click()
        return self.messages()

    def test_save_and_open_again(self):
        self.click("cmdAddEvent")
        self.choose("cboCharacterClass", "Rogue")
        self.click("cmdAddMaxOut")
        self.assertEqual(self.messages(), [])
        kept = self.labels()
        path = self.save()
        self.assertEqual(path.suffix, ".vornchar")
        self.assertEqual(len(json.loads(path.read_text(encoding="utf-8"))["steps"]), 2)

        self.command("mnuFile", "mnuNew")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.character(), "30/0")
        self.choose("cboCharacterClass", "Fighter")
        self.assertEqual(self.open_file(path), [])
        self.assertEqual(self.labels(), kept)
        self.assertEqual(self.js("return document.getElementById('cboCharacterClass').selectedOptions[0].text;"),
                         "Rogue")
        self.command("mnuEdit", "mnuUndo")
        self.assertNotEqual(self.labels(), kept)

    def test_a_damaged_file_changes_nothing(self):
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        text = self.save().read_text(encoding="utf-8")
        damaged = Path(self.downloads, "Damaged.vornchar")
        damaged.write_text(text[: len(text) // 2], encoding="utf-8")
        self.click("cmdAddMaxOut")
        self.assertEqual(self.messages(), [])
        kept = self.labels()
        self.assertEqual(self.open_file(damaged), ['"Damaged.vornchar" is damaged: it is cut short.'])
        self.assertEqual(self.labels(), kept)

    def test_what_the_page_keeps_across_a_reload(self):
        # Changes not yet in the character's file are still offered for saving after a reload.
        name = self.save().name
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.reload()
        self.assertTrue(self.driver.title.startswith(name + "*"), self.driver.title)
        self.command("mnuFile", "mnuNew")
        self.assertEqual(self.settle(), "dlgSaveChanges")
        self.el("dlgSaveChangesCancel").click()
        self.assertEqual(self.character(), "34/2")
        # A character the storage refuses is not replaced by the one kept before it when the page comes
        # back: the page starts afresh.
        self.js("Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); };")
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.reload()
        self.assertEqual(self.character(), "30/0")


if __name__ == "__main__":
    unittest.main()
