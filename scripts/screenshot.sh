#!/usr/bin/env bash
# Takes docs/screenshot.png: the window under Xvfb, encoding a generated clip.
# Run from the repository after a build: scripts/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
ensure_packages xvfb xauth xdotool imagemagick ffmpeg
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=40 \
    -f lavfi -i sine=frequency=440:duration=40 -c:v mpeg4 -q:v 5 -c:a aac "$work/holiday.mp4"
cat > "$work/shoot.sh" <<SHOOT
#!/usr/bin/env bash
cd "$work"
"$PWD/build/bin/velkoran" "$work/holiday.mp4" &
pid=\$!
sleep 2.5
xdotool mousemove 276 446 click 1   # "Encode to Ogg Theora"
sleep 7
import -window root -crop 565x600+0+0 "$PWD/docs/screenshot.png"
kill \$pid
SHOOT
chmod +x "$work/shoot.sh"
LANG=C.UTF-8 xvfb-run -a -s "-screen 0 800x700x24" "$work/shoot.sh"
echo "wrote docs/screenshot.png"
