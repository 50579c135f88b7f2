#!/bin/sh
# Runs inside xvfb-run: starts the program (the remaining arguments) as a
# session without a runtime folder would, with its standard error going to
# the file ERRORS, waits for its window titled TITLE, presses Space on the
# focused OK button and returns the program's exit code (90 when no window
# appeared).
#   drive-real-window.sh TITLE ERRORS PROGRAM [ARGUMENTS...]
title=$1
errors=$2
shift 2
env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS=disabled: \
  timeout 120 "$@" 2>"$errors" &
pid=$!
wid=$(timeout 60 xdotool search --sync --name "$title" | head -n 1)
if [ -z "$wid" ]; then
  kill "$pid" 2>/dev/null
  exit 90
fi
xdotool windowfocus --sync "$wid"
sleep 0.5
xdotool key space
wait "$pid"
