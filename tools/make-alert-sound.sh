#!/bin/sh
# Makes the alert sound, resources/alert_bells.wav: two strikes of a small bell, about 1.7 s,
# 16 kHz mono, 16-bit. Needs sox. Run by hand when the sound changes; the output is committed.
#
#   tools/make-alert-sound.sh [output.wav]
set -eu

out=${1:-"$(dirname "$0")/../resources/alert_bells.wav"}
command -v sox >/dev/null 2>&1 || { echo "sox is needed (apt-get install sox)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
rate=16000

# One strike: the inharmonic partials of a small bell, each louder and longer-lived the lower it
# is; a logarithmic fade gives the struck-metal decay.
strike() { # name fundamental-Hz length-s delay-s
    name=$1 fundamental=$2 length=$3 delay=$4
    parts=""
    i=0
    # ratio to the fundamental, volume, share of the strike's length (all below 8 kHz)
    for partial in "1.00 1.00 1.00" "2.00 0.55 0.75" "2.76 0.40 0.55" "5.40 0.20 0.30"; do
        set -- $partial
        f=$(awk -v a="$fundamental" -v r="$1" 'BEGIN { printf "%.1f", a * r }')
        d=$(awk -v a="$length" -v r="$3" 'BEGIN { printf "%.3f", a * r }')
        sox -D -n -r $rate -c 1 -b 16 "$tmp/$name$i.wav" synth "$d" sine "$f" \
            fade l 0.003 "$d" "$d" vol "$2" pad 0 "$(awk -v a="$length" -v b="$d" \
            'BEGIN { printf "%.3f", a - b }')"
        parts="$parts $tmp/$name$i.wav"
        i=$((i + 1))
    done
    # shellcheck disable=SC2086
    sox -D -m $parts "$tmp/$name.wav" pad "$delay" 0
}

strike high 1318.5 1.2 0.0
strike low 987.8 1.3 0.38

sox -D -m "$tmp/high.wav" "$tmp/low.wav" -r $rate -c 1 -b 16 "$out" gain -n -3
echo "wrote $out ($(wc -c <"$out") bytes)"
