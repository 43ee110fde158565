#!/usr/bin/env bash
# Builds what the benchmarks need, runs them all and prints one table: each path the calculator must
# answer within a frame, its figure, its target and, where there is one, the reference measured in the
# same run (the literal one-by-one rules, an empty page, an empty Qt main window). The table, with the
# date, the machine and the versions, and every benchmark's own output under it, is also written to
# docs/benchmark.md.
#
#   ./scripts/bench.sh
#
# VORN_BUILD names the native build folder (build/: the default preset, RelWithDebInfo) and
# VORN_WEB_BUILD the web build folder (build-web/), relative to the top folder or absolute; VORN_ENGINES
# the browsers ("chromium firefox webkit"); VORN_BENCH_BUILD=0 runs what is built without building;
# VORN_BENCH_OUT another file than docs/benchmark.md ("-" for none); VORN_BENCH_KEEP a folder to keep each
# benchmark's output in, and VORN_BENCH_FROM such a folder to tabulate again, running nothing.
#
# The page's figures are wall-clock times in the browser; the rules' native figures are processor time.
# On a busy machine wall-clock times stretch, which the load average written beside them shows.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$top/$1" ;; esac }
build="$(absolute "${VORN_BUILD:-build}")"
web="$(absolute "${VORN_WEB_BUILD:-build-web}")"
read -r -a engines <<<"${VORN_ENGINES:-chromium firefox webkit}"
out="${VORN_BENCH_OUT:-$top/docs/benchmark.md}"
if [ -n "${VORN_BENCH_FROM:-}" ]; then
    raw="$VORN_BENCH_FROM"
elif [ -n "${VORN_BENCH_KEEP:-}" ]; then
    raw="$(absolute "$VORN_BENCH_KEEP")"
    mkdir -p "$raw"
else
    raw="$(mktemp -d /tmp/vorn-bench.XXXXXX)"
    trap 'rm -rf "$raw"' EXIT
fi

[ -n "${VORN_BENCH_FROM:-}" ] || cut -d' ' -f1-3 /proc/loadavg >"$raw/load-before"

# The benchmark programs are those bench/CMakeLists.txt makes.
mapfile -t programs < <(sed -n 's/^ *add_executable(\(bench_[A-Za-z0-9_]*\).*/\1/p' bench/CMakeLists.txt)

if [ -z "${VORN_BENCH_FROM:-}" ] && [ "${VORN_BENCH_BUILD:-1}" = 1 ]; then
    "$top/scripts/install-missing.sh" build-essential cmake pkg-config qt6-base-dev libgl-dev \
        libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev xvfb xauth \
        chromium chromium-driver python3-selenium firefox-esr webkit2gtk-driver
    cmake --preset default -B "$build" >/dev/null
    cmake --build "$build" -j2 --target "${programs[@]}"
    VORN_WEB_BUILD="$(realpath -m --relative-to="$top" "$web")" "$top/scripts/build-web.sh" >/dev/null
fi

# Runs one benchmark, its output kept as $raw/<name>.txt; a failure is noted and the others still run.
run() {
    local name="$1"
    shift
    echo "running $name" >&2
    if ! "$@" >"$raw/$name.txt" 2>"$raw/$name.err"; then
        echo "$name failed:" >&2
        tail -5 "$raw/$name.err" >&2
        echo "failed" >"$raw/$name.failed"
    fi
}

# The Qt programs draw on an X server of their own, as the desktop's start-up is measured on one.
# It never resets: a server resetting as its last client leaves drops one that connects meanwhile.
with_display() {
    if command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" "$@"
    else
        QT_QPA_PLATFORM=offscreen "$@"
    fi
}

for engine in "${engines[@]}"; do
    [ -z "${VORN_BENCH_FROM:-}" ] || break
    run "web-$engine" env VORN_ENGINE="$engine" /usr/bin/python3 bench/web/bench_web.py "$web/site"
    run "paths-$engine" env VORN_ENGINE="$engine" /usr/bin/python3 bench/web/bench_paths.py "$web/site"
    run "keeping-$engine" env VORN_ENGINE="$engine" /usr/bin/python3 bench/web/bench_keeping.py "$web/site"
done
for program in "${programs[@]}"; do
    [ -z "${VORN_BENCH_FROM:-}" ] || break
    [ -x "$build/bench/$program" ] || { echo "$build/bench/$program is not built" >&2; continue; }
    case "$program" in
    bench_desktop | bench_startup) run "$program" with_display "$build/bench/$program" ;;
    bench_roster) run "$program" "$build/bench/$program" ;;
    *) run "$program" "$build/bench/$program" --benchmark_out="$raw/$program.json" --benchmark_out_format=json ;;
    esac
done

[ -n "${VORN_BENCH_FROM:-}" ] || cut -d' ' -f1-3 /proc/loadavg >"$raw/load-after"

versions() {
    echo "- commit: $(git -C "$top" describe --always --dirty)"
    echo "- compiler: $(c++ --version | head -1); Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo '?')"
    echo "- emscripten: $(dpkg-query -W -f='${Version}' emscripten 2>/dev/null || echo '?')"
    echo "- chromium: $(dpkg-query -W -f='${Version}' chromium 2>/dev/null || echo '?');" \
        "firefox-esr: $(dpkg-query -W -f='${Version}' firefox-esr 2>/dev/null || echo '?');" \
        "WebKitGTK: $(dpkg-query -W -f='${Version}' webkit2gtk-driver 2>/dev/null || echo '?')"
}

[ -n "${VORN_BENCH_FROM:-}" ] || versions >"$raw/versions.md"

{
    echo "# Benchmark"
    echo
    echo "The latest output of \`scripts/bench.sh\`, $(date -u -r "$raw/load-before" '+%Y-%m-%d %H:%M UTC' 2>/dev/null || echo '?')."
    echo
    echo "- machine: $(nproc) processors, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
    echo "- load average (1, 5, 15 min): $(cat "$raw/load-before" 2>/dev/null || echo '?') before the run," \
        "$(cat "$raw/load-after" 2>/dev/null || echo '?') after"
    cat "$raw/versions.md" 2>/dev/null || true
    echo
    VORN_ENGINES="${engines[*]}" /usr/bin/python3 - "$raw" <<'EOF'
import json, os, re, sys
from pathlib import Path

raw = Path(sys.argv[1])
engines = os.environ["VORN_ENGINES"].split()


def text(name):
    path = raw / f"{name}.txt"
    return path.read_text(encoding="utf-8", errors="replace") if path.is_file() else ""


def google(program, prefix, literal):
    """ms of the benchmark whose name starts with prefix, the literal rules' or the program's own. The
    processor time: the code is single-threaded, so on an idle machine it is the wall-clock time, and on a
    busy one it is not stretched by the other programs' turns."""
    path = raw / f"{program}.json"
    if not path.is_file():
        return None
    for b in json.loads(path.read_text())["benchmarks"]:
        if b["name"].startswith(prefix) and ("Literal" in b["name"]) == literal and b.get("run_type") != "aggregate":
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1, "s": 1e3}[b["time_unit"]]
            return b["cpu_time"] * scale
    return None


def fields(name, kind, **match):
    """The key=value fields of the line of a desktop benchmark that starts with kind and has match."""
    for line in text(name).splitlines():
        parts = line.split()
        if parts and parts[0] == kind:
            values = dict(p.split("=", 1) for p in parts[1:] if "=" in p)
            if all(values.get(k) == v for k, v in match.items()):
                return values
    return None


def path_row(engine, label):
    for line in text(f"paths-{engine}").splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) == 4 and cells[0] == label:
            return cells
    return None


def ms(value, digits=1):
    return "—" if value is None else f"{value:.{digits}f} ms"


rows = []


def row(path, figure, target, reference, met):
    rows.append((path, figure, target, reference or "—", "—" if met is None else ("yes" if met else "**no**")))


# The page's paths, in each browser.
page_paths = [
    ("Add Event, 10,000 steps kept", "< 16 ms click to paint", 16, "Add Event, no steps kept", "no steps kept"),
    ("History dialog, 10,000 steps", "< 100 ms to a usable dialog", 100, None, None),
    ("Plan to Build 2,000,000", "< 100 ms", 100, None, None),
    ("Apply a 10,000-event plan", "< 50 ms", 50, None, None),
    ("Open a 10,000-step file", "< 100 ms", 100, None, None),
    ("Reverse Calculate at Build 10866", "< 16 ms click to frame", 16, None, None),
]
for label, target, limit, reference_label, reference_name in page_paths:
    for engine in engines:
        cells = path_row(engine, label)
        name = f"{label}, page ({engine})"
        if not cells:
            row(name, "not measured", target, None, None)
            continue
        if cells[1] == "failed":
            row(name, "failed: " + cells[2], target, None, False)
            continue
        reference = None
        if reference_label:
            ref = path_row(engine, reference_label)
            reference = f"{reference_name}: {float(ref[1]):.1f} ms" if ref and ref[1] != "failed" else None
        row(name, f"{float(cells[1]):.1f} ms", target, reference, float(cells[1]) < limit)

# Add X Blankets 2147483647 on a new character: natively beside the literal rules, then in WebAssembly.
own = google("bench_buildutils", "AddBlankets_Max_FromNew<", False)
literal = google("bench_buildutils", "AddBlankets_Max_FromNew<", True)
row("Add X Blankets 2147483647, new character, native (processor time)", ms(own, 4), "< 0.05 ms",
    f"literal rules: {ms(literal, 3)}" if literal is not None else None, None if own is None else own < 0.05)
for engine in engines:
    cells = path_row(engine, "Add X Blankets 2147483647 (WebAssembly call)")
    value = float(cells[1]) if cells and cells[1] != "failed" else None
    row(f"Add X Blankets 2147483647, new character, WebAssembly ({engine})",
        ms(value, 3) if value is not None else ("failed: " + cells[2] if cells else "not measured"),
        "< 0.5 ms", None, None if value is None else value < 0.5)

# The desktop: an action with the History window open, at two lengths of history.
for steps in ("21000", "500000"):
    values = fields("bench_desktop", "history_action", steps=steps)
    if not values:
        row(f"an action with History open, {int(steps):,} steps, desktop", "not measured", "< 1 ms", None, None)
        continue
    add, undo = float(values["add_ms"]), float(values.get("undo_ms", values["add_ms"]))
    row(f"an action with History open, {int(steps):,} steps, desktop", f"{add:.2f} ms (Undo {undo:.2f} ms)",
        "< 1 ms, independent of history length", None, max(add, undo) < 1)

# The desktop keeping unsaved work for recovery: the copy made on the window's thread, and the write on
# the keeper's own.
for steps in ("10000", "100000"):
    values = fields("bench_desktop", "recovery_keep", steps=steps)
    name = f"keeping unsaved work for recovery, {int(steps):,} steps, desktop"
    if not values:
        row(name, "not measured", "< 16 ms on the window's thread", None, None)
        continue
    copy = float(values["copy_ms"])
    row(name, f"{copy:.2f} ms on the window's thread", "< 16 ms on the window's thread",
        f"written out and synced on its own thread: {float(values['write_ms']):.1f} ms", copy < 16)

# The page's cold start beyond an empty page from the same server.
for engine in engines:
    found = None
    for line in text(f"web-{engine}").splitlines():
        m = re.match(r"^cold\s+([\d.]+)\s+([\d.]+)\s+([\d.]+)\s+(-?[\d.]+)", line.strip())
        if m:
            found = [float(g) for g in m.groups()]
    name = f"time to a usable page beyond an empty page, cold ({engine})"
    if not found:
        error = raw / f"web-{engine}.err"
        said = error.read_text(errors="replace").strip().splitlines() if error.is_file() else []
        row(name, "not measured" + (": " + said[-1][:160] if said else ""), "<= +100 ms", None, None)
        continue
    row(name, f"+{found[3]:.0f} ms ({found[2]:.0f} ms to usable)", "<= +100 ms",
        f"empty page: {found[0]:.0f} ms", found[3] <= 100)

# The page's keeping of a long character: the longest task on its main thread while it keeps a change.
for engine in engines:
    for steps in ("1000", "10000", "50000"):
        found = None
        for line in text(f"keeping-{engine}").splitlines():
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) == 4 and cells[0] == steps:
                found = cells
        name = f"longest main-thread task while keeping {int(steps):,} steps ({engine})"
        if not found or found[1] == "failed":
            row(name, "not measured" + (": " + found[2] if found else ""), "<= 16 ms", None, None)
            continue
        row(name, f"{float(found[1]):.1f} ms (longest of {found[3]}: {float(found[2]):.1f} ms)", "<= 16 ms", None,
            float(found[2]) <= 16)

# The Roster's folder of 1,000 characters: listed, and one event recorded in every file (wall-clock: both
# wait on the disk, the recording on a sync per file).
values = fields("bench_roster", "roster")
for label, key, target, limit in (("list a Roster folder of 1,000 characters of 200 steps, desktop", "list_ms", "< 1 s", 1000),
                                  ("record one event for 1,000 characters of 200 steps, desktop", "record_ms", "< 2 s", 2000)):
    if not values:
        row(label, "not measured", target, None, None)
        continue
    figure = float(values[key])
    detail = f" (read and checked: {float(values['check_ms']):.0f} ms)" if key == "record_ms" else ""
    row(label, f"{figure:.0f} ms{detail}", target, None, figure < limit)

# The desktop's start-up beside an empty Qt main window.
values = fields("bench_startup", "startup")
if values:
    ratio = float(values["ratio"])
    row(f"desktop start-up to a mapped window ({values.get('platform', '?')})",
        f"{float(values['calculator_ms']):.1f} ms ({ratio:.2f}x)", "<= 1.0x of an empty Qt main window",
        f"empty Qt main window: {float(values['empty_ms']):.1f} ms", ratio <= 1.0)
else:
    row("desktop start-up to a mapped window", "not measured", "<= 1.0x of an empty Qt main window", None, None)

print("| path | figure | target | reference (same run) | met? |")
print("|---|---|---|---|---|")
for r in rows:
    print("| " + " | ".join(r) + " |")
EOF
    echo
    echo "Click-to-paint figures are medians from the user's event (its timeStamp) to the end of the first"
    echo "frame that shows the result; see bench/web/bench_paths.py for how each path is driven."
} >"$raw/summary.md"

# The table on the terminal; the file has each benchmark's own output under it as well.
sed -n '/^| path/,/^$/p' "$raw/summary.md"
if [ "$out" != "-" ]; then
    {
        cat "$raw/summary.md"
        echo
        echo "## Each benchmark's output"
        for f in "$raw"/*.txt; do
            name="$(basename "$f" .txt)"
            echo
            echo "### $name"
            echo
            echo '```'
            cat "$f"
            [ -f "$raw/$name.failed" ] && { echo "(failed)"; tail -5 "$raw/$name.err"; }
            echo '```'
        done
    } >"$out"
    echo "written to $out" >&2
fi
