#!/usr/bin/env bash
# Installs what is needed, builds the workbench and starts it in the current folder (the
# folder of the settings and data files). Without a display it runs under Xvfb.
# Arguments go to the program: scripts/run.sh --simulated starts with the simulated unit
# chosen as MIDI output and input device.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target zephalon
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    exec xvfb-run -a "$root/build/zephalon" "$@"
fi
exec "$root/build/zephalon" "$@"
