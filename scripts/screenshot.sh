#!/usr/bin/env bash
# Takes docs/screenshot.png: the window under Xvfb, encoding a generated clip;
# and docs/screenshot-de-replace.png: the German window asking whether to
# replace an existing file. Run from the repository after a build:
# scripts/screenshot.sh
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
cat > "$work/replace.sh" <<SHOOT
#!/usr/bin/env bash
cd "$work"
: > "$work/holiday.ogg"
"$PWD/build/bin/velkoran" "$work/holiday.mp4" &
pid=\$!
sleep 2.5
xdotool mousemove 276 446 click 1   # "In Ogg Theora kodieren"
sleep 1.5
import -window root -crop 562x578+0+0 +repage -colors 64 -strip "PNG8:$PWD/docs/screenshot-de-replace.png"
kill \$pid
SHOOT
chmod +x "$work/shoot.sh" "$work/replace.sh"
LANG=C.UTF-8 xvfb-run -a -s "-screen 0 800x700x24" "$work/shoot.sh"
echo "wrote docs/screenshot.png"
LANG=de_DE.UTF-8 xvfb-run -a -s "-screen 0 800x700x24" "$work/replace.sh"
echo "wrote docs/screenshot-de-replace.png"
