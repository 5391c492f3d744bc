#!/usr/bin/env bash
# What a user installs, checked after the tests (scripts/test.sh builds it first):
# - cmake --install into a temporary prefix lays out the program, both guides with their
#   pictures, the desktop entry, the document types and the icon; the installed program
#   finds its own guide without writing anything, and keeps running with the simulated unit;
# - the desktop entry and the description of the document types validate, and each
#   extension resolves to its type in a MIME database built from the description;
# - every <img> of both guides is a picture the screenshot tool takes, every picture it takes
#   is shown in both guides, and every window the menus open is among them.
#   scripts/package-check.sh            (BUILD_DIR overrides the build folder)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake --build "$build" --target zephalon zephalon_screenshots

export QT_QPA_PLATFORM=offscreen
export XDG_DATA_DIRS=/nonexistent # no system-wide guide or MIME type may stand in
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "package-check: $*" >&2
    failures=$((failures + 1))
}

# ---- the installation -------------------------------------------------------------------
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program="$prefix/bin/zephalon"
[ -x "$program" ] || fail "no program at bin/zephalon"
for f in share/zephalon/guide/UserGuide.htm share/zephalon/guide/GuidaUtente.htm \
    share/zephalon/guide/images/en/frmMain.png share/zephalon/guide/images/it/frmMain.png \
    share/applications/zephalon.desktop share/mime/packages/zephalon.xml; do
    [ -f "$prefix/$f" ] || fail "$f was not installed"
done
compgen -G "$prefix/share/icons/hicolor/*/apps/zephalon.*" >/dev/null ||
    fail "no icon named zephalon under share/icons/hicolor"

# The desktop entry opens the files it is given as documents, with the installed icon, and
# declares exactly the types the description names.
entry="$prefix/share/applications/zephalon.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
grep -qx 'Exec=zephalon %F' "$entry" || fail "the desktop entry does not pass files (%F)"
grep -qx 'Icon=zephalon' "$entry" || fail "the desktop entry's icon is not zephalon"
mime="$prefix/share/mime/packages/zephalon.xml"
xmllint --noout "$mime" || fail "the document types are not well-formed XML"
declared="$(sed -n 's/^MimeType=//p' "$entry" | tr ';' '\n' | grep . | sort)"
described="$(grep -o '<mime-type type="[^"]*"' "$mime" | cut -d'"' -f2 | sort)"
[ "$declared" = "$described" ] ||
    fail "the desktop entry declares [$declared], the description names [$described]"

# A MIME database built from the description alone: each extension gives its type, with a
# comment in both languages.
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
if errors="$(XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>&1 >/dev/null)" && [ -z "$errors" ]; then
    for pair in crva:curves ibob:coil mrot:rotation mant:advance; do
        ext="${pair%%:*}"
        type="application/x-zephalon-${pair#*:}"
        grep -qx "[0-9]*:$type:\*\.$ext" "$work/mime/globs2" || fail ".$ext does not give $type"
        for lang in "" ' xml:lang="it"'; do
            grep -q "<comment$lang>" "$work/mime/$type.xml" ||
                fail "$type has no comment${lang:+ in Italian}"
        done
    done
else
    fail "update-mime-database: $errors"
fi

# Started in an empty folder, the installed program names its own guide (no settings there:
# Italian) and leaves the folder as it was.
start="$work/start"
mkdir "$start"
guide="$(cd "$start" && "$program" --guide)" || fail "zephalon --guide failed"
[ "$(readlink -f "$guide")" = "$(readlink -f "$prefix/share/zephalon/guide/GuidaUtente.htm")" ] ||
    fail "the installed program's guide is '$guide'"
[ -z "$(ls -A "$start")" ] || fail "zephalon --guide wrote into its start folder: $(ls -A "$start")"

# With the simulated unit it keeps running (no box waits for an answer, nothing fails)
# until it is stopped.
status=0
(cd "$start" && timeout 3 "$program" --simulated >/dev/null 2>"$work/run.err") || status=$?
[ "$status" -eq 124 ] || fail "zephalon --simulated ended ($status): $(cat "$work/run.err")"

# ---- the guides' pictures -----------------------------------------------------------------
tool="$build/zephalon_screenshots"
listed="$("$tool" --list 2>/dev/null)"
grep -qx frmMain <<<"$listed" || fail "the screenshot tool does not take frmMain"
menus="$("$tool" --menus 2>/dev/null)" || fail "zephalon_screenshots --menus failed"
for window in $menus; do
    grep -qx "$window" <<<"$listed" || fail "$window opens from a menu but the screenshot list lacks it"
done

# A PNG's width: bytes 16..19 of its header, big-endian.
png_width() {
    od -An -tu1 -j16 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'
}

for pair in UserGuide.htm:en GuidaUtente.htm:it; do
    guide="${pair%%:*}"
    lang="${pair#*:}"
    shown=()
    while read -r tag; do
        src="$(sed -n 's/.*src="images\/\([a-z]*\)\/\([A-Za-z0-9_]*\)\.png".*/\1 \2/p' <<<"$tag")"
        [ -n "$src" ] || continue
        [ "${src% *}" = "$lang" ] || fail "$guide shows a picture of another language: $tag"
        name="${src#* }"
        if [[ "$tag" == *'class="pending"'* ]]; then
            ! grep -qx "$name" <<<"$listed" || fail "$guide: $name has a screenshot now; drop its mark"
        else
            shown+=("$name")
        fi
    done < <(tr '\n' ' ' <"$root/docs/guide/$guide" | grep -o '<img[^>]*>')
    printf '%s\n' "${shown[@]}" | grep -qx frmMain || fail "$guide does not show frmMain"
    for name in $listed; do
        printf '%s\n' "${shown[@]}" | grep -qx "$name" ||
            fail "$guide does not show the picture of $name"
    done
    # The tool takes every picture the guide shows.
    out="$work/shots-$lang"
    "$tool" --lang "$lang" "$out" "${shown[@]}" >/dev/null 2>"$work/shots.err" ||
        fail "the screenshot tool failed ($lang): $(cat "$work/shots.err")"
    for name in "${shown[@]}"; do
        if [ ! -f "$out/$name.png" ]; then
            fail "$guide shows $name but no screenshot of it was made"
        elif [ "$(png_width "$out/$name.png")" -le 100 ]; then
            fail "the screenshot of $name is $(png_width "$out/$name.png") pixels wide"
        fi
    done
done

if [ "$failures" -gt 0 ]; then
    echo "package-check: $failures failure(s)" >&2
    exit 1
fi
echo "package-check: the installation, the desktop files and the guides' pictures are in order"
