#!/usr/bin/env bash
# Builds the Debian package of a finished build folder into a temporary folder and checks it without
# installing it: the files it holds, its desktop entry and AppStream metadata, and that the program inside,
# started through a symbolic link from another folder, opens its window with no message about a missing icon;
# that the desktop knows its map files by name and by content, with their icon; and that the thumbnailer and
# --export it installs work with no display.
# usage: check_package.sh CPACK BUILD_FOLDER VERSION APP_ID WINDOW_PROBE SAMPLE_MAP_WRITER SAMPLE_TILES
set -euo pipefail
cpack=$1 build=$2 version=$3 app_id=$4 probe=$5 sample_map=$6 sample_tiles=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack did not build the package"; }
deb=$work/out/mosaicor_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/out")"

# Every file with its mode and owner; folders aside. Nothing missing, nothing extra.
expected=$(
    cat <<EOF
lrwxrwxrwx root/root ./usr/bin/mosaicor -> ../lib/mosaicor/mosaicor
-rwxr-xr-x root/root ./usr/lib/mosaicor/mosaicor
-rw-r--r-- root/root ./usr/lib/mosaicor/gridicon.png
-rw-r--r-- root/root ./usr/lib/mosaicor/layericons.png
-rw-r--r-- root/root ./usr/lib/mosaicor/mosaicor.png
-rw-r--r-- root/root ./usr/lib/mosaicor/sample-tiles.png
-rw-r--r-- root/root ./usr/lib/mosaicor/toolicons.png
-rw-r--r-- root/root ./usr/share/applications/$app_id.desktop
-rw-r--r-- root/root ./usr/share/doc/mosaicor/copyright
-rw-r--r-- root/root ./usr/share/metainfo/$app_id.metainfo.xml
-rw-r--r-- root/root ./usr/share/mime/packages/mosaicor.xml
-rw-r--r-- root/root ./usr/share/thumbnailers/mosaicor.thumbnailer
$(for s in 16 32 48 64 128 256; do echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${s}x$s/apps/mosaicor.png"; done)
$(for s in 16 32 48 64 128 256; do
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${s}x$s/mimetypes/application-x-mosaicor-map.png"
done)
EOF
)
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $3 = $4 = $5 = ""; print }' | tr -s ' ')
diff <(sort <<<"$expected") <(sort <<<"$listed") || fail "the package's files differ from the layout (< wanted, > found)"

depends=$(dpkg-deb -f "$deb" Depends)
# The off-screen platform plugin that --export and --thumbnail use is in no library's dependencies.
plugin_package=$(dpkg-query -S '*/platforms/libqoffscreen.so' | sed -n '1s/:.*//p')
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 $plugin_package; do
    grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
for s in 16 32 48 64 128 256; do
    for icon in apps/mosaicor mimetypes/application-x-mosaicor-map; do
        file -b "$root/usr/share/icons/hicolor/${s}x$s/$icon.png" | grep -q "^PNG image data, $s x $s," ||
            fail "the ${s}x$s icon $icon is not a $s by $s PNG"
    done
done
grep -q "^License: MIT" "$root/usr/share/doc/mosaicor/copyright" || fail "copyright names no MIT licence"

notes=$(desktop-file-validate "$root/usr/share/applications/$app_id.desktop" 2>&1) && [ -z "$notes" ] ||
    fail "desktop-file-validate: $notes"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli rejects the metadata"; }

# The program as a user starts it: through links (ours, then the package's own /usr/bin link) from a folder
# that holds none of its pictures. Its data folder is its own, so no recovery copy of this machine's user
# asks a question first.
mkdir "$work/elsewhere" "$work/runtime" "$work/data"
chmod 700 "$work/runtime"
ln -s "$root/usr/bin/mosaicor" "$work/elsewhere/mosaicor"
start() {
    (cd "$work/elsewhere" &&
        XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime LD_PRELOAD=$probe QT_QPA_PLATFORM=offscreen \
            timeout 30 ./mosaicor >"$work/$1.out" 2>"$work/$1.err") ||
        echo "exit status $?" >>"$work/$1.err"
}
# Succeeds when the run named $1 showed exactly the windows given, and nothing went to stderr but the one
# line Qt's off-screen platform itself prints for every new window.
showed() {
    local name=$1
    shift
    grep -vx 'This plugin does not support propagateSizeHints()' "$work/$name.err" >"$work/$name.noise" || true
    diff <(printf '%s\n' "desktop-file $app_id" "$@") "$work/$name.out" && [ ! -s "$work/$name.noise" ] ||
        { cat "$work/$name.noise"; return 1; }
}

start whole
showed whole 'window frmMain title="2D Mosaicor" icon=set' || fail "the packaged program did not open cleanly"

# The same check must notice a missing icon image: the editor then stops at its message box.
program_dir=$root/usr/lib/mosaicor
mv "$program_dir/gridicon.png" "$work/"
start no-grid-icon
showed no-grid-icon 'window frmMain title="2D Mosaicor" icon=set' >/dev/null 2>&1 &&
    fail "a missing grid icon went unnoticed"
grep -q 'window QMessageBox .*text="Error loading grid icon."' "$work/no-grid-icon.out" ||
    fail "no message box for a missing grid icon: $(cat "$work/no-grid-icon.out")"
mv "$work/gridicon.png" "$program_dir/"

# Without its application icon the window opens as usual, silently, with the desktop's default icon.
rm "$program_dir/mosaicor.png"
start no-app-icon
showed no-app-icon 'window frmMain title="2D Mosaicor" icon=none' || fail "a missing application icon was not silent"
"$(dirname "$0")/check_map_files.sh" "$root" "$sample_map" "$sample_tiles" "$work" ||
    fail "the desktop does not know the map files as it should"
echo "package $(basename "$deb") checked"
