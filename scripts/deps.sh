#!/usr/bin/env bash
# Installs the Debian 12 packages the workbench needs to build, run and test.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n librtmidi-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
          # the tests read the printed sheets' text back with pdftotext
          poppler-utils
          # scripts/package-check.sh validates the desktop entry and the document types
          desktop-file-utils shared-mime-info libxml2-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
