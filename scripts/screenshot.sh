#!/usr/bin/env bash
# Takes docs/screenshot.png and docs/screenshot-de.png: the window under Xvfb,
# in English and German, encoding a generated clip; and
# docs/screenshot-de-replace.png: the German window asking whether to replace
# an existing file. The clip lies in /home/alice/Videos, a directory of a
# private mount namespace, so that no temporary path shows (where namespaces
# are not allowed, the temporary directory shows instead). Run from the
# repository after a build: scripts/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages xvfb xauth xdotool imagemagick ffmpeg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=40 \
    -f lavfi -i sine=frequency=440:duration=40 -c:v mpeg4 -q:v 5 -c:a aac "$work/holiday.mp4"
videos=/home/alice/Videos
private="unshare --map-root-user --mount"
if ! $private true 2>/dev/null; then
    videos=$work
    private=
fi
# shot NAME LANG BEFORE WAIT IMPORT-ARGS...: starts the window on the clip in
# language LANG under Xvfb, after the shell command BEFORE, presses the
# encode button, waits WAIT seconds and takes the screen with IMPORT-ARGS.
shot() {
    local name=$1 lang=$2 before=$3 wait=$4 grab
    shift 4
    grab=$(printf '%q ' "$@")
    cat > "$work/$name.sh" <<SHOOT
#!/usr/bin/env bash
if [ "$videos" != "$work" ]; then
    mount -t tmpfs none /home && mkdir -p "$videos" && cp "$work/holiday.mp4" "$videos/"
fi
cd "$videos"
$before
"$PWD/build/bin/velkoran" "$videos/holiday.mp4" &
pid=\$!
sleep 2.5
xdotool mousemove 276 446 click 1   # the encode button
sleep $wait
import -window root $grab
kill \$pid
SHOOT
    chmod +x "$work/$name.sh"
    LANG=$lang $private xvfb-run -a -s "-screen 0 800x700x24" "$work/$name.sh"
}
shot shoot C.UTF-8 : 7 -crop 565x600+0+0 "$PWD/docs/screenshot.png"
echo "wrote docs/screenshot.png"
shot shoot-de de_DE.UTF-8 : 7 -crop 565x600+0+0 "$PWD/docs/screenshot-de.png"
echo "wrote docs/screenshot-de.png"
shot replace de_DE.UTF-8 ": > '$videos/holiday.ogg'" 1.5 -crop 562x578+0+0 +repage -colors 64 \
    -strip "PNG8:$PWD/docs/screenshot-de-replace.png"
echo "wrote docs/screenshot-de-replace.png"
