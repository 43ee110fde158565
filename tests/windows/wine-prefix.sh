#!/bin/sh
# Sets up Wine's prefix ($WINEPREFIX) for the Windows suites: wine-prefix.sh WINE.
# A first start of Wine on a new machine now and then fails half-way ("could not load kernel32.dll,
# status c0000135") and passes when run again. So the prefix counts as ready only once Wine's server has
# finished with it and a Windows program has run in it; if not, it is made once more from nothing.
wine="$1"
server="$(dirname "$wine")/wineserver"
[ -x "$server" ] || server=wineserver

boot() {
    "$wine" wineboot --init || return 1
    # wineboot returns while the server is still writing the prefix; the suites must not start before it ends.
    "$server" -w || return 1
    # A program of Windows' own, to show that the prefix starts one.
    "$wine" cmd /c exit 7
    [ $? -eq 7 ]
}

boot && exit 0
echo "Wine's first start in $WINEPREFIX failed; starting it once more in a new prefix."
"$server" -k 2>/dev/null
rm -rf "$WINEPREFIX"
if boot; then
    echo "Wine's second start succeeded."
    exit 0
fi
echo "Wine's second start failed too: the Windows suites cannot run." >&2
exit 1
