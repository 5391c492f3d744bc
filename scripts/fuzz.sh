#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 60).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/deps.sh"
CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZEPHALON_FUZZ=ON -DZEPHALON_BENCH=OFF
targets=$(cd "$root/fuzz" && ls *_fuzz.cpp 2>/dev/null | sed 's/\.cpp$//' || true)
for t in $targets; do
    cmake --build "$root/build-fuzz" --target "$t"
    mkdir -p "$root/build-fuzz/corpus-$t"
    # The seeds kept in the repository (fuzz/seeds/<target>) start the corpus.
    seeds=()
    [ -d "$root/fuzz/seeds/$t" ] && seeds=("$root/fuzz/seeds/$t")
    "$root/build-fuzz/fuzz/$t" -max_total_time="$seconds" -print_final_stats=0 \
        "$root/build-fuzz/corpus-$t" "${seeds[@]}" 2>&1 | tail -n 3
done
echo "fuzz: all targets ran without a finding"
