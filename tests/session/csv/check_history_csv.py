"""Reads the histories history_csv_writer exports with Python's csv module, as any spreadsheet program
would read them, and checks every row against what the writer says it holds."""
import csv
import pathlib
import subprocess
import sys
import tempfile

HEADER = ["Step", "Date", "Event", "Note", "What was done", "Length", "Coin", "Blankets",
          "Build", "Level", "Loose XP", "Total XP", "Planned events"]


def as_shown(text):
    """A text field as a spreadsheet shows it: the apostrophe that keeps a formula from running is not
    part of the text."""
    stripped = text.lstrip("'")
    return text[1:] if text.startswith("'") and stripped[:1] in ("=", "+", "-", "@", "\t", "\r") else text


def plain_whole(text):
    return text == "" or (text.isdigit() and str(int(text)) == text)


def main(writer):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([writer, folder], check=True)
        histories = sorted(pathlib.Path(folder).glob("*.csv"))
        assert histories, "no histories written"
        for path in histories:
            raw = path.read_bytes()
            assert raw.startswith(b"\xef\xbb\xbf"), path
            with open(path, newline="", encoding="utf-8-sig") as f:
                rows = list(csv.reader(f, strict=True))
            expected = [line.split(" ") for line in
                        path.with_suffix(".expected").read_text().splitlines()]
            assert rows[0] == HEADER, (path, rows[0])
            assert len(rows) == len(expected) + 1, (path, len(rows), len(expected))
            for number, (row, want) in enumerate(zip(rows[1:], expected), start=1):
                texts = [bytes.fromhex(h).decode() if h != "-" else "" for h in want[:4]]
                assert len(row) == len(HEADER), (path, number, row)
                assert row[0] == str(number), (path, row)
                assert [as_shown(t) for t in row[1:5]] == texts, (path, number, row[1:5], texts)
                for text in row[1:5]:
                    assert text[:1] not in ("=", "+", "-", "@", "\t", "\r"), (path, number, text)
                assert row[8] == want[4] and row[10] == want[5], (path, number, row)
                for column in ("Step", "Length", "Blankets", "Build", "Level", "Loose XP", "Total XP"):
                    assert plain_whole(row[HEADER.index(column)]), (path, number, column, row)
                coin = row[HEADER.index("Coin")]
                assert coin in ("", "max out") or float(coin) >= 0 and "," not in coin, (path, coin)
    print(f"{len(histories)} histories read back")


if __name__ == "__main__":
    main(sys.argv[1])
