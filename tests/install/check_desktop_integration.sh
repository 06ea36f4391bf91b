#!/usr/bin/env bash
# check_desktop_integration.sh SCRATCH
# Checks the package unpacked into SCRATCH/root as a school's desktop meets it: the package's
# fields and files, the desktop entry, the icons, and the document types as xdg-mime finds
# them for a file manager (outside any desktop environment, through File::MimeInfo).
set -uo pipefail
scratch=$1
deb=$scratch/oplix-test.deb
root=$scratch/root
share=$root/usr/share

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = oplix-test ] || fail "package name: $(field Package)"
[ "$(field Section)" = education ] || fail "section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"
depends=$(field Depends)
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
# The libraries, the X11 platform plugin (libqt6gui6 here) and the multimedia back ends
# (libqt6multimedia6) the program loads, the skin's font and Qt's Polish texts of the dialogs.
for needed in libc6 libstdc++6 libjpeg62-turbo libgif7 libqt6core6 libqt6gui6 libqt6widgets6 \
    libqt6multimedia6 fonts-dejavu-core qt6-translations-l10n; do
    grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
if dpkg-deb -c "$deb" | grep -qi 'libqt6\|/plugins/'; then
    fail "the package carries Qt files of its own"
fi

for program in oplix-test oplix-tool; do
    [ -x "$root/usr/bin/$program" ] || fail "no usr/bin/$program"
    [ -s "$share/man/man1/$program.1" ] || fail "no manual page for $program"
done
for shipped in Zestawy/Testy.skg Listy/Szkola.sku Pomoc/index.htm; do
    [ -f "$share/oplix-test/$shipped" ] || fail "no share/oplix-test/$shipped"
done
[ ! -e "$share/oplix-test/sources" ] || fail "the readable sources of the samples are shipped"

entry=$share/applications/oplix-test.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
grep -qx 'Exec=oplix-test %f' "$entry" || fail "the entry does not pass the file to oplix-test"
grep -qx 'MimeType=application/x-oplix-test;' "$entry" || fail "the entry opens no test files"

icons=(apps/oplix-test mimetypes/application-x-oplix-test mimetypes/application-x-oplix-tests-list
    mimetypes/application-x-oplix-students-list mimetypes/application-x-oplix-result)
for size in 16 22 24 32 48 64 128 256; do
    for icon in "${icons[@]}"; do
        png=$share/icons/hicolor/${size}x${size}/$icon.png
        file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png is no $size-pixel PNG"
    done
done

# The package's MIME and desktop data alone, on a scratch copy, for a user without a desktop.
data=$scratch/desktop
home=$scratch/home
rm -rf "$data" "$home"
mkdir -p "$data" "$home"
cp -r "$share/mime" "$share/applications" "$data/"
# update-mime-database tells that a scratch folder is not where users' programs look.
update-mime-database "$data/mime" >"$scratch/mime.log" 2>&1 ||
    fail "update-mime-database refuses the MIME package: $(cat "$scratch/mime.log")"
update-desktop-database "$data/applications" || fail "update-desktop-database refuses the entry"
on_desktop() {
    env -i PATH="$PATH" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_DATA_DIRS="$data" "$@"
}
command -v mimetype >/dev/null ||
    fail "mimetype (libfile-mimeinfo-perl) is missing: xdg-mime reads no MIME database without it"

samples=$scratch/samples
mkdir -p "$samples"
test_file=$share/oplix-test/Zestawy/Przyroda/Uklad_Sloneczny.skt
cp "$test_file" "$samples/Uklad_Sloneczny.skt"
cp "$test_file" "$samples/POWTORKA.SKT"
cp "$test_file" "$samples/WYNIK.SKO"
# Told by their names alone: an empty file has nothing for the magic, and the magic of a PACK
# archive whose name tells nothing makes it a test.
: >"$samples/pusty.skt"
: >"$samples/PUSTY.SKT"
cp "$share/oplix-test/Zestawy/Testy.skg" "$share/oplix-test/Listy/Szkola.sku" "$samples/"
cp "$share/oplix-test/Listy/Szkola.sku" "$samples/SZKOLA.SKU"
while read -r name type; do
    found=$(on_desktop xdg-mime query filetype "$samples/$name" 2>&1)
    [ "$found" = "$type" ] || fail "$name: xdg-mime says '$found', not $type"
done <<'TYPES'
Uklad_Sloneczny.skt application/x-oplix-test
POWTORKA.SKT application/x-oplix-test
pusty.skt application/x-oplix-test
PUSTY.SKT application/x-oplix-test
Testy.skg application/x-oplix-tests-list
Szkola.sku application/x-oplix-students-list
SZKOLA.SKU application/x-oplix-students-list
WYNIK.SKO application/x-oplix-result
TYPES
# File::MimeInfo matches every glob without regard to case; GIO, as the file managers use it,
# honours a glob's case-sensitive flag, so it checks that the globs take capitals.
for name in Szkola.sku SZKOLA.SKU; do
    found=$(on_desktop gio info -a standard::content-type "$samples/$name" 2>&1 |
        sed -n 's/^ *standard::content-type: //p')
    [ "$found" = application/x-oplix-students-list ] || fail "$name: gio says '$found'"
done
handler=$(on_desktop xdg-mime query default application/x-oplix-test 2>&1)
[ "$handler" = oplix-test.desktop ] || fail "a test opens with '$handler', not oplix-test.desktop"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "package fields, files, desktop entry, icons and document types are as installed"
