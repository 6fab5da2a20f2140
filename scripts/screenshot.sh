#!/usr/bin/env bash
# Shows a program on a virtual display with a window manager and saves a screenshot, so that
# a window can be looked at as a person would see it.
#   scripts/screenshot.sh OUTPUT.png SECONDS COMMAND [ARGUMENTS...]
# Needs Xvfb, openbox and ImageMagick (apt-get install xvfb openbox imagemagick).
set -euo pipefail
output=$1 wait=$2
shift 2

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@" &
program=$!
sleep "$wait"
DISPLAY=$display import -window root "$output"
kill "$program" 2>/dev/null || true
