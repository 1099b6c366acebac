#!/usr/bin/env bash
# Imports a log file with Dravolin (bench_import) and analyses the same file with
# goaccess and webalizer, then prints each time and Dravolin's ratio to each peer.
#
# usage: bench/import/compare.sh LOGFILE [BUILD_DIR]
#   make a file with: python3 tests/fixtures/genlog.py 1000000 -o big.log
set -euo pipefail
log=${1:?usage: compare.sh LOGFILE [BUILD_DIR]}
build=${2:-build}
for p in goaccess webalizer time; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        [ "$(id -u)" -eq 0 ] || { echo "install the peers first: sudo apt-get install -y goaccess webalizer time"; exit 1; }
        apt-get install -y -qq "$p" >/dev/null
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall seconds and peak memory (MiB) of one command, from GNU time.
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
    read -r secs kib <"$work/time"
    echo "$secs $((kib / 1024))"
}

read -r ours oursMem < <(measure "$build/bench/import/bench_import" "$log" "$work/home")
grep -E '^(lines|visits)' "$work/out" || true
read -r ga gaMem < <(measure goaccess "$log" --log-format=COMBINED -o "$work/report.html")
mkdir -p "$work/wz"
read -r wz wzMem < <(measure webalizer -Q -p -o "$work/wz" "$log")

printf '%-12s %8s s %6s MiB\n' dravolin "$ours" "$oursMem" goaccess "$ga" "$gaMem" webalizer "$wz" "$wzMem"
awk -v o="$ours" -v g="$ga" -v w="$wz" 'BEGIN { printf "ratio dravolin/goaccess: %.2f\nratio dravolin/webalizer: %.2f\n", o / g, o / w }'
