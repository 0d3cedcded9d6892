#!/usr/bin/env bash
# debian_package_test.sh CPACK BUILD_DIR VERSION DICTIONARY_PACKAGE: builds the .deb as `cpack -G DEB` does in
# that build, into a folder of its own, and checks its fields and files. It never installs the package.
set -euo pipefail
cpack=$1 build=$2 version=$3 dictionary=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "$*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(echo "$out"/lirobel_"$version"_*.deb)
[ -f "$deb" ] || fail "no lirobel_${version}_*.deb: $(ls "$out")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = lirobel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = sound ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"
# A summary line, then the long description as one paragraph: no list separator of CMake in it.
description=$(field Description)
[ "$(head -n1 <<<"$description")" = "prepares song lyrics for a singing synthesiser" ] || fail "Description: $description"
if grep -q ';' <<<"$description" || ! grep -q 'lirobel-cli\.$' <<<"$description"; then
    fail "Description: $description"
fi

# What dpkg-shlibdeps finds, and the data and plugins the programs need at run time.
depends=$(field Depends)
for package in libc6 libqt6core6 libqt6widgets6 libmecab2 libopencc1.1 libsqlite3-0 libbz2-1.0 libzip4 "$dictionary" \
    pinyin-database unicode-data libopencc-data qt6-qpa-plugins libqt6svg6 fonts-wqy-microhei qt6-translations-l10n; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# Under /usr, where Debian's triggers find the desktop entry, icon, file type and manual page.
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/lirobel ./usr/bin/lirobel-cli ./usr/share/applications/org.lirobel.Lirobel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.lirobel.Lirobel.svg ./usr/share/mime/packages/org.lirobel.Lirobel.xml \
    ./usr/share/metainfo/org.lirobel.Lirobel.metainfo.xml ./usr/share/man/man1/lirobel-cli.1.gz \
    ./usr/share/doc/lirobel/README.md ./usr/share/doc/lirobel/COPYING ./usr/share/doc/lirobel/copyright \
    ./usr/share/doc/lirobel/docs/writer.png; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
# Debian's machine-readable copyright file, naming the project's licence.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/lirobel/copyright >"$out/copyright"
head -n1 "$out/copyright" | grep -qF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'License: GPL-3.0-or-later' "$out/copyright" || fail "the copyright file does not name GPL-3.0-or-later"
# Nothing of the build or the tests comes along.
if grep -v '^\./usr/\(bin/lirobel\(-cli\)\?\|share/.*\)$' <<<"$contents" | grep -v '/$'; then
    fail "files outside the expected places"
fi
echo "$deb: $depends"
