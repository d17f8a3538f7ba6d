#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the window under the Orca screen reader on a virtual display and writes
# what Orca says, line by line, to a file: a check by ear, made by hand, not a
# test of ./test. Needs orca, speech-dispatcher, openbox, at-spi2-core, xdotool,
# dbus-x11 and Xvfb (apt-get install them first).
#
#   scripts/orca-check.sh SCENARIO [LANG] [OUT]
#
# SCENARIO: encode (a whole encode), cancel (a cancel with kept chunks, then a
# resume), queue (a queue of three files), controls (sliders, combo boxes,
# access keys, Get Duration). LANG: en (default) or de. OUT: the spoken lines
# (default build/orca-SCENARIO-LANG.txt). Each step is marked with "## step".
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
scenario=${1:-encode}
lang=${2:-en}
out=${3:-$here/build/orca-$scenario-$lang.txt}
bin=${VELKORAN_BIN:-$here/build/bin} # another build to compare with
display=:$((200 + $$ % 50))

work=$(mktemp -d)
pids=""
cleanup() {
    for p in $pids; do kill "$p" 2>/dev/null || true; done
    [ -f "$work/speechd.pid" ] && kill "$(cat "$work/speechd.pid")" 2>/dev/null || true
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# speech-dispatcher with one module that writes what it would say to the file.
mkdir -p "$work/config/speech-dispatcher/modules" "$work/run" "$work/orca" "$work/clips"
chmod 700 "$work/run"
: >"$out"
cat >"$work/config/speech-dispatcher/speechd.conf" <<EOF
AudioOutputMethod "libao"
AddModule "filelog" "sd_generic" "filelog.conf"
DefaultModule filelog
EOF
cat >"$work/config/speech-dispatcher/modules/filelog.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $out"
GenericCmdDependency "printf"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "de" "de" "utf-8"
AddVoice "en" "MALE1" "en"
AddVoice "de" "MALE1" "de"
EOF
# Orca with key echo off, so that only what the window says is written.
cat >"$work/orca/user-settings.conf" <<'EOF'
{
  "general": {"enableKeyEcho": false, "enableEchoByCharacter": false,
              "enableEchoByWord": false, "enableEchoBySentence": false,
              "enableSpeech": true, "speechServerFactory": "orca.speechdispatcherfactory",
              "enableBraille": false, "startingProfile": ["Default", "default"],
              "activeProfile": ["Default", "default"], "enableTutorialMessages": false,
              "progressBarVerbosity": 1, "messagesAreDetailed": true},
  "keybindings": {}, "pronunciations": {},
  "profiles": {"default": {"profile": ["Default", "default"], "enableKeyEcho": false,
               "enableEchoByCharacter": false, "enableEchoByWord": false,
               "enableTutorialMessages": false, "progressBarVerbosity": 1}}
}
EOF

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" DISPLAY=$display
# The reader runs in the C locale (a German one need not be installed); the
# window alone is told the language, which it reads from LANG.
export HOME="$work" LANG=C.UTF-8
window_lang=C.UTF-8
[ "$lang" = de ] && window_lang=de_DE.UTF-8

Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
pids="$pids $!"
sleep 1
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids="$pids $!"
openbox >/dev/null 2>&1 &
pids="$pids $!"
speech-dispatcher -d -t 10 -P "$work/speechd.pid" >/dev/null 2>&1 || true
sleep 1
orca -u "$work/orca" --replace ${ORCA_DEBUG:+--debug-file=$out.debug} >"$work/orca.log" 2>&1 &
pids="$pids $!"
sleep 4

# The access keys of Encode, Cancel, Resume and Get Duration in each language.
if [ "$lang" = de ]; then
    k_encode=k k_cancel=a k_resume=f k_duration=e
else
    k_encode=e k_cancel=c k_resume=r k_duration=g
fi

say() { printf '## %s\n' "$*" >>"$out"; }
key() { xdotool key --delay 150 "$@"; sleep 1.5; }
wait_spoken() { # PATTERN [SECONDS]
    n=0
    while ! grep -q -- "$1" "$out" && [ $n -lt "${2:-60}" ]; do sleep 1; n=$((n + 1)); done
}
clip() { # NAME SECONDS
    ffmpeg -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25:duration=$2" \
        -f lavfi -i "sine=frequency=440:duration=$2" -shortest -y "$work/clips/$1"
}
start_window() {
    LANG=$window_lang QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$bin/velkoran" "$@" \
        >"$work/velkoran.log" 2>&1 &
    pids="$pids $!"
    sleep 4
    wid=$(xdotool search --sync --onlyvisible --class velkoran | head -n 1)
    xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
    sleep 2
}

case $scenario in
encode)
    clip long.mkv 60
    start_window "$work/clips/long.mkv"
    say "Tab to Encode, press it"
    for i in 1 2 3 4 5 6 7 8 9 10 11; do key Tab; done
    key space
    sleep 8
    say "where am I, on Cancel"
    key KP_Enter
    wait_spoken "long.ogg" 240
    sleep 3
    say "where am I, on Encode"
    key KP_Enter
    ;;
cancel)
    clip long.mkv 240
    start_window "$work/clips/long.mkv"
    say "Encode, by its access key"
    key alt+$k_encode
    sleep 25
    say "Cancel, by its access key"
    key alt+$k_cancel
    sleep 8
    say "where am I"
    key KP_Enter
    say "Encode again: the resume question"
    key alt+$k_encode
    sleep 2
    say "Resume, by its access key"
    key alt+$k_resume
    wait_spoken "long.ogg" 400
    ;;
queue)
    clip one.mkv 10
    clip two.mkv 10
    clip three.mkv 10
    start_window "$work/clips/one.mkv" "$work/clips/two.mkv" "$work/clips/three.mkv"
    say "Encode the queue"
    key alt+$k_encode
    sleep 60
    say "end"
    ;;
controls)
    clip short.mkv 150
    start_window "$work/clips/short.mkv"
    say "Tab around the Encode page"
    for i in 1 2 3 4 5 6 7 8; do key Tab; done
    say "Audio slider: Right, End, Home"
    key Right
    key End
    key Home
    say "Audio mode box: Down, then Up"
    key shift+Tab
    key Down
    key Up
    say "Bit rate: Down on the mode box, Tab to the slider, Right"
    key Down
    key Tab
    key Right
    say "Output options page, Get Duration by its access key"
    key ctrl+Tab
    key ctrl+Tab
    key alt+$k_duration
    sleep 6
    say "where am I"
    key KP_Enter
    ;;
esac
sleep 3
say "done"
cp "$work/orca.log" "$out.orca-log" 2>/dev/null || true
cp "$work/velkoran.log" "$out.window-log" 2>/dev/null || true
echo "$out"
