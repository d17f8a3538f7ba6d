#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as ./package does (dpkg-buildpackage from
# debian/) and checks it as Debian would: lintian --pedantic finds nothing
# above an informational tag, the debug symbols come in a -dbgsym package, it
# holds the programs, the desktop files and both manual pages, depends on
# ffmpeg, its programs and manual pages say the project's version, and a
# second build, in another directory, at another time and in another time
# zone, gives byte-identical packages. Nothing is installed.
#
# Usage: check_package.sh SOURCE_DIR VERSION
set -uo pipefail

source_dir=$1
version=$2
app_id=org.velkoran.TheoraEncoder
arch=$(dpkg --print-architecture)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d "${TMPDIR:-/tmp}/velkoran-package.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
cd "$source_dir" || exit 1
source scripts/common.sh

# Two real builds: a compiler cache would hand the second what the first
# compiled, and one that matches across directories rewrites the paths the
# compiler is given, so either way it would hide what is to be seen.

# build DIR: the package built in a copy of the sources below DIR.
build() {
    if ! build_debian_package "$1" >"$1.log" 2>&1; then
        tail -n 60 "$1.log" >&2
        echo "FAIL: dpkg-buildpackage could not build the package (see above)" >&2
        exit 1
    fi
}
first=$work/first
build "$first"
deb=$first/velkoran_${version}_${arch}.deb
dbgsym=$first/velkoran-dbgsym_${version}_${arch}.deb
for f in "$deb" "$dbgsym"; do
    [ -f "$f" ] || { ls "$first" >&2; echo "FAIL: no package named $(basename "$f")" >&2; exit 1; }
done

# --- what Debian's checker says ----------------------------------------------
if ! out=$(lintian --pedantic --fail-on error,warning,pedantic "$first"/velkoran_${version}_${arch}.changes 2>&1); then
    fail "lintian --pedantic tags the package:"$'\n'"$out"
fi

# --- its control fields ------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "the package has version '$(field Version)', not $version"
# ffmpeg is run, not linked, so only the package can ask for it.
grep -Eq '(^|, )ffmpeg($|[ ,])' <<<"$(field Depends)" \
    || fail "the package does not depend on ffmpeg: Depends: $(field Depends)"
grep -Eq '(^|, )libqt6widgets6($|[ ,])' <<<"$(field Depends)" \
    || fail "the package's dependencies were not computed from its binaries: Depends: $(field Depends)"
grep -Eq '(^|, )qt6-translations-l10n($|[ ,])' <<<"$(field Recommends)" \
    || fail "the package does not recommend qt6-translations-l10n: Recommends: $(field Recommends)"

# --- its files -----------------------------------------------------------------
files=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|')
for f in /usr/bin/velkoran /usr/libexec/velkoran/ffmpeg2theora \
         /usr/share/velkoran/translations/velkoran_de.qm \
         /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         /usr/share/man/man1/velkoran.1.gz /usr/share/man/man1/ffmpeg2theora.1.gz \
         /usr/share/doc/velkoran/copyright /usr/share/doc/velkoran/changelog.gz; do
    grep -qxF "$f" <<<"$files" || fail "the package does not hold $f"
done
# The debug information lies in the -dbgsym package, one file per program.
[ "$(dpkg-deb --contents "$dbgsym" | grep -c '/\.build-id/.*\.debug$')" -eq 2 ] \
    || fail "the -dbgsym package does not hold the debug information of both programs"

# --- its programs and manual pages, unpacked, say the version ---------------
root=$work/root
dpkg-deb --extract "$deb" "$root" || { fail "the package cannot be unpacked"; exit 1; }
for program in usr/bin/velkoran usr/libexec/velkoran/ffmpeg2theora; do
    name=$(basename "$program")
    first_line=$("$root/$program" --version 2>&1 | head -n1)
    [ "$first_line" = "$name (Velkoran Theora Encoder) $version" ] \
        || fail "$name --version says '$first_line', not version $version"
done
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metainfo names no release $version"

# man -l renders each page without a complaint from the formatter, with the
# sections a reader looks for. (The encoder's options come in groups of their
# own, as --help has them, so only the window's page has an OPTIONS heading.)
for page in velkoran ffmpeg2theora; do
    file=$root/usr/share/man/man1/$page.1.gz
    [ -f "$file" ] || continue
    if ! text=$(MANWIDTH=80 man --warnings -l "$file" 2>"$work/man.err"); then
        fail "man -l cannot render $page(1)"
        continue
    fi
    [ -s "$work/man.err" ] && fail "man -l warns about $page(1):"$'\n'"$(cat "$work/man.err")"
    for section in NAME SYNOPSIS ENVIRONMENT "EXIT STATUS" FILES EXAMPLES; do
        grep -qx "$section" <<<"$text" || fail "$page(1) has no $section section"
    done
    grep -q "$version" <<<"$text" || fail "$page(1) does not name version $version"
    grep -q -- "--version" <<<"$text" || fail "$page(1) does not describe --version"
done
# Every variable the encoder's --help names is listed in the page's ENVIRONMENT.
environment=$(MANWIDTH=80 man -l "$root/usr/share/man/man1/ffmpeg2theora.1.gz" 2>/dev/null \
                  | sed -n '/^ENVIRONMENT$/,/^[A-Z]/p')
for variable in $("$root/usr/libexec/velkoran/ffmpeg2theora" --help | grep -o 'FFMPEG2THEORA_[A-Z_]*' | sort -u); do
    grep -q "$variable" <<<"$environment" || fail "ffmpeg2theora(1) does not list $variable under ENVIRONMENT"
done

# --- a second build, elsewhere and later, is the same to the byte -----------
second=$work/another-directory-for-the-second-build
TZ=Pacific/Kiritimati build "$second"
for f in "$deb" "$dbgsym"; do
    other=$second/$(basename "$f")
    if ! cmp -s "$f" "$other"; then
        why="(install diffoscope-minimal to see why)"
        command -v diffoscope >/dev/null && why=$(diffoscope --text - "$f" "$other" 2>&1 | head -n 80)
        fail "two builds of the same sources give different $(basename "$f"):"$'\n'"$why"
    fi
done

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the package $(basename "$deb") is complete, lintian-clean and reproducible"
