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
    logged() { sed -n "s/^velkoran.startup: $1: \"\([^\"]*\)\".*/\1/p" "$work/window.log"; }
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

# --- the manual pages say what the programs do --------------------------------
# FILES names what the encoder really leaves beside an output, EXIT STATUS the
# statuses the programs really end with, COPYRIGHT what --version says, and
# the window's page every option its --help lists.
man_section() { # PAGE SECTION: the section's text as man shows it, 200 wide
    LANG=C MANWIDTH=200 man -l "$prefix/share/man/man1/$1.1.gz" 2>/dev/null |
        sed -n "/^$2\$/,/^[A-Z]/p" | sed '1d;$d'
}
lists_status() { grep -Eq "^ +$2( |\$)" <<<"$(man_section "$1" "EXIT STATUS")"; }
if [ -x "$encoder" ] && [ -x "$window" ]; then
    cd "$run_dir" || exit 1
    for page in velkoran ffmpeg2theora; do
        program=$window
        [ "$page" = ffmpeg2theora ] && program=$encoder
        # man joins what it fills; the lines of --version stay lines.
        [ "$(man_section "$page" COPYRIGHT | sed 's/^ *//')" = "$("$program" --version | tail -n +2)" ] \
            || fail "$page(1) COPYRIGHT is not what $page --version says:"$'\n'"$(man_section "$page" COPYRIGHT)"
    done
    "${clean_env[@]}" "$window" --no-such-option >/dev/null 2>&1
    status=$?
    [ "$status" -ne 0 ] && lists_status velkoran "$status" \
        || fail "velkoran(1) EXIT STATUS does not list $status, the status of an unknown option"
    "${clean_env[@]}" "$window" --help >"$work/help.txt" 2>&1 || fail "velkoran --help fails without a display"
    for option in $(grep -Eo -- '(^| )--?[a-z][a-z-]*' "$work/help.txt" | sort -u); do
        man_section velkoran OPTIONS | grep -q -- "$option" \
            || man_section velkoran SYNOPSIS | grep -q -- "$option" \
            || fail "velkoran(1) does not describe $option, which velkoran --help lists"
    done
    "${clean_env[@]}" "$encoder" --no-such-option >/dev/null 2>&1
    status=$?
    [ "$status" -ne 0 ] && lists_status ffmpeg2theora "$status" \
        || fail "ffmpeg2theora(1) EXIT STATUS does not list $status, the status of a bad command line"
    # An encode in chunks, stopped once the manifest lists a chunk: its
    # ffmpegs read at the clip's own pace, so that the sound is surely still
    # being encoded then.
    mkdir "$run_dir/stop" && cd "$run_dir/stop" || exit 1
    ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=25:duration=6 -f lavfi \
        -i sine=duration=6 -c:v mpeg4 -g 12 -c:a pcm_s16le -y long.mkv \
        || fail "could not make a test clip with ffmpeg"
    printf '#!/bin/sh\nexec ffmpeg -re "$@"\n' >slow-ffmpeg && chmod +x slow-ffmpeg
    "${clean_env[@]}" FFMPEG2THEORA_PARALLEL=2 FFMPEG2THEORA_FFMPEG="$PWD/slow-ffmpeg" \
        "$encoder" long.mkv -o stopped.ogv --keyint 8 2>"$work/stop.log" &
    encoder_pid=$!
    for _ in $(seq 600); do
        tr -d ' \n' 2>/dev/null <.stopped.ogv.chunks/manifest | grep -q '"chunks":\[{' && break
        kill -0 "$encoder_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -TERM "$encoder_pid" 2>/dev/null
    wait "$encoder_pid"
    status=$?
    [ "$status" -eq $((128 + 15)) ] && lists_status ffmpeg2theora '128 \+ N' \
        || fail "ffmpeg2theora(1) EXIT STATUS does not describe $status, the status after SIGTERM"
    files=$(man_section ffmpeg2theora FILES)
    beside=$(find . -mindepth 1 -maxdepth 1 -name '.*' | sed 's|^\./||')
    [ -f .stopped.ogv.chunks/manifest ] && beside+=" manifest"
    [ -n "$beside" ] || fail "a stopped encode kept nothing beside its output:"$'\n'"$(cat "$work/stop.log")"
    for name in $beside; do
        name=${name//stopped.ogv/NAME}
        grep -qF -- "$name" <<<"$files" \
            || fail "ffmpeg2theora(1) FILES does not name $name, which a stopped encode keeps"
    done
    grep -q '\.parts-' <<<"$(man_section ffmpeg2theora FILES | grep -v TMPDIR)" \
        && fail "ffmpeg2theora(1) FILES still names a .parts- directory beside the output"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the installed program is complete and works"
