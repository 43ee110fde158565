#!/usr/bin/env bash
# Installs what is missing (Debian 12: emscripten, which brings node), then builds the web page into
# build-web/site/: open build-web/site/index.html in a browser, or serve the folder from any web server.
# VORN_WEB_BUILD names another build folder; further arguments go to CMake's configure step.
set -euo pipefail

packages=(emscripten cmake nlohmann-json3-dev libgtest-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's emscripten runs its JavaScript tools with the system node, which does not look in Debian's
# own module folder by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/${VORN_WEB_BUILD:-build-web}"
emcmake cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=MinSizeRel "$@"
cmake --build "$build" --parallel "$(nproc)"
echo "The web page is in $build/site/"
