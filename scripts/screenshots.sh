#!/usr/bin/env bash
# Takes every picture of the user guide again: the program itself, offscreen, against the
# simulated unit, in both languages, into docs/guide/images/en and docs/guide/images/it.
#   scripts/screenshots.sh [window...]     (no names: every window of the guide)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target zephalon_screenshots
for lang in en it; do
    QT_QPA_PLATFORM=offscreen "$build/zephalon_screenshots" --lang "$lang" \
        "$root/docs/guide/images/$lang" "$@"
done
