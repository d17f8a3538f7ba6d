#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build tree, as the README tells users to,
# and checks it as Debian would: lintian finds no error, it holds the programs,
# the desktop files and both manual pages, depends on ffmpeg, and its programs
# and manual pages say the project's version. Nothing is installed.
#
# Usage: check_package.sh CPACK BUILD_DIR VERSION
set -uo pipefail

cpack=$1
build_dir=$2
version=$3
app_id=org.velkoran.TheoraEncoder
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d "${TMPDIR:-/tmp}/velkoran-package.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not build the package (is everything built?)" >&2
    exit 1
fi
deb=$work/out/velkoran_${version}_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
    ls "$work/out" >&2
    echo "FAIL: no package named $(basename "$deb")" >&2
    exit 1
fi

# --- what Debian's checker says ----------------------------------------------
if ! out=$(lintian --fail-on error "$deb" 2>&1); then
    fail "lintian finds errors in the package:"$'\n'"$out"
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
         /usr/share/doc/velkoran/copyright; do
    grep -qxF "$f" <<<"$files" || fail "the package does not hold $f"
done

# --- its programs and manual pages, unpacked, say the version ---------------
root=$work/root
dpkg-deb --extract "$deb" "$root" || { fail "the package cannot be unpacked"; exit 1; }
for program in usr/bin/velkoran usr/libexec/velkoran/ffmpeg2theora; do
    name=$(basename "$program")
    first=$("$root/$program" --version 2>&1 | head -n1)
    [ "$first" = "$name (Velkoran Theora Encoder) $version" ] \
        || fail "$name --version says '$first', not version $version"
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

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the package $(basename "$deb") is complete and lintian-clean"
