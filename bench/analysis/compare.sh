#!/usr/bin/env bash
# Imports a log once into a kept site (bench_import), then times the analyses of four
# reports on it (bench_analysis) and goaccess's whole run on the same file, and prints
# each analysis as a fraction of goaccess's time.
#
# usage: bench/analysis/compare.sh LOGFILE [BUILD_DIR] [SITE_FOLDER]
#   make a file with: python3 tests/fixtures/genlog.py 1000000 -o big.log
#   KEEP_NON_SE=1 makes the site keep the visits that came from no search engine.
set -euo pipefail
log=${1:?usage: compare.sh LOGFILE [BUILD_DIR] [SITE_FOLDER]}
build=${2:-build}
site=${3:-$log.site}
if ! dpkg-query -W -f='${Status}' goaccess 2>/dev/null | grep -q "install ok installed"; then
    [ "$(id -u)" -eq 0 ] || { echo "install the peer first: sudo apt-get install -y goaccess"; exit 1; }
    apt-get install -y -qq goaccess >/dev/null
fi
[ -d "$site" ] || "$build/bench/import/bench_import" "$log" "$site" >/dev/null

out=$("$build/bench/analysis/bench_analysis" "$site")
echo "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$(date +%s.%N)
goaccess "$log" --log-format=COMBINED -o "$work/report.html" >/dev/null 2>&1
ga=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
echo "goaccess whole run: $ga s"
echo "$out" | awk -v g="$ga" '/^analysis/ { printf "%-40s %.3f of goaccess\n", $0, $(NF-6) / g }'
