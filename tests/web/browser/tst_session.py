"""A whole calculator session through the page, with the desktop's figures and messages; once more with
a browser that speaks German, where decimals take a comma."""

import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from vornpage import WAIT, PageTest, project_identity

TOO_LARGE = "The numbers would grow too large for this calculator. Nothing was changed."
BAD_SILVER = "You entered an invalid amount of silver for training. Please correct the error and try again."
BAD_LENGTH = "Event Length must be a positive integer."
BUILD_TOO_LOW = "Starting Build cannot be less then 15."
LOOSE_TOO_LOW = "Starting Loose XP cannot be below 0."
BUILD_NAN = "Starting Build must be a number of at least 15."
LOOSE_NAN = "Starting Loose XP must be a number of 0 or more."
NOT_WHOLE = "The number of blankets must be a whole number."
CAP = ("The maximum value you can use for Training Coin right now is 46{d}5. I will use that number for the "
       "calculations.")
BLANKETS = "Your character has a total of {} blankets.\nNote that this does not count your starting 15 build."

START_LABELS = ["2", "8", "30", "0", "65", "7", "7", "60"]
NORMAL, LONG, NINE_DAYS, MANUAL = "Normal Event", "Long Event", "Nine Day Event", "<manual input>"
SILVER, BUILD, LOOSE, LENGTH = "txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"
ADD, TRAIN, MAX_OUT = "cmdAddEvent", "cmdAddEventTraining", "cmdAddMaxOut"

# name: (Build and Loose XP typed, messages, character after, focus and its text selected or None)
SET_ROWS = {
    "15 and 0 are the least": ("15", "0", [], "15/0", None),
    "Build is checked first, even when both are wrong": ("14", "-1", [BUILD_TOO_LOW], "30/0", (BUILD, True)),
    "a fraction rounds half to even": ("31{d}5", "0", [], "32/0", None),
    "negative Loose XP": ("40", "-1", [LOOSE_TOO_LOW], "30/0", (LOOSE, True)),
    "30x passes the check, not the reading": ("30x", "5", [BUILD_NAN], "30/0", (BUILD, True)),
    "Loose XP that is no number": ("40", "abc", [LOOSE_NAN], "30/0", (LOOSE, True)),
    "Build beyond 32 bits": ("3000000000", "0", [TOO_LARGE], "30/0", (BUILD, True)),
    "Loose XP that tips Total XP over": ("10866", "2147483647", [TOO_LARGE], "30/0", (LOOSE, True)),
}

# name: (start, length entry, silver, manual length, button, messages, character after, focus or None)
ADD_ROWS = {
    "Add Event: a Normal Event": ("30/0", NORMAL, "0", None, ADD, [], "34/2", None),
    "Add Max Out/NPC": ("30/0", NORMAL, "0", None, MAX_OUT, [], "37/1", None),
    "all the silver the event allows": ("30/0", NORMAL, "30", None, TRAIN, [], "37/1", None),
    "a fraction of silver": ("30/0", NORMAL, "1{d}5", None, TRAIN, [], "34/4", None),
    "one silver too many": ("30/0", NORMAL, "31", None, TRAIN, [BAD_SILVER], "30/0", (SILVER, True)),
    "silver that is no number": ("30/0", NORMAL, "abc", None, TRAIN, [BAD_SILVER], "30/0", (SILVER, True)),
    "silver over the rules' cap": ("31/0", LONG, "47", None, TRAIN, [CAP], "40/5", None),
    "a typed 3.5 days is 4": ("30/0", MANUAL, "0", "3{d}5", ADD, [], "37/1", None),
    "an Add that would overflow": ("16/2147483631", NORMAL, "0", None, ADD, [TOO_LARGE], "16/2147483631", None),
}


# A step's History row: its Event, Date and Note cells' texts (after the number and the four figures).
NOTES_CELLS = """
const row = document.querySelector(`#tblHistory tr[aria-rowindex="${arguments[0] + 2}"]`);
return [...row.cells].slice(5).map(cell => cell.textContent);"""


# The column of the History cell that has the focus, a few frames on; null where the focus is elsewhere.
FOCUSED_CELL = """
const done = arguments[arguments.length - 1];
requestAnimationFrame(() => requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() =>
    done(document.activeElement.closest('#tblHistory td')?.cellIndex ?? null), 0))));"""


class FullSession(PageTest):
    LANG = "en-US"
    DECIMAL = "."
    # The language's dates, as its users write them: 29 February 2024 typed loosely, then as shown.
    LEAP_DAY, LEAP_DAY_SHOWN, NO_DAY = "2/29/2024", "02/29/2024", "2/30/2023"
    EXAMPLE_DAY = "03/14/2026"  # the date a message about a typed date gives as its example, as dates show

    def local(self, text):
        return text.replace("{d}", self.DECIMAL)

    def act(self, element_id):
        """Clicks and returns the messages the click brought, each answered."""
        self.click(element_id)
        return self.messages()

    def set_start(self, build, loose):
        self.type(BUILD, build)
        self.type(LOOSE, loose)
        return self.act("cmdSetStartingBuild")

    def test_start_up(self):
        self.assertEqual(self.labels(), START_LABELS)
        self.assertEqual([self.value(b) for b in (SILVER, BUILD, LOOSE, LENGTH)], ["0", "30", "0", "2"])
        self.assertFalse(self.el(LENGTH).is_enabled())
        self.assertEqual(self.js("return ['cboEventLength', 'cboCharacterClass'].map(id => "
                                 "document.getElementById(id).selectedOptions[0].text);"), [NORMAL, "Fighter"])
        self.assertTrue(self.el("chkShowMaxOut").is_selected())
        self.assertFalse(self.el("mnuUndo").is_enabled())

    def test_set_checks_both_boxes_before_setting_either(self):
        for name, (build, loose, messages, after, focus) in SET_ROWS.items():
            with self.subTest(name):
                self.assertEqual(self.act("cmdSetStartingBuildLevel1"), [])
                self.assertEqual(self.set_start(self.local(build), loose), messages)
                self.assertEqual(self.character(), after)
                if focus:
                    self.assertEqual(self.focus(), focus)

    def test_adds_with_their_checks(self):
        for name, (start, entry, silver, typed, button, messages, after, focus) in ADD_ROWS.items():
            with self.subTest(name):
                self.choose("cboEventLength", NORMAL)
                self.assertEqual(self.set_start(*start.split("/")), [])
                self.choose("cboEventLength", entry)
                self.type(SILVER, self.local(silver))
                if typed is not None:
                    self.type(LENGTH, self.local(typed))
                self.assertEqual(self.act(button), [self.local(m) for m in messages])
                self.assertEqual(self.character(), after)
                if focus:
                    self.assertEqual(self.focus(), focus)

    def test_length_check_when_leaving_the_box(self):
        self.choose("cboEventLength", MANUAL)
        self.type(LENGTH, "2x")
        before = self.labels()
        for button in (ADD, MAX_OUT):  # asked again each time, once
            with self.subTest(button):
                self.assertEqual(self.act(button), [BAD_LENGTH])
                self.assertEqual(self.focus(), (LENGTH, False))
                self.assertEqual(self.value(LENGTH), "2x")
                self.assertEqual(self.labels(), before)
        # Going to the length list asks nothing; a fixed entry overwrites the box and lets the Add through.
        self.choose("cboEventLength", NINE_DAYS)
        self.assertEqual(self.messages(), [])
        self.assertEqual(self.value(LENGTH), "8")
        self.assertFalse(self.el(LENGTH).is_enabled())
        self.assertEqual(self.act(ADD), [])
        self.assertEqual(self.character(), "42/1")

    def test_length_help(self):
        shown = self.act("cmdLengthHelp")
        self.assertEqual(len(shown), 1)
        self.assertTrue(shown[0].startswith("This represents the length of the event in logistical days."))
        self.assertIn("\n\nSome standard event lengths are as follows:\nAdventure Day (no resets): 1\n", shown[0])

    def test_blankets(self):
        # name: (answer or None for Cancel, messages, character after)
        answers = {
            "Cancel": (None, [], "30/0"),
            "not a number": ("abc", [NOT_WHOLE], "30/0"),
            "more than can be counted": ("2147483647", [TOO_LARGE], "30/0"),
        }
        for name, (answer, messages, after) in answers.items():
            with self.subTest(name):
                self.command("mnuExtras", "mnuAddBlankets")
                self.assertEqual(self.answer_input(answer), "Please enter the number of blankets.")
                self.assertEqual(self.messages(), messages)
                self.assertEqual(self.character(), after)
        self.command("mnuExtras", "mnuCalculateBlankets")
        self.assertEqual(self.messages(), [BLANKETS.format(0)])
        # Many blankets on a new character, by the window's keys from a text box: counting them back
        # gives as many.
        self.type(SILVER, "0")
        self.driver.switch_to.active_element.send_keys(Keys.CONTROL, "a")
        self.answer_input("100000")
        self.assertEqual(self.messages(), [])
        self.assertNotEqual(self.character(), "30/0")
        self.driver.switch_to.active_element.send_keys(Keys.CONTROL, "r")
        self.assertEqual(self.messages(), [BLANKETS.format(100000)])

    def test_undo_redo_and_reload(self):
        self.choose("cboCharacterClass", "Scholar")
        self.assertEqual(self.act(ADD), [])
        one = self.labels()
        self.assertEqual(self.act(MAX_OUT), [])
        two = self.labels()
        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.labels(), one)
        self.command("mnuEdit", "mnuRedo")
        self.assertEqual(self.labels(), two)
        # The character, its class and its history come back with the page.
        self.reload()
        self.assertEqual(self.labels(), two)
        self.assertEqual(self.js("return document.getElementById('cboCharacterClass').selectedOptions[0].text;"),
                         "Scholar")
        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.labels(), one)
        self.command("mnuEdit", "mnuUndo")
        self.assertEqual(self.labels()[2:4], START_LABELS[2:4])
        self.assertFalse(self.el("mnuUndo").is_enabled())

    def open_cell(self, row, column):
        """Taps a step's Event, Date or Note cell in the open History; the text box it puts there."""
        index = {"event": 6, "date": 7, "note": 8}[column]
        # The rows in view are drawn anew, a frame later, when the table changes size: the cell is found
        # once they are.
        button = f'#tblHistory tr[aria-rowindex="{row + 2}"] > :nth-child({index}) button'
        self.driver.execute_async_script("""const done = arguments[arguments.length - 1];
            document.querySelector(arguments[0]).scrollIntoView({block: 'nearest', inline: 'nearest'});
            requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 0)));""", button)
        self.driver.find_element(By.CSS_SELECTOR, button).click()
        # WebKit's driver may answer before the page has handled the click.
        WebDriverWait(self.driver, WAIT).until(lambda d: d.switch_to.active_element.tag_name == "input",
                                               "the cell took no text box")
        return self.driver.switch_to.active_element

    def edit_notes(self, row, column, text, keys=Keys.ENTER):
        """Types over a step's Event, Date or Note cell in the open History and ends with `keys`; the
        messages shown over the History, each answered."""
        field = self.open_cell(row, column)
        field.send_keys(Keys.END + Keys.SHIFT + Keys.HOME + Keys.NULL + Keys.DELETE + text + keys)
        shown = []
        while self.settle() and self.js("return document.getElementById('dlgMessage').open;"):
            shown.append(self.el("dlgMessageText").text)
            self.el("dlgMessageOK").click()
        return shown

    def history_notes(self, row):
        self.command("mnuEdit", "mnuHistory")
        WebDriverWait(self.driver, WAIT).until(lambda d: self.open_dialog() == "dlgHistory")
        return self.js(NOTES_CELLS, row)

    def close_history(self):
        self.el("dlgHistoryClose").click()
        self.settle()

    def test_history_edits_a_step_s_notes_in_place_as_steps_of_their_own(self):
        self.assertEqual(self.act(ADD), [])
        self.assertEqual(self.act(MAX_OUT), [])
        figures = self.labels()
        today = self.history_notes(1)[1]
        self.assertRegex(today, r"\d", "a new step is dated the day it was recorded")
        self.assertEqual(self.edit_notes(1, "event", "Winter Gathering"), [])
        # Once the table has settled into its new size, which draws the rows in view anew.
        self.assertEqual(self.driver.execute_async_script(FOCUSED_CELL), 5,
                         "Enter left the focus off the cell it confirmed")
        self.assertEqual(self.edit_notes(1, "date", self.LEAP_DAY), [])
        self.assertEqual(self.js(NOTES_CELLS, 1), ["Winter Gathering", self.LEAP_DAY_SHOWN, ""])
        cases = {  # name: (column, typed, keys, messages, the row's cells after)
            "a date that is no day is refused": ("date", self.NO_DAY, Keys.ENTER,
                                                 [f'"{self.NO_DAY}" is not a day of the calendar. '
                                                  f'Type a date such as {self.EXAMPLE_DAY}.'], None),
            "Escape keeps what was there": ("event", "Spring Thaw", Keys.ESCAPE, [], None),
            "a long note is cut, with a message": ("note", "n" * 205, Keys.ENTER,
                                                   ["The note was cut to 200 characters."], "n" * 200),
        }
        for name, (column, typed, keys, messages, note) in cases.items():
            with self.subTest(name):
                self.assertEqual(self.edit_notes(1, column, typed, keys), messages)
                self.assertEqual(self.js(NOTES_CELLS, 1), ["Winter Gathering", self.LEAP_DAY_SHOWN, note or ""])
        self.close_history()
        self.assertEqual(self.labels(), figures, "notes changed a figure")
        # Undo takes the edits back one by one: the note, the date, the name; Redo brings one back.
        for expected in (["Winter Gathering", self.LEAP_DAY_SHOWN, ""], ["Winter Gathering", today, ""], ["", today, ""]):
            self.command("mnuEdit", "mnuUndo")
            self.assertEqual(self.history_notes(1), expected)
            self.close_history()
        self.command("mnuEdit", "mnuRedo")
        self.assertEqual(self.history_notes(1), ["Winter Gathering", today, ""])
        self.close_history()
        self.assertEqual(self.labels(), figures)

    def test_text_typed_in_a_cell_and_not_confirmed_is_kept_when_the_page_is_left(self):
        self.assertEqual(self.act(ADD), [])
        self.history_notes(1)
        self.open_cell(1, "note").send_keys("rain on day two")
        self.reload()  # as the tab closed and the page opened again
        self.assertEqual(self.history_notes(1)[2], "rain on day two")
        self.close_history()

    def test_history_writes_out_bidi_controls_and_keeps_the_text_as_typed(self):
        self.assertEqual(self.act(ADD), [])
        self.history_notes(1)
        # Shown as they are, the name would read "Moot3.21" and the note's isolate would hide its end.
        name, note = "Moot\u202e12.3", "\u2067rain\u2069 on day two"
        self.assertEqual(self.edit_notes(1, "event", name), [])
        self.assertEqual(self.edit_notes(1, "note", note), [])
        cells = self.js(NOTES_CELLS, 1)
        self.assertEqual([cells[0], cells[2]], ["Moot[U+202E]12.3", "[U+2067]rain[U+2069] on day two"])
        # The editor and the character keep the text itself.
        for column, typed in (("event", name), ("note", note)):
            with self.subTest(column):
                field = self.open_cell(1, column)
                self.assertEqual(field.get_attribute("value"), typed)
                field.send_keys(Keys.ESCAPE)
                self.settle()
        self.close_history()

    def test_about(self):
        version, homepage = project_identity()
        self.click("mnuAbout")
        self.assertEqual(self.open_dialog(), "dlgAbout")
        about = self.el("dlgAbout")
        self.assertIn("VORN Build Calculator", about.text)
        self.assertIn(f"Version {version}", about.text)
        self.assertIn("8th Edition rulebook", about.text)
        self.assertIn("Warning: This program is a beta.", about.text)
        links = [a.get_attribute("href") for a in about.find_elements("css selector", "a[href]")]
        self.assertIn(homepage, [link.rstrip("/") for link in links])
        self.assertTrue(self.js("return arguments[0].contains(document.activeElement);", about),
                        "the focus is not in the About box")
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.settle()
        self.assertIsNone(self.open_dialog())

    def test_copy_results_copies_the_desktop_s_text(self):
        self.js("window.copied = []; navigator.clipboard.writeText = t => (window.copied.push(t), Promise.resolve());")
        self.set_start(self.local("31{d}5"), "7")
        self.command("mnuEdit", "mnuCopyResults")
        self.settle()
        shown = self.labels()
        captions = ["Level", "Body", "Build", "Loose XP", "Total XP", "XP/BP Ratio"]
        self.assertEqual(self.js("return window.copied;"),
                         ["\n".join(f"{caption}: {value}" for caption, value in zip(captions, shown))])


class FullSessionInGerman(FullSession):
    LANG = "de-DE"
    DECIMAL = ","
    LEAP_DAY, LEAP_DAY_SHOWN, NO_DAY = "29.2.2024", "29.02.2024", "30.2.2023"
    EXAMPLE_DAY = "14.03.2026"


if __name__ == "__main__":
    unittest.main()
