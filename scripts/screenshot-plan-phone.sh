#!/usr/bin/env bash
# Takes docs/plan-phone.png: the page's Plan Ahead answer on a phone's screen, 360 px wide and 640 high at
# 2 device pixels to the CSS pixel, with the text at 200 %, as headless Chromium shows it. The site built
# into build-web/site (or the folder given as $1) is served from this machine; a character of three
# events plans for Level 8 with the training maxed out, and Plan is pressed, as a player would.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/install-missing.sh" chromium chromium-driver python3-selenium fonts-dejavu-core
site="${1:-$top/build-web/site}"
[ -f "$site/index.html" ] || { echo "no site at $site: scripts/build-web.sh builds it" >&2; exit 1; }

VORN_SITE="$site" /usr/bin/python3 - "$top/tests/web/browser" "$top/docs/plan-phone.png" <<'EOF'
import sys

sys.path.insert(0, sys.argv[1])
from selenium.webdriver.support.select import Select  # noqa: E402

from engines import launch  # noqa: E402
from vornpage import SiteServer  # noqa: E402

engine = launch("chromium", "en-US", (1280, 900), (360, 640))
try:
    driver = engine.driver
    engine.font_size(32, 26)  # the browser's 16 px and 13 px at 200 %
    driver.get(SiteServer.url())
    driver.execute_async_script("window.vornReady.then(arguments[arguments.length - 1]);")
    el = driver.find_element
    for button in ("cmdAddEvent", "cmdAddMaxOut", "cmdAddMaxOut"):
        el("id", button).click()
    el("id", "mnuExtras").click()
    el("id", "mnuPlan").click()
    Select(el("id", "cboPlanGoal")).select_by_visible_text("Level")
    goal = el("id", "txtPlanGoal")
    goal.clear()
    goal.send_keys("8")
    Select(el("id", "cboPlanCoin")).select_by_visible_text("Max out")
    el("id", "cmdPlan").click()
    # Drawn: the chart and the table's rows come a frame after the answer.
    driver.execute_async_script("requestAnimationFrame(() => requestAnimationFrame(arguments[arguments.length - 1]));")
    with open(sys.argv[2], "wb") as png:
        png.write(driver.get_screenshot_as_png())
finally:
    engine.quit()
EOF
echo "Written: $top/docs/plan-phone.png"
