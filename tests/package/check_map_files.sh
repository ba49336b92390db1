#!/usr/bin/env bash
# Map files as a desktop meets them once the package is installed: their type known by name and by content
# (GIO asks a MIME database holding the package's definition, as file managers do), their icon, the desktop
# entry that opens them, and the thumbnailer and --export run as the desktop and scripts run them, with no
# display.
# usage: check_map_files.sh PACKAGE_ROOT SAMPLE_MAP_WRITER SAMPLE_TILES WORK_FOLDER
set -euo pipefail
root=$1 writer=$2 tiles=$3 work=$4/map-files
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
mkdir -p "$work"
"$writer" "$work" "$tiles" || fail "the sample map could not be written"
map=$work/sample.mqm

data=$work/share
mkdir -p "$data/mime/packages"
cp "$root/usr/share/mime/packages/mosaicor.xml" "$data/mime/packages/"
update-mime-database "$data/mime" >/dev/null 2>&1
info() { XDG_DATA_HOME=$data XDG_DATA_DIRS=$data:/usr/share gio info -a "$1" "$2" | sed -n "s/^ *$1: //p"; }
type=application/x-mosaicor-map
[ "$(info standard::content-type "$map")" = $type ] || fail "sample.mqm is not known by its name"
cp "$map" "$work/no-extension"
[ "$(info standard::content-type "$work/no-extension")" = $type ] || fail "a map is not known by its content"
# Without the self-describing tag a map file is still one.
[ "$(head -c 3 "$map" | od -An -tx1 | tr -d ' ')" = d9d9f7 ] || fail "the program no longer writes the tag"
tail -c +4 "$map" >"$work/untagged"
[ "$(info standard::content-type "$work/untagged")" = $type ] || fail "an untagged map is not known by its content"
# The name counts only within the first 32 bytes.
{ head -c 21 /dev/zero | tr '\0' x; printf 'mosaicor-map'; } >"$work/late"
[ "$(info standard::content-type "$work/late")" != $type ] || fail "a file with the name past byte 32 is a map"
info standard::icon "$map" | grep -q "application-x-mosaicor-map" || fail "the map type names no icon of its own"

desktop=$(ls "$root"/usr/share/applications/*.desktop)
grep -qx 'Exec=mosaicor %f' "$desktop" || fail "the desktop entry does not take a file"
grep -qx "MimeType=$type;" "$desktop" || fail "the desktop entry does not name the map type"

# The thumbnailer's own command line, as a file manager fills it in, with no display and the package's
# program first on the path.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/thumbnailers/mosaicor.thumbnailer")
grep -qx "MimeType=$type;" "$root/usr/share/thumbnailers/mosaicor.thumbnailer" || fail "the thumbnailer names no type"
command=${exec_line//%i/$map}
command=${command//%o/$work/thumbnail.png}
command=${command//%s/128}
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$root/usr/bin:$PATH" timeout 30 "$@"; }
# shellcheck disable=SC2086 # the command is split into words as the desktop splits it
headless $command >/dev/null || fail "the thumbnailer failed"
file -b "$work/thumbnail.png" | grep -q "^PNG image data, 128 x 128," ||
    fail "the thumbnail is not a 128 x 128 PNG: $(file -b "$work/thumbnail.png")"
lines=$(headless mosaicor --export "$map" "$work/sample.tmx" "$map" "$work/sample.png") || fail "--export failed"
[ "$(wc -l <<<"$lines")" = 2 ] || fail "--export said: $lines"
file -b "$work/sample.png" | grep -q "^PNG image data, 512 x 512," || fail "the exported picture is not whole"
