#!/usr/bin/env bash
# Walks the main road on screen, as the main-road test walks it, under Xvfb with a
# window manager, and leaves its pictures in docs/ (or in the folder given): the main
# window with a report, the addition dialog, the summary per search engine, a plot and
# the help window.
cd "$(dirname "$0")/.."
. scripts/prepare.sh
PACKAGES+=(openbox)
install_packages
build
out=$(realpath "${1:-docs}")
mkdir -p "$out"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display openbox &
wm=$!
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb DRAVOLIN_PICTURES=$out \
    "${BUILD_DIR:-build}/tests/app/app_tests" --gtest_filter='MainRoad.*'
