#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks that what lands there
# is a complete desktop program: the files are where the desktop and the
# window expect them, the desktop entry and metainfo validate and agree with
# each other, and the installed window and encoder work from another directory
# with a PATH that holds no encoder of ours.
#
# Usage: check_install.sh CMAKE BUILD_DIR
set -uo pipefail

cmake=$1
build_dir=$2
app_id=org.velkoran.TheoraEncoder
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d "${TMPDIR:-/tmp}/velkoran-install.XXXXXX") || exit 1
window_pid=
cleanup() {
    [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The window resolves its own location through symlinks, so compare against
# the resolved prefix.
prefix=$(realpath "$work")/prefix
run_dir=$work/elsewhere
runtime_dir=$work/runtime
mkdir -p "$run_dir" "$runtime_dir" && chmod 700 "$runtime_dir"

if ! "$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install $build_dir failed (is everything built?)" >&2
    exit 1
fi

# --- the tree -------------------------------------------------------------
window=$prefix/bin/velkoran
encoder=$prefix/libexec/velkoran/ffmpeg2theora
catalogue=$prefix/share/velkoran/translations/velkoran_de.qm
desktop=$prefix/share/applications/$app_id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$app_id.svg
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml

for f in "$window" "$encoder"; do
    [ -f "$f" ] && [ -x "$f" ] || fail "not installed as an executable: ${f#"$prefix"/}"
done
for f in "$catalogue" "$desktop" "$icon" "$metainfo"; do
    [ -s "$f" ] || fail "not installed or empty: ${f#"$prefix"/}"
done

# Only the window belongs on the user's PATH; no test programs, static
# libraries or headers of the build may leak into the prefix.
while IFS= read -r f; do
    fail "installed but not part of the program: ${f#"$prefix"/}"
done < <(find "$prefix" -type f \( -path "$prefix/bin/*" ! -path "$window" \
                                 -o -path "$prefix/lib*/*.a" -o -path "$prefix/include/*" \))

if [ -s "$icon" ]; then
    head -c 512 "$icon" | grep -q '<svg' || fail "icon is not an SVG image"
fi

# --- desktop entry and metainfo -------------------------------------------
if [ -s "$desktop" ]; then
    # It exits 0 even on some errors ("will be fatal in the future"), and its
    # hints point at real trouble such as a menu it cannot be placed in, so
    # anything it says counts.
    out=$(desktop-file-validate "$desktop" 2>&1)
    status=$?
    if [ "$status" -ne 0 ] || [ -n "$out" ]; then
        fail "desktop-file-validate complained about the desktop entry (status $status):"$'\n'"$out"
    fi
    entry() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
    # What the desktop starts and shows must be what was installed.
    exec_line=$(entry Exec)
    read -r exec_program exec_args <<<"$exec_line"
    [ "$exec_program" = "$(basename "$window")" ] && [ -x "$prefix/bin/$exec_program" ] \
        || fail "Exec=$exec_line does not start the installed bin/$(basename "$window")"
    # "Open With" hands over files only if the entry takes them, as local
    # paths (%F), not URLs (%U), several at once.
    [ "$exec_args" = "%F" ] || fail "Exec=$exec_line does not take the files as %F"
    [ "$(entry Icon)" = "$(basename "$icon" .svg)" ] \
        || fail "Icon=$(entry Icon) does not name the installed icon $(basename "$icon")"
    grep -Eq '^Categories=(.*;)?AudioVideo;' "$desktop" \
        || fail "the desktop entry is not in the AudioVideo menu: Categories=$(entry Categories)"
    grep -Eq '^MimeType=(.*;)?video/mp4;' "$desktop" \
        || fail "the desktop entry does not offer to open MP4 video"
fi

if [ -s "$metainfo" ]; then
    if ! out=$(appstreamcli validate --strict --no-net "$metainfo" 2>&1); then
        fail "appstreamcli, strict, rejected the metainfo:"$'\n'"$out"
    fi
    grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" \
        || fail "the metainfo does not launch the installed $(basename "$desktop")"
    grep -q "<binary>$(basename "$window")</binary>" "$metainfo" \
        || fail "the metainfo does not provide the installed binary $(basename "$window")"
    # Required by AppStream, though this appstreamcli does not ask for it.
    grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" \
        || fail "the metainfo does not name the project's license GPL-3.0-or-later"
fi

# --- the installed programs, from elsewhere, with a clean PATH -------------
clean_path=/usr/bin:/bin
if [ -e /usr/bin/ffmpeg2theora ] || [ -e /bin/ffmpeg2theora ]; then
    # Some other ffmpeg2theora is installed here; give our programs a PATH of
    # only the tools they call, so that they still have to find our own.
    mkdir "$work/tools"
    for t in ffmpeg ffprobe; do ln -s "$(command -v "$t")" "$work/tools/$t"; done
    clean_path=$work/tools
fi
clean_env=(env -i HOME="$run_dir" XDG_RUNTIME_DIR="$runtime_dir" PATH="$clean_path")

if [ -x "$window" ]; then
    cd "$run_dir" || exit 1
    "${clean_env[@]}" LANG=de_DE.UTF-8 QT_LOGGING_RULES="velkoran.startup.info=true" \
        "$window" -platform offscreen 2>"$work/window.log" >/dev/null &
    window_pid=$!
    # The two startup lines come before the window shows; give it a moment
    # more to prove it keeps running.
    for _ in $(seq 50); do
        [ "$(grep -c '^velkoran.startup: ' "$work/window.log")" -ge 2 ] && break
        kill -0 "$window_pid" 2>/dev/null || break
        sleep 0.1
    done
    sleep 0.5
    if kill -0 "$window_pid" 2>/dev/null; then
        kill "$window_pid"
        wait "$window_pid" 2>/dev/null
    else
        wait "$window_pid"
        fail "the installed window exited at start (status $?)"
    fi
    window_pid=
    logged() { sed -n "s/^velkoran.startup: $1: \"\(.*\)\"\$/\1/p" "$work/window.log"; }
    [ "$(logged catalogue)" = "$catalogue" ] \
        || fail "the installed window loaded catalogue '$(logged catalogue)', not the installed $catalogue"
    [ "$(logged encoder)" = "$encoder" ] \
        || fail "the installed window uses encoder '$(logged encoder)', not the installed $encoder"
    if [ "$failures" -gt 0 ]; then
        echo "--- window stderr:" >&2
        cat "$work/window.log" >&2
    fi
fi

if [ -x "$encoder" ]; then
    cd "$run_dir" || exit 1
    ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=12:duration=1 \
        -f lavfi -i sine=frequency=440:duration=1 -shortest -y clip.mp4 \
        || { fail "could not make a test clip with ffmpeg"; exit 1; }
    if ! "${clean_env[@]}" "$encoder" clip.mp4 -o clip.ogv >"$work/encode.log" 2>&1; then
        cat "$work/encode.log" >&2
        fail "the installed encoder failed to encode a clip"
    else
        probe=$(ffprobe -v error -show_entries stream=codec_name:format=format_name \
                    -of default=noprint_wrappers=1 clip.ogv)
        grep -qx 'format_name=ogg' <<<"$probe" || fail "encoded file is not Ogg: $probe"
        grep -qx 'codec_name=theora' <<<"$probe" || fail "encoded file has no Theora video: $probe"
        grep -qx 'codec_name=vorbis' <<<"$probe" || fail "encoded file has no Vorbis sound: $probe"
    fi
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the installed program is complete and works"
