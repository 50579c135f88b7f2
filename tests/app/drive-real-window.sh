#!/bin/sh
# Runs inside xvfb-run: starts the program (the remaining arguments) as a
# session without a runtime folder would, with its standard error going to
# the file ERRORS, and plays STEPS like a user: "TITLE=KEYS" steps separated
# by "|", each waiting for the window titled TITLE, focusing it and pressing
# KEYS (xdotool key names separated by blanks). Returns the program's exit
# code (90 when a window did not appear).
#   drive-real-window.sh ERRORS STEPS PROGRAM [ARGUMENTS...]
errors=$1
steps=$2
shift 2
env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS=disabled: \
  timeout 120 "$@" 2>"$errors" &
pid=$!
set -f
IFS='|'
for step in $steps; do
  wid=$(timeout 60 xdotool search --sync --name "${step%%=*}" | head -n 1)
  if [ -z "$wid" ]; then
    kill "$pid" 2>/dev/null
    exit 90
  fi
  xdotool windowfocus --sync "$wid"
  sleep 0.5
  IFS=' '
  # shellcheck disable=SC2086 # the keys are separate arguments
  xdotool key ${step#*=}
  IFS='|'
done
wait "$pid"
