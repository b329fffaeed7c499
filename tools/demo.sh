#!/bin/sh
# Installs the dependencies, builds and installs the editor, creates a demo
# site and starts the editor on it: on $DISPLAY when one is set, otherwise on
# a private Xvfb, where it saves a screenshot and prints its path.
set -eu
cd "$(dirname "$0")/.."
top=$(pwd)
sh tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cmake --install build

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' build/CMakeCache.txt)
data="$prefix/share/setup"
site="$top/demo-site"
if [ ! -f "$site/setup_ant.conf" ]; then
  "$prefix/bin/setup-site" init "$site"
fi
mkdir -p "$site/listings"

export ZAMO_CONFIG="$site"
export ZAMO_ROOT="$data"
export ZAMO_BITMAPS="$data/"
export ZAMO_APP_DEFAULTS="$data/"
export ZAMO_LISTINGS="$site/listings"
echo "Demo site: $site (listings in $ZAMO_LISTINGS)"

if [ -n "${DISPLAY:-}" ]; then
  exec "$prefix/bin/setup" "$@"
fi

# No display: run on a private X server and take a screenshot.
display=:57
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=":$(( ${display#:} + 1 ))"; done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
sleep 1
"$prefix/bin/setup" "$@" &
editor=$!
sleep 4
shot="$top/demo-screenshot.png"
import -window root "$shot"
kill "$editor" 2>/dev/null || true
echo "No DISPLAY was set: the editor ran on a private Xvfb ($display)."
echo "Screenshot of its main window: $shot"
