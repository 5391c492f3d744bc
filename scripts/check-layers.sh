#!/usr/bin/env bash
# Fails on an include that points up the layers, or from one window into another.
# Folders in order, lowest first; a file may include its own folder and those before it.
# Within a folder, core (*.cpp/*.h at its top) includes neither backends/ nor ui/.
# A window (src/*/ui/frm*) includes no other window's header: frmXParts.cpp may include
# frmX.h (its own class), and every window may show the shared dialogs of auxiliary/ui
# (progress, notice); only the shell puts windows together.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(base timing transport protocol auxiliary unit panel curve coil measure shell)
rank() {
    local i
    for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}
status=0
while IFS= read -r file; do
    folder=${file#src/}; folder=${folder%%/*}
    own=$(rank "$folder")
    if [ "$own" -lt 0 ]; then
        echo "$file: folder '$folder' is not in the layer order"; status=1; continue
    fi
    sub=${file#src/$folder/}; sub=${sub%%/*}; [ "$sub" = "${file##*/}" ] && sub=core
    name=${file##*/}; name=${name%.*}
    while IFS= read -r inc; do
        target=${inc%%/*}
        [ "$target" = "$inc" ] && continue # a header of the same folder level or a resource
        r=$(rank "$target")
        [ "$r" -lt 0 ] && continue
        if [ "$r" -gt "$own" ]; then
            echo "$file: includes $inc ($target is above $folder)"; status=1
        fi
        rest=${inc#$target/}; part=${rest%%/*}
        if [ "$sub" = core ] && { [ "$part" = ui ] || [ "$part" = backends ]; } && [ "$rest" != "${rest#*/}" ]; then
            echo "$file: core includes $inc"; status=1
        fi
        header=${inc##*/}; header=${header%.h}
        if [ "$folder" != shell ] && [ "$target" != auxiliary ] && [ "$sub" = ui ] &&
            [[ $name == frm* ]] && [[ $header == frm* ]] && [[ $name != "$header"* ]] &&
            grep -q 'public \(ChildWindow\|QDialog\|QMainWindow\)' "src/$inc"; then
            echo "$file: window includes another window, $inc"; status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'src/*.h' 'src/*.cpp')
[ "$status" = 0 ] && echo "layers: every include points down"
exit "$status"
