#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the nine voice prompts in this folder, a two-note chime for the welcome and
# espeak-ng's Mandarin voice for the rest, and the short chime before the trader's own reminders. Re-running it gives the same files byte for byte.
#
# Each file: ~0.3 s of silence first (audio devices often swallow the first moments),
# peak-normalised, mono, 16 kHz, 16-bit PCM (QSoundEffect decodes only 8/16-bit PCM WAV).
#
#   make-prompts.sh [output-folder]     default: the folder of this script
# Needs: espeak-ng, sox.
set -euo pipefail

out=${1:-$(cd "$(dirname "$0")" && pwd)}
for tool in espeak-ng sox; do
    command -v "$tool" >/dev/null || { echo "make-prompts: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# No dither (-D) and fixed seeds (-R): the output does not change from run to run.
format=(-R -D -c 1 -r 16000 -b 16 -e signed-integer)
lead=0.3
tail=0.15

# The voice: "cmn" alone reads Chinese as pinyin with English digits; this one speaks Mandarin.
speak() { # file text
    espeak-ng -v cmn-latn-pinyin -s 150 -p 45 -w "$tmp/raw.wav" "$2"
    # Trim espeak's own silence at both ends, then pad to a known lead-in.
    sox -R "$tmp/raw.wav" "${format[@]}" "$out/$1" \
        silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse \
        highpass 80 rate -v 16000 pad "$lead" "$tail" norm -1
}

# A soft two-note chime (E6 then C6). Each note is a sine with two quieter upper partials
# that die away sooner, like a small bell rather than a beep.
partial() { # file frequency seconds
    sox -R -n -c 1 -r 16000 -b 16 "$tmp/$1" synth "$3" sine "$2" fade l 0.005 "$3" "$3"
}
note() { # file frequency seconds
    partial p1.wav "$2" "$3"
    partial p2.wav "$(($2 * 2))" "$3"
    partial p3.wav "$(($2 * 3))" 0.5
    sox -R -m -v 0.6 "$tmp/p1.wav" -v 0.25 "$tmp/p2.wav" -v 0.1 "$tmp/p3.wav" "$tmp/$1"
}
bell() { # file
    note ding.wav 1319 0.9
    note dong.wav 1047 1.4
    sox -R -m "$tmp/ding.wav" -v 0.9 "|sox -R $tmp/dong.wav -p pad 0.35" "$tmp/chime.wav"
    sox -R "$tmp/chime.wav" "${format[@]}" "$out/$1" pad "$lead" "$tail" norm -3
}

# The reminders' chime: two quick rising notes (G5 then C6), shorter and brighter than the
# welcome, so that a reminder of the trader's own is not taken for a prompt of the day. The
# program reads the reminder's text 1 s after it starts (ReminderVoice::kChimeMs): keep it shorter.
ping() { # file
    note low.wav 784 0.3
    note high.wav 1047 0.45
    sox -R -m "$tmp/low.wav" -v 0.9 "|sox -R $tmp/high.wav -p pad 0.12" "$tmp/ping.wav"
    sox -R "$tmp/ping.wav" "${format[@]}" "$out/$1" pad "$lead" 0.05 norm -3
}

bell Tickbell.wav
ping 我的提醒.wav
speak 机构竞价.wav "机构竞价时间"
speak 上午开盘时间.wav "上午开盘时间"
speak 盘中关键时间点.wav "盘中关键时间点"
speak 5分钟后收盘.wav "五分钟后收盘"
# The program asks for this one with an upper-case extension.
speak 中午休盘时间.WAV "中午休盘时间"
speak 下午开盘时间.wav "下午开盘时间"
speak 今天已收盘.wav "今天已收盘"
speak 今天不开盘.wav "今天不开盘"

for f in Tickbell.wav 我的提醒.wav 机构竞价.wav 上午开盘时间.wav 盘中关键时间点.wav 5分钟后收盘.wav 中午休盘时间.WAV \
    下午开盘时间.wav 今天已收盘.wav 今天不开盘.wav; do
    echo "$f: $(sox --i -D "$out/$f") s"
done
