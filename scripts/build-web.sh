#!/usr/bin/env bash
# Installs what is missing (Debian 12: emscripten, which brings node), then builds the web page into
# build-web/site/: open build-web/site/index.html in a browser, or serve the folder from any web server.
# VORN_WEB_BUILD names another build folder; further arguments go to CMake's configure step.
set -euo pipefail

packages=(emscripten cmake nlohmann-json3-dev libgtest-dev)
# npm installs the page's own tools (src/web/package-lock.json). Node from elsewhere may bring its own npm,
# which Debian's npm package would conflict with.
command -v npm >/dev/null || packages+=(npm)
"$(dirname "$0")/install-missing.sh" "${packages[@]}"

# Debian's emscripten runs its JavaScript tools with the system node, which does not look in Debian's
# own module folder by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/${VORN_WEB_BUILD:-build-web}"
cd "$top"
emcmake cmake --preset web -B "$build" "$@"
cmake --build "$build" --parallel "$(nproc)"
echo "The web page is in $build/site/"
