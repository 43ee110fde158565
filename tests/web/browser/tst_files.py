"""The site loads from a web server and straight from disk, asks nothing of any other place, and keeps a
character in the same files as the desktop program; its history goes to a spreadsheet and events come
from one; printed, the page is the character sheet alone."""

import csv
import io
import json
import re
import unittest
from pathlib import Path

from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import LEAVE_UNASKED, PUT_KEPT, REFUSE, WAIT, WARNS_ON_LEAVING, PageTest

START_LABELS = ["2", "8", "30", "0", "65", "7", "7", "60"]
NOT_KEPT = "This browser is not keeping the newest changes to this character; save it to a file to keep them."
TITLE = " - VORN Build Calculator"

# The browser without file pickers, as Firefox and WebKit are: Save downloads, Open uses the page's input.
NO_PICKERS = "window.showOpenFilePicker = undefined; window.showSaveFilePicker = undefined;"

# A browser whose pickers and sharing are fakes that record what the page does with them. arguments[0]:
# the file the open picker gives ({name, text}, writable once the user allows: `allow`), the file the save
# picker gives (`pick`, or "AbortError": the user cancels), and whether the browser can share the file.
FAKES = """
const world = arguments[0];
const fake = window.fake = {written: {}, suggested: [], shared: []};
const handle = (name, text, permission) => ({
    name, kind: 'file',
    getFile: async () => new File([text], name, {lastModified: (fake.written[name] || []).length}),
    queryPermission: async () => permission,
    requestPermission: async () => world.allow,
    createWritable: async () => {
        const parts = [];
        return {write: async bytes => { parts.push(new TextDecoder().decode(bytes)); },
                close: async () => { (fake.written[name] ||= []).push(parts.join('')); },
                abort: async () => {}};
    },
});
window.showOpenFilePicker = async () => [handle(world.opened.name, world.opened.text, 'prompt')];
window.showSaveFilePicker = async options => {
    fake.suggested.push(options.suggestedName);
    if (world.pick === 'AbortError')
        throw new DOMException('The user aborted a request.', 'AbortError');
    return handle(world.pick, '', 'granted');
};
navigator.canShare = data => world.share && data.files.length === 1;
navigator.share = async data => { fake.shared.push(data.files[0]); };
"""


def kept_soon(test):
    """Waits until the page has kept the character it shows (the storage's figures are the page's), or
    has said the browser won't keep it: keeping follows a change within a second."""
    def kept():
        if test.js("return document.getElementById('keepingNotice').textContent !== ''"):
            return True
        text = test.kept_text()
        kept = json.loads(text) if text else None
        shown = [test.el(label).text.strip() for label in ("lblBuild", "lblLooseXP")]
        return bool(kept) and [str(kept["build"]), str(kept["looseXP"])] == shown
    WebDriverWait(test.driver, WAIT).until(lambda d: kept())


# A file of events as a spreadsheet writes it: quoted fields with a comma and a quote inside, a date, a
# row without one, and a step's training.
EVENTS = ('Length,Event,Date,Note,Coin,Blankets\r\n'
          '2,"Harvest Moon, Day 1",2026-10-03,"she said ""again""",max out,0\r\n'
          '1,Skirmish,,,,\r\n')
# What the sheet shows once written, and which of the page's parts print.
SHEET = """
window.dispatchEvent(new Event('beforeprint'));
const sheet = document.getElementById('printSheet');
const shown = e => getComputedStyle(e).display !== 'none';
return {title: sheet.querySelector('h1')?.textContent, rows: sheet.querySelectorAll('tbody tr').length,
        events: [...sheet.querySelectorAll('tbody tr')].map(tr => tr.cells[2].textContent),
        chart: sheet.querySelectorAll('svg .chart-line, svg path, svg polyline').length,
        sheetShown: shown(sheet), calculatorShown: [...document.body.children].filter(e => e !== sheet).some(shown)};
"""


def downloaded(test, suffix=".vornchar"):
    """The file the browser has just saved. The browser writes a name it saved before over again."""
    before = getattr(test, "_saved", {})

    def saved(_):
        new = [p for p in test.downloads.iterdir()
               if p.suffix == suffix and before.get(p) != p.stat().st_mtime_ns]
        return new[0] if new else None
    path = WebDriverWait(test.driver, WAIT).until(saved)
    test._saved = {p: p.stat().st_mtime_ns for p in test.downloads.iterdir()}
    return path


class SiteLoads(PageTest):
    def test_works_and_asks_nothing_of_other_places(self):
        self.assertEqual(self.labels(), START_LABELS)
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.character(), "34/2")
        folder = self.url.rsplit("/", 1)[0] + "/"
        loaded = self.js("return performance.getEntriesByType('resource').map(r => r.name);")
        self.assertEqual([u for u in loaded if not u.startswith(folder)], [])


    def test_names_the_apps_manifest_only_where_it_is_served(self):
        # From disk the browser may not read the manifest, and says so in its console.
        self.assertEqual(self.js("return !!document.querySelector('link[rel=manifest]');"), not self.FILE_URL)


class SiteLoadsFromDisk(SiteLoads):
    FILE_URL = True


class CharacterFiles(PageTest):
    def open_page(self, *args, **kwargs):
        super().open_page(*args, **kwargs)
        self.js(NO_PICKERS)

    def reload(self):
        super().reload()
        self.js(NO_PICKERS)

    def save(self):
        """Saves with the File menu; the downloaded file's path."""
        self.command("mnuFile", "mnuSave")
        self.assertEqual(self.messages(), [])
        return self.downloaded()

    def downloaded(self):
        return downloaded(self)

    def add_events(self, count):
        for _ in range(count):
            self.click("cmdAddEvent")
            self.assertEqual(self.messages(), [])

    def steps_in(self, path):
        return [step["action"] for step in json.loads(path.read_text(encoding="utf-8"))["steps"]]

    def open_file(self, path):
        # The page's file picker, given the file as a user picks it. The browser hands the page the file's
        # text when it has read it, which in Firefox and WebKit takes a while: the test waits until the
        # page shows it has (its title names another file, or it asks or says something).
        title = self.driver.title
        self.driver.find_element(By.CSS_SELECTOR, "input[type=file]").send_keys(str(path))
        try:
            WebDriverWait(self.driver, WAIT).until(lambda d: d.title != title or self.settle())
        except TimeoutException:
            pass  # the same file again, its title unchanged
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

    def import_events(self, name, text):
        """Imports a file of events (text in UTF-8, or bytes as they are) with the File menu; the messages
        shown."""
        path = Path(self.downloads, "picked", name)
        path.parent.mkdir(exist_ok=True)
        if isinstance(text, bytes):
            path.write_bytes(text)
        else:
            path.write_text(text, encoding="utf-8")
        self.command("mnuFile", "mnuImportEvents")
        self.driver.find_element(By.ID, "filImportEvents").send_keys(str(path))
        WebDriverWait(self.driver, WAIT).until(lambda d: self.settle() or self.el("mnuUndo").is_enabled())
        return self.messages()

    def test_events_come_from_a_spreadsheet_and_the_history_goes_to_one(self):
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        before = self.character()
        bad = EVENTS + "two,Feast,,,,\r\n"
        shown = self.import_events("bad.csv", bad)
        self.assertEqual(len(shown), 1)
        self.assertTrue(shown[0].startswith("Row 4: "), shown)
        self.assertEqual(self.character(), before, "a bad row added events")
        shown = self.import_events("events.csv", EVENTS)
        self.assertEqual(len(shown), 1)
        self.assertTrue(shown[0].startswith("Imported 2 events (3 days) and 1 max out.\nBuild "), shown)
        imported = self.character()
        self.assertNotEqual(imported, before)

        self.command("mnuFile", "mnuExportHistory")
        path = downloaded(self, ".csv")
        self.assertEqual(path.name, "Character.csv")
        rows = list(csv.DictReader(io.StringIO(path.read_text(encoding="utf-8-sig"), newline="")))
        self.assertEqual([(r["Step"], r["Event"], r["Note"]) for r in rows],
                         [("1", "", ""), ("2", "Harvest Moon, Day 1", 'she said "again"'), ("3", "Skirmish", "")])
        self.assertEqual(rows[1]["Date"], "2026-10-03")
        self.assertEqual(rows[-1]["Build"] + "/" + rows[-1]["Loose XP"], imported)

        # One Undo takes the whole import back.
        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.character(), before)

    def test_a_spreadsheet_is_read_as_its_bytes_and_the_browsers_dates(self):
        # Excel's classic CSV on Windows is Windows-1252; a date that could be read either way is read in
        # the browser's order (English, month first here), and the player is told so.
        shown = self.import_events("excel.csv", b"Event;Date;Length\r\nCaf\xe9 M\xfcller;03/04/2026;2\r\n")
        self.assertEqual(shown[0].split("\n")[2:], ["Dates such as 03/04/2026 were read as month/day/year.",
                                                     "The file was read as Windows-1252 text, as Excel writes CSV on Windows."])
        self.command("mnuFile", "mnuExportHistory")
        rows = list(csv.DictReader(io.StringIO(downloaded(self, ".csv").read_text(encoding="utf-8-sig"), newline="")))
        self.assertEqual((rows[-1]["Event"], rows[-1]["Date"]), ("Caf\u00e9 M\u00fcller", "2026-03-04"))
        self.assertEqual(self.import_events("book.xlsx", b"PK\x03\x04\x14\x00\x00\x00"),
                         ["This is a spreadsheet file, not CSV: save it as CSV (UTF-8) and import that. Nothing was imported."])

    def test_printed_the_page_is_the_character_sheet_with_every_step(self):
        many = "Length,Event\r\n" + "".join(f"2,Event {n}\r\n" for n in range(1, 61))
        self.assertEqual(self.import_events("many.csv", many)[0].split("\n")[0], "Imported 60 events (120 days).")
        # The File menu's command and its key print, and the browser prints what it printed.
        self.js("window.printed = 0; window.print = () => { window.printed += 1; };")
        self.command("mnuFile", "mnuPrint")
        self.driver.switch_to.active_element.send_keys(Keys.ALT + "i")
        self.assertEqual(self.js("return window.printed;"), 2)
        sheet = self.js(SHEET)
        self.assertEqual(sheet["title"], "VORN Character Sheet")
        self.assertEqual(sheet["rows"], 61, "not every step is on the sheet")
        self.assertEqual(sheet["events"][1:3], ["Event 1", "Event 2"])
        self.assertGreater(sheet["chart"], 0, "no chart on the sheet")
        self.assertEqual((sheet["sheetShown"], sheet["calculatorShown"]), (False, True), "on screen")
        self.js("window.dispatchEvent(new Event('afterprint'));")
        self.cdp("Emulation.setEmulatedMedia", {"media": "print"})
        try:
            sheet = self.js(SHEET)
            self.assertEqual((sheet["sheetShown"], sheet["calculatorShown"], sheet["rows"]), (True, False, 61))
        finally:
            self.cdp("Emulation.setEmulatedMedia", {"media": ""})
            self.js("window.dispatchEvent(new Event('afterprint'));")

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
        # A character the storage refuses leaves the one kept before it, the last good copy, for the page
        # to come back with; the player is asked before leaving the newest changes behind.
        self.js(REFUSE)
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        self.assertTrue(self.js(WARNS_ON_LEAVING))
        self.js(LEAVE_UNASKED)
        self.reload()
        self.assertEqual(self.character(), "34/2")


    def test_unsaved_steps_are_offered_for_saving_with_or_without_a_file(self):
        # name: (what is done first, the question New asks or None)
        cases = {
            "a new character": (lambda: None, None),
            "a class chosen, nothing recorded": (lambda: self.choose("cboCharacterClass", "Rogue"), None),
            "steps without a file, the page reloaded": (lambda: (self.add_events(1), self.reload()),
                                                        "Save this character?"),
            "steps undone to none": (lambda: (self.add_events(1), self.command("mnuEdit", "mnuUndo")), None),
            "saved, then a step": (lambda: (self.save(), self.add_events(1)),
                                   "Save changes to Character.vornchar?"),
            "steps without a file": (lambda: self.add_events(3), "Save this character?"),
        }
        for name, (before, question) in cases.items():
            with self.subTest(name):
                self.open_page(fresh=True)
                before()
                shown = self.character()
                self.command("mnuFile", "mnuNew")
                if question is None:
                    self.assertIsNone(self.settle())
                    continue
                self.assertEqual(self.settle(), "dlgSaveChanges")
                self.assertEqual(self.el("dlgSaveChangesText").text, question)
                self.el("dlgSaveChangesCancel").click()
                self.assertIsNone(self.settle())
                self.assertEqual(self.character(), shown)

        # Save puts the steps in a file before the new character takes their place.
        self.command("mnuFile", "mnuNew")
        self.el("dlgSaveChangesSave").click()
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.character(), "30/0")
        self.assertEqual(self.steps_in(self.downloaded()), ["event"] * 3)

    def test_a_new_character_has_a_history_of_its_own(self):
        self.add_events(2)
        self.open_file(self.save())
        self.add_events(1)
        self.command("mnuFile", "mnuNew")
        self.el("dlgSaveChangesDiscard").click()
        self.assertIsNone(self.settle())
        self.assertFalse(self.el("mnuUndo").is_enabled())
        self.reload()
        self.assertEqual(self.character(), "30/0")
        self.assertFalse(self.el("mnuUndo").is_enabled())
        self.command("mnuExtras", "mnuAddBlankets")
        self.answer_input("2")
        self.assertEqual(self.messages(), [])
        self.click("cmdAddMaxOut")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.steps_in(self.save()), ["blankets", "event"])

    def test_a_browser_that_keeps_nothing_is_said_in_the_page_and_the_last_good_copy_stays(self):
        notice = self.el("keepingNotice")
        self.assertEqual((notice.get_attribute("role"), notice.text), ("status", ""))
        self.add_events(1)
        kept_soon(self)
        good = self.character()
        self.assertFalse(self.js(WARNS_ON_LEAVING))
        # The origin's storage full: the next character doesn't fit.
        self.js(REFUSE)
        self.add_events(2)
        kept_soon(self)
        self.assertEqual(notice.text, NOT_KEPT)
        self.assertTrue(self.js(WARNS_ON_LEAVING))
        self.js(LEAVE_UNASKED)
        self.reload()
        self.assertEqual(self.character(), good)
        notice = self.el("keepingNotice")
        self.add_events(1)
        kept_soon(self)
        self.assertEqual(notice.text, "")
        self.assertFalse(self.js(WARNS_ON_LEAVING))
        kept = self.character()
        self.reload()
        self.assertEqual(self.character(), kept)

    def test_a_damaged_kept_character_is_named_as_the_kept_one(self):
        self.add_events(1)
        kept_soon(self)
        text = self.kept_text()
        lead = "The character kept from your last visit could not be brought back. "
        cases = {
            "cut short": (text[: len(text) // 2], "It is damaged: it is cut short."),
            "from a newer calculator": (re.sub(r'"version": \d+', '"version": 99', text),
                                        "It was saved by a newer version of this calculator."),
        }
        for name, (damaged, problem) in cases.items():
            with self.subTest(name):
                # A page started afresh leaves the storage as it is (empty, after damage) until its
                # character changes, so nothing writes over the damage as the page is left.
                self.driver.execute_async_script(PUT_KEPT, damaged)
                self.reload()
                self.assertEqual(self.messages(), [lead + problem])
                self.assertEqual(self.character(), "30/0")


# The browser's launch queue, which hands the installed app the files the system opens it with: here it
# keeps the page's consumer, for the test to hand it files as the browser would.
LAUNCH_QUEUE = """Object.defineProperty(window, 'launchQueue', {configurable: true, value: {
    setConsumer(consumer) { window.launched = consumer; }}});"""
# A file the system opens the app with, [name, text], as a handle the page may write back to.
LAUNCH = """
const [name, text] = arguments;
const fake = window.fake ??= {written: {}};
window.launched({files: [{
    name, kind: 'file',
    getFile: async () => new File([text], name, {lastModified: 1}),
    queryPermission: async () => 'granted',
    createWritable: async () => {
        const parts = [];
        return {write: async bytes => { parts.push(new TextDecoder().decode(bytes)); },
                close: async () => { (fake.written[name] ||= []).push(parts.join('')); }, abort: async () => {}};
    }}]});
"""


class FilesTheSystemOpens(PageTest):
    """The installed app opened with a character file (its file handlers, which Chromium on a computer
    gives it): the file opens after the question about unsaved work, and Save writes back to it."""

    def setUp(self):
        super().setUp()
        added = self.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": LAUNCH_QUEUE})
        self.addCleanup(self.engine.cdp, "Page.removeScriptToEvaluateOnNewDocument", {"identifier": added["identifier"]})
        # A character's file as Save writes it.
        self.js(NO_PICKERS)
        for _ in range(2):
            self.click("cmdAddEvent")
        self.command("mnuFile", "mnuSave")
        self.assertEqual(self.messages(), [])
        self.file = downloaded(self).read_text(encoding="utf-8")
        self.saved = self.character()
        self.open_page(fresh=True)

    def launch(self, name):
        self.js(LAUNCH, name, self.file)

    def test_a_file_opens_after_the_question_about_unsaved_work(self):
        # name: (steps added first, the question asked or None, its answer, the character shown after)
        cases = {
            "nothing unsaved: no question": (0, None, None, self.saved),
            "unsaved steps kept: Cancel": (1, "Save this character?", "dlgSaveChangesCancel", "34/2"),
            "unsaved steps given up: Discard": (1, "Save this character?", "dlgSaveChangesDiscard", self.saved),
        }
        for name, (steps, question, answer, after) in cases.items():
            with self.subTest(name):
                self.open_page(fresh=True)
                for _ in range(steps):
                    self.click("cmdAddEvent")
                self.launch("Brenna.vornchar")
                if question:
                    WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgSaveChanges")
                    self.assertEqual(self.el("dlgSaveChangesText").text, question)
                    self.el(answer).click()
                self.settle()
                self.assertEqual(self.messages(), [])
                self.assertEqual(self.character(), after)
        # The file opened is the character's: Save writes back to it.
        self.assertEqual(self.driver.title, "Brenna.vornchar" + TITLE)
        self.click("cmdAddEvent")
        self.command("mnuFile", "mnuSave")
        WebDriverWait(self.driver, WAIT).until(lambda d: self.js("return !!fake.written['Brenna.vornchar'];"))
        self.assertEqual(len(json.loads(self.js("return fake.written['Brenna.vornchar'][0];"))["steps"]), 3)
        self.assertEqual([p.name for p in self.downloads.iterdir()], ["Character.vornchar"])


class FilesWhereTheBrowserAllows(PageTest):
    """Open keeps the file and Save writes back to it where the browser has file pickers; Share hands the
    file to another app where the browser can."""

    def setUp(self):
        super().setUp()
        self.click("cmdAddEvent")
        self.assertEqual(self.messages(), [])
        kept_soon(self)
        self.mine = self.kept_text()
        self.open_page(fresh=True)

    def fake(self, pick="Copy.vornchar", allow="granted", share=False):
        self.js(FAKES, {"opened": {"name": "Mine.vornchar", "text": self.mine}, "pick": pick, "allow": allow,
                        "share": share})

    def until(self, condition):
        WebDriverWait(self.driver, WAIT).until(lambda d: self.js("return " + condition))

    def written(self):
        return {name: [len(json.loads(text)["steps"]) for text in texts]
                for name, texts in self.js("return fake.written;").items()}

    def open_mine(self):
        self.command("mnuFile", "mnuOpen")
        self.until(f"document.title === 'Mine.vornchar{TITLE}'")
        self.assertEqual(self.character(), "34/2")

    def test_save_writes_back_to_the_file_opened_or_saved_as(self):
        self.fake()
        self.open_mine()
        self.click("cmdAddEvent")
        self.command("mnuFile", "mnuSave")
        self.until("'Mine.vornchar' in fake.written")
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.driver.title, "Mine.vornchar" + TITLE)
        self.command("mnuFile", "mnuSaveAs")
        self.until("'Copy.vornchar' in fake.written")
        self.click("cmdAddEvent")
        self.command("mnuFile", "mnuSave")
        self.until("fake.written['Copy.vornchar'].length === 2")
        self.assertEqual(self.written(), {"Mine.vornchar": [2], "Copy.vornchar": [2, 3]})
        self.assertEqual(self.js("return fake.suggested;"), ["Mine.vornchar"])
        self.assertEqual(self.driver.title, "Copy.vornchar" + TITLE)
        self.assertEqual(list(self.downloads.iterdir()), [])

    def test_a_save_that_does_not_happen_loses_nothing(self):
        # name: (the fakes, whether the character has a file, the message)
        cases = {
            "permission refused": ({"allow": "denied"}, True,
                                   ['"Mine.vornchar" could not be saved: the browser did not allow the page to '
                                    'write to it. Your changes are not saved yet.']),
            "picker cancelled": ({"pick": "AbortError"}, False, []),
        }
        for name, (fakes, opened, said) in cases.items():
            with self.subTest(name):
                self.open_page(fresh=True)
                self.fake(**fakes)
                if opened:
                    self.open_mine()
                self.click("cmdAddEvent")
                shown = (self.driver.title, self.character())
                self.command("mnuFile", "mnuSave")
                self.assertEqual(self.messages(), said)
                self.assertEqual((self.written(), self.driver.title, self.character()), ({},) + shown)
                self.command("mnuFile", "mnuNew")
                self.assertEqual(self.settle(), "dlgSaveChanges")
                self.el("dlgSaveChangesCancel").click()
        self.assertEqual(list(self.downloads.iterdir()), [])

    def test_share_is_offered_where_the_browser_can_share_the_file(self):
        self.click("cmdAddEvent")
        for share in (False, True):
            with self.subTest(share=share):
                self.fake(share=share)
                self.click("mnuFile")
                self.assertEqual(self.el("mnuShareCharacter").is_displayed(), share)
                self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.command("mnuFile", "mnuShareCharacter")
        self.assertEqual(self.messages(), [])
        self.until("fake.shared.length === 1")
        shared = self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "fake.shared[0].text().then(text => done([fake.shared[0].name, text]));")
        # The same file as Save puts among the downloads.
        self.js(NO_PICKERS)
        self.command("mnuFile", "mnuSave")
        saved = downloaded(self)
        self.assertEqual(shared, [saved.name, saved.read_text(encoding="utf-8")])

    def test_without_pickers_or_sharing_their_commands_are_absent(self):
        self.js(NO_PICKERS + "navigator.canShare = undefined;")
        self.click("mnuFile")
        shown = self.js("return [...document.querySelectorAll('#mnuFileMenu button')]"
                        ".filter(b => b.getClientRects().length).map(b => b.id);")
        self.assertEqual(shown, ["mnuNew", "mnuOpen", "mnuSave", "mnuExportHistory", "mnuImportEvents", "mnuPrint"])
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)


if __name__ == "__main__":
    unittest.main()
