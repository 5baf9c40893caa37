#!/usr/bin/env bash
# Regenerates the demo captures in captures/ (they are committed, so builds and CI never
# need these tools). Needs ImageMagick, espeak-ng and ffmpeg:
#   apt-get install imagemagick espeak-ng ffmpeg
set -euo pipefail
cd "$(dirname "$0")"
out=captures
rm -rf "$out"
mkdir -p "$out"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# Pictures, drawn.
convert -size 480x320 gradient:'#ff9a3c-#5b2a86' \
  -fill '#ffd56b' -draw 'circle 240,250 240,190' \
  -fill '#1d1b3a' -draw 'rectangle 0,260 480,320' \
  -alpha off -depth 8 -strip "$out/sunset.png"
convert -size 480x320 xc:white \
  -fill '#3b82f6' -draw 'rectangle 60,200 110,280' \
  -fill '#10b981' -draw 'rectangle 150,140 200,280' \
  -fill '#f59e0b' -draw 'rectangle 240,90 290,280' \
  -fill '#ef4444' -draw 'rectangle 330,40 380,280' \
  -stroke black -strokewidth 2 -draw 'line 40,280 440,280' -draw 'line 40,20 40,280' \
  -stroke none -fill black -font "$font" -pointsize 18 -annotate +150+310 'Captures per week' \
  -depth 8 -strip "$out/chart.png"
convert -size 480x320 xc:'#f8f8f2' \
  -fill none -stroke '#2563eb' -strokewidth 4 -draw 'roundrectangle 30,30 450,290 20,20' \
  -stroke none -fill '#111827' -font "$font" -pointsize 26 \
  -annotate +60+90 'Sprint plan' -pointsize 20 \
  -annotate +60+140 '1. sync every minute' \
  -annotate +60+180 '2. tags from the player' \
  -annotate +60+220 '3. export to a folder' \
  -quality 80 -strip "$out/whiteboard.jpg"

# Text clips.
printf 'Buy milk, eggs and bread.\nCall the dentist before Friday.\nPick up the parcel at the post office.\n' \
  > "$out/errands.txt"
printf 'Meeting notes, 10 December\n- Demo runs against the local emulator.\n- Voice memos play in the audio player.\n' \
  > "$out/meeting-notes.txt"
printf '床前明月光，\n疑是地上霜。\n举头望明月，\n低头思故乡。\n' > "$out/静夜思.txt"
printf '明天上午十点开会，记得带上笔记本电脑。\n' > "$out/备忘.txt"

# Voice recordings: synthesised speech, mono, low bit rates to stay small.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
espeak-ng -v en -s 150 -w "$tmp/memo.wav" "This is a voice memo recorded for the Quillory demo."
espeak-ng -v en -s 150 -w "$tmp/reminder.wav" "Reminder: water the plants on Sunday."
espeak-ng -v cmn -s 140 -w "$tmp/zh.wav" "你好，这是一段中文语音备忘。"
ffmpeg -loglevel error -y -i "$tmp/memo.wav" -ac 1 -ar 22050 -c:a libmp3lame -b:a 32k "$out/voice-memo.mp3"
ffmpeg -loglevel error -y -i "$tmp/zh.wav" -ac 1 -ar 22050 -c:a aac -b:a 32k "$out/语音备忘.m4a"
ffmpeg -loglevel error -y -i "$tmp/reminder.wav" -ac 1 -ar 22050 -c:a aac -b:a 32k -f adts "$out/reminder.aac"

ls -l "$out"
