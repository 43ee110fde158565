"""The exported history in real spreadsheet programs, Gnumeric (ssconvert) and LibreOffice (soffice), as
players open it:
- every exported history, whatever its names and notes hold, opens with no cell a formula and every row
  in the same columns (LibreOffice reading comma, semicolon and tab as separators, formulas evaluated);
- what each program writes back as CSV (Gnumeric's dates as 2026/03/14; LibreOffice in English and German)
  imports into a new character as the same steps, dates, names and notes.
Skipped (exit 77) where neither program is installed; the test command installs both."""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

COLUMNS = 13  # Step … Planned events
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
SHEET = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
# LibreOffice's CSV import as a player meets it: comma, semicolon and tab ticked, quotes, UTF-8, from row 1,
# special numbers detected and formulas evaluated.
LIBREOFFICE_IMPORT = "CSV:44/59/9,34,76,1,,{language},false,true,false,false,false,,true"


def column_number(reference):
    letters = "".join(c for c in reference if c.isalpha())
    n = 0
    for c in letters:
        n = n * 26 + ord(c) - 64
    return n


def check_xlsx(path, rows):
    with zipfile.ZipFile(path) as book:
        sheet = ET.fromstring(book.read("xl/worksheets/sheet1.xml"))
    found = sheet.findall(f".//{{{SHEET}}}row")
    assert len(found) == rows, (path, len(found), rows)
    for row in found:
        assert row.find(f".//{{{SHEET}}}f") is None, (path, "a formula in row", row.get("r"))
        for cell in row.findall(f"{{{SHEET}}}c"):
            assert column_number(cell.get("r")) <= COLUMNS, (path, "a field split into", cell.get("r"))


def check_ods(path, rows):
    with zipfile.ZipFile(path) as book:
        content = ET.fromstring(book.read("content.xml"))
    found = content.findall(f".//{{{TABLE}}}table-row")
    assert len(found) >= rows, (path, len(found), rows)
    for number, row in enumerate(found[:rows], start=1):
        column = 0
        last = 0
        for cell in row.findall(f"{{{TABLE}}}table-cell"):
            assert cell.get(f"{{{TABLE}}}formula") is None, (path, "a formula in row", number)
            column += int(cell.get(f"{{{TABLE}}}number-columns-repeated", "1"))
            if cell.get(f"{{{OFFICE}}}value-type") is not None:
                last = column
        assert last <= COLUMNS, (path, "row", number, "spreads over", last, "columns")
        if number == 1:
            assert last == COLUMNS, (path, "the header has", last, "columns")


def soffice(home, language, env_lang, convert_to, infilter, out, files):
    env = dict(os.environ, HOME=str(home), LANG=env_lang, LC_ALL=env_lang if env_lang != "en_US.UTF-8" else "C.UTF-8")
    subprocess.run(["soffice", "--headless", "--norestore", f"--infilter={infilter.format(language=language)}",
                    "--convert-to", convert_to, "--outdir", str(out), *map(str, files)],
                   check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)


def read_back(writer, order, path):
    done = subprocess.run([writer, "--read", order, str(path)], capture_output=True, text=True)
    assert done.returncode == 0, (path, done.stderr)
    return done.stdout


def main(writer):
    gnumeric = shutil.which("ssconvert")
    libreoffice = shutil.which("soffice")
    if not gnumeric and not libreoffice:
        print("skipped: neither Gnumeric's ssconvert nor LibreOffice's soffice is installed")
        return 77
    with tempfile.TemporaryDirectory() as folder:
        top = pathlib.Path(folder)
        hostile, plain = top / "hostile", top / "plain"
        hostile.mkdir()
        plain.mkdir()
        subprocess.run([writer, str(hostile)], check=True)
        subprocess.run([writer, "--plain", str(plain)], check=True)
        # The histories with the most rows, so that the programs' start-up is paid a few times only.
        def longest(where):
            return sorted(where.glob("*.csv"), key=lambda p: -len(p.read_text(encoding="utf-8-sig").splitlines()))[:6]

        def rows(path):
            return len(path.with_suffix(".expected").read_text().splitlines()) + 1
        programs = []
        if gnumeric:
            programs.append("Gnumeric")
            for path in longest(hostile):
                book = path.with_suffix(".xlsx")
                subprocess.run([gnumeric, str(path), str(book)], check=True, capture_output=True, timeout=120)
                check_xlsx(book, rows(path))
            for lang in ("C.UTF-8", "de_DE.UTF-8"):
                for path in longest(plain):
                    written = top / f"gnumeric-{lang}-{path.name}"
                    subprocess.run([gnumeric, str(path), str(written)], check=True, capture_output=True,
                                   timeout=120, env=dict(os.environ, LANG=lang, LC_ALL=lang))
                    assert read_back(writer, "day", written) == path.with_suffix(".expected").read_text(), written
        if libreoffice:
            programs.append("LibreOffice")
            home = top / "home"
            books = top / "books"
            soffice(home, 1033, "en_US.UTF-8", "ods", LIBREOFFICE_IMPORT, books, longest(hostile))
            for path in longest(hostile):
                check_ods(books / path.with_suffix(".ods").name, rows(path))
            for language, lang, order in ((1033, "en_US.UTF-8", "month"), (1031, "de_DE.UTF-8", "day")):
                out = top / f"libreoffice-{language}"
                soffice(home, language, lang, "csv", LIBREOFFICE_IMPORT, out, longest(plain))
                for path in longest(plain):
                    written = out / path.name
                    assert read_back(writer, order, written) == path.with_suffix(".expected").read_text(), written
    print("exported histories checked in " + " and ".join(programs))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
