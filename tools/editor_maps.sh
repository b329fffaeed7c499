#!/bin/sh
# Usage: editor_maps.sh PROGRAM [SETUP_DIR]
# Starts an installed editor on a private X server with nothing in its
# environment but DISPLAY (and ZAMO_CONFIG=SETUP_DIR when given), checks
# that it maps its main window within 30 seconds, and ends it.
set -eu
# The server lets any local client in, so the editor needs no XAUTHORITY.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -ac" sh -c '
  set -- "$1" "DISPLAY=$DISPLAY" ${2:+"ZAMO_CONFIG=$2"}
  program=$1
  shift
  env -i "$@" "$program" &
  editor=$!
  if window=$(timeout 30 xdotool search --sync --onlyvisible --name "^SETUP, " 2>/dev/null) &&
    kill -0 "$editor" 2>/dev/null; then
    echo "$program mapped its main window: $(xdotool getwindowname "$window")"
    status=0
  else
    echo "$program did not map its main window" >&2
    status=1
  fi
  kill "$editor" 2>/dev/null || true
  wait "$editor" 2>/dev/null || true
  exit $status
' sh "$1" "${2:-}"
