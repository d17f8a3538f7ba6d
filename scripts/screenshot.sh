#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot.png and docs/screenshot-de.png: the window under Xvfb,
# in English and German, encoding a generated clip;
# and docs/screenshot-de-replace.png: the German window asking whether to
# replace an existing file. Run from the repository after a build:
# scripts/screenshot.sh
# The pictures show the clip's path, so it is made where a user's video would
# lie: in VIDEOS (default ~/Videos), from which the clip and what is encoded of
# it are removed again, with VIDEOS itself if this made it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages xvfb xauth xdotool imagemagick ffmpeg
videos=${VIDEOS:-$HOME/Videos}
made_videos=
[ -d "$videos" ] || { mkdir -p "$videos" && made_videos=$videos; }
for f in holiday.mp4 holiday.ogg; do
    [ ! -e "$videos/$f" ] || { echo "$videos/$f exists already; set VIDEOS to another directory" >&2; exit 1; }
done
work=$(mktemp -d)
# The window as it first starts: no settings kept from another run.
export XDG_CONFIG_HOME=$work/config
trap 'rm -rf "$work"; rm -rf "$videos/holiday.mp4" "$videos/holiday.ogg" "$videos"/.holiday.ogg.parts-* "$videos"/.holiday.ogg.chunks \
      "$videos"/.ffmpeg2theora-*; [ -z "$made_videos" ] || rmdir "$made_videos"' EXIT
ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=40 \
    -f lavfi -i sine=frequency=440:duration=40 -c:v mpeg4 -q:v 5 -c:a aac "$videos/holiday.mp4"
# shot NAME LANG BEFORE WAIT IMPORT-ARGS...: starts the window on the clip in
# language LANG under Xvfb, after the shell command BEFORE, presses the
# encode button, waits WAIT seconds and takes the screen with IMPORT-ARGS.
shot() {
    local name=$1 lang=$2 before=$3 wait=$4 grab
    shift 4
    grab=$(printf '%q ' "$@")
    cat > "$work/$name.sh" <<SHOOT
#!/usr/bin/env bash
cd "$work"
rm -rf "$videos/.holiday.ogg.chunks" # what a stopped shot kept is no part of the next
$before
# A session of its own, so that the encoder it runs is stopped with it.
setsid "$PWD/build/bin/velkoran" "$videos/holiday.mp4" &
pid=\$!
sleep 2.5
xdotool mousemove 276 446 click 1   # the encode button
sleep $wait
# The shot is as large as the window (the largest of its windows: not a box).
best=0
for id in \$(xdotool search --onlyvisible --name 'Velkoran'); do
    eval "\$(xdotool getwindowgeometry --shell "\$id")"
    if [ \$((WIDTH * HEIGHT)) -gt "\$best" ]; then best=\$((WIDTH * HEIGHT)); w=\$WIDTH; h=\$HEIGHT; fi
done
import -window root -crop "\${w}x\${h}+0+0" +repage $grab
kill -- -\$pid
wait \$pid || true
SHOOT
    chmod +x "$work/$name.sh"
    LANG=$lang xvfb-run -a -s "-screen 0 800x700x24" "$work/$name.sh"
}
shot shoot C.UTF-8 : 10 "$PWD/docs/screenshot.png"
echo "wrote docs/screenshot.png"
shot shoot-de de_DE.UTF-8 : 10 "$PWD/docs/screenshot-de.png"
echo "wrote docs/screenshot-de.png"
shot replace de_DE.UTF-8 ": > '$videos/holiday.ogg'" 1.5 -colors 64 \
    -strip "PNG8:$PWD/docs/screenshot-de-replace.png"
echo "wrote docs/screenshot-de-replace.png"
