#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz (clang; the core is instrumented too, so the
# fuzzer is guided by the parsers' own branches) and runs every fuzz/<target>.cpp for the
# given seconds (default 60), starting from its seeds in fuzz/seeds/<target>/ and with
# fuzz/<target>.dict when there is one. New inputs collect in build-fuzz/corpus/<target>/,
# findings in build-fuzz/findings/<target>/. Each target's coverage ("cov:", the edges the
# run reached) is printed and written to build-fuzz/coverage.txt.
#
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="$root/build-fuzz"
"$root/scripts/deps.sh"

# Configure once; later builds are incremental (ninja re-runs the configuration itself when
# a CMake file or the list of fuzz sources changed).
if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZEPHALON_FUZZ=ON "${launcher[@]}"
fi
cmake --build "$build" -j2

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for src in "$root"/fuzz/*_fuzz.cpp; do
        [ -e "$src" ] && targets+=("$(basename "$src" .cpp)")
    done
fi

report="$build/coverage.txt"
: >"$report"
failed=()
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    mkdir -p "$corpus" "$findings"
    dirs=("$corpus")
    [ -d "$root/fuzz/seeds/$t" ] && dirs+=("$root/fuzz/seeds/$t")
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/")
    [ -f "$root/fuzz/$t.dict" ] && options+=(-dict="$root/fuzz/$t.dict")
    log="$build/$t.log"
    status=0
    "$build/fuzz/$t" "${options[@]}" "${dirs[@]}" >"$log" 2>&1 || status=$?
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | awk '{print $2}' || true)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | awk '{print $2}' || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1 || true)
    line=$(printf '%-22s cov: %-6s ft: %-7s runs: %s' "$t" "${cov:-?}" "${ft:-?}" "${runs:-?}")
    if [ "$status" -ne 0 ]; then
        line="$line  FAILED (see $log and $findings)"
        failed+=("$t")
        tail -n 30 "$log"
    fi
    echo "$line" | tee -a "$report"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: findings in ${failed[*]}"
    exit 1
fi
echo "fuzz: ${#targets[@]} targets ran without a finding (coverage in $report)"
