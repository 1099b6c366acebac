#!/usr/bin/env bash
# Imports a log file with Dravolin (bench_import: read, store, visits, clean-up and
# compaction) and analyses the same file with goaccess and webalizer, then prints each
# time, peak memory and Dravolin's ratio to each peer.
#
# usage: bench/import/compare.sh LOGFILE [BUILD_DIR]
#        bench/import/compare.sh --growth SMALL_LOG BIG_LOG [BUILD_DIR]
#   The second form imports both files one after the other and prints how much the
#   time grows from the small to the big one, beside webalizer's growth and the
#   ratio of the line counts. Make files with
#   python3 tests/fixtures/genlog.py 1000000 -o 1m.log --seed 3
#   python3 tests/fixtures/genlog.py 3000000 --days 45 -o 3m.log --seed 3
# The peers are not installed here (nothing in CI runs this): apt-get install goaccess
# webalizer time.
set -euo pipefail
growth=0
if [ "${1:-}" = "--growth" ]; then
    growth=1
    shift
    small=${1:?usage: compare.sh --growth SMALL_LOG BIG_LOG [BUILD_DIR]}
    big=${2:?usage: compare.sh --growth SMALL_LOG BIG_LOG [BUILD_DIR]}
    build=${3:-build}
else
    log=${1:?usage: compare.sh LOGFILE [BUILD_DIR]}
    build=${2:-build}
fi
peers="webalizer"
[ "$growth" -eq 1 ] || peers="goaccess webalizer"
for p in $peers /usr/bin/time; do
    command -v "$p" >/dev/null || { echo "missing $p: apt-get install -y goaccess webalizer time"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall seconds, peak memory (MiB) and CPU seconds (user + system) of one command,
# from GNU time. On a loaded machine the CPU seconds are the steadier figure.
measure() {
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
    read -r secs kib user sys <"$work/time"
    echo "$secs $((kib / 1024)) $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')"
}

dravolin() {
    rm -rf "$work/home"
    measure "$build/bench/import/bench_import" "$1" "$work/home"
}

webalizer_run() {
    rm -rf "$work/wz" && mkdir -p "$work/wz"
    measure webalizer -Q -p -o "$work/wz" "$1"
}

if [ "$growth" -eq 1 ]; then
    read -r ours1 mem1 cpu1 < <(dravolin "$small")
    read -r ours2 mem2 cpu2 < <(dravolin "$big")
    read -r wz1 wzMem1 wzCpu1 < <(webalizer_run "$small")
    read -r wz2 wzMem2 wzCpu2 < <(webalizer_run "$big")
    lines1=$(wc -l <"$small")
    lines2=$(wc -l <"$big")
    printf '%-10s %10s %10s\n' "" "$(basename "$small")" "$(basename "$big")"
    printf '%-10s %8s s %8s s   peak %s / %s MiB   cpu %s / %s s\n' dravolin "$ours1" "$ours2" "$mem1" "$mem2" "$cpu1" "$cpu2"
    printf '%-10s %8s s %8s s   peak %s / %s MiB   cpu %s / %s s\n' webalizer "$wz1" "$wz2" "$wzMem1" "$wzMem2" "$wzCpu1" "$wzCpu2"
    awk -v a="$ours1" -v b="$ours2" -v c="$wz1" -v d="$wz2" -v l1="$lines1" -v l2="$lines2" \
        -v ca="$cpu1" -v cb="$cpu2" -v cc="$wzCpu1" -v cd="$wzCpu2" 'BEGIN {
        printf "lines grow %.2f times\ngrowth dravolin: %.2f (cpu %.2f)\ngrowth webalizer: %.2f (cpu %.2f)\n", l2 / l1, b / a, cb / ca, d / c, cd / cc
        printf "ratio dravolin/webalizer: %.2f and %.2f (cpu %.2f and %.2f)\n", a / c, b / d, ca / cc, cb / cd }'
    exit 0
fi

read -r ours oursMem oursCpu < <(dravolin "$log")
grep -E '^(lines|visits|total)' "$work/out" || true
read -r ga gaMem gaCpu < <(measure goaccess "$log" --log-format=COMBINED -o "$work/report.html")
read -r wz wzMem wzCpu < <(webalizer_run "$log")

printf '%-12s %8s s %6s MiB %8s s cpu\n' dravolin "$ours" "$oursMem" "$oursCpu" goaccess "$ga" "$gaMem" "$gaCpu" \
    webalizer "$wz" "$wzMem" "$wzCpu"
awk -v o="$ours" -v g="$ga" -v w="$wz" -v oc="$oursCpu" -v gc="$gaCpu" -v wc="$wzCpu" 'BEGIN {
    printf "ratio dravolin/goaccess: %.2f (cpu %.2f)\nratio dravolin/webalizer: %.2f (cpu %.2f)\n", o / g, oc / gc, o / w, oc / wc }'
