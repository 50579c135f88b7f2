#!/bin/sh
# Runs inside xvfb-run: starts the program (the remaining arguments), waits
# for its window titled TITLE, presses Space on the focused OK button and
# returns the program's exit code (90 when no window appeared).
title=$1
shift
env -u QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS=disabled: timeout 120 "$@" &
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
