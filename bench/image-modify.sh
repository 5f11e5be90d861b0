#!/usr/bin/env bash
# The image modification job beside its peers, in one run, on COUNT photos of
# 1920 x 1080 (default 200), every tool writing over a fresh copy:
#   scale      scale 50 % -> JPEG q 75
#   scale-text a text watermark at the bottom right, then scale 50 % -> JPEG
#   tiff       JPEG -> TIFF, every tool told to write LZW (the page's own
#              lossless choice; left to their defaults, mogrify writes no
#              compression and gm lossy JPEG-in-TIFF); tiffinfo shows what each
#              wrote (the page converts to BMP, JPG, GIF, TIFF)
#   gif        JPEG -> GIF (a palette fitted to each image)
#   logo       a 200 x 80 PNG logo at the top left -> JPEG q 75
# Peers: ImageMagick's mogrify (plain and with the -define jpeg:size= hint),
# GraphicsMagick's gm mogrify (plain and with -size), libvips (vipsthumbnail,
# vips). Every tool runs pinned to the first processor (taskset -c 0), as the
# program pins itself there. Prints images/s, CPU seconds and peak memory
# (/usr/bin/time) for each, and each peer's time over ours.
#
#   bench/image-modify.sh [COUNT]        (as root it installs what it needs)
# BUILD_DIR chooses the build folder (default: build-bench beside the sources).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
count=${1:-200}
build=${BUILD_DIR:-$root/build-bench}

need=()
for pair in mogrify:imagemagick gm:graphicsmagick vipsthumbnail:libvips-tools tiffinfo:libtiff-tools \
    taskset:util-linux bc:bc; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
done
[[ -x /usr/bin/time ]] || need+=(time)
if ((${#need[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "image-modify.sh: install ${need[*]} (apt-get install ${need[*]})" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${need[@]}"
fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2 --target bench_ImageModify >/dev/null
ours="$build/bench/bench_ImageModify"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp}

work=$(mktemp -d /tmp/tuji-bench-XXXXXX)
cleanup() { if [[ -z "${KEEP_WORK:-}" ]]; then rm -rf "$work"; else echo "kept $work" >&2; fi; }
trap cleanup EXIT
"$ours" photos "$work/photos" "$count"
"$ours" logo "$work/logo.png"
text="TUJI 2024-03-05"

# One measured run: a fresh copy of the photos in $work/w, then the command
# (run by bash inside the copy) under /usr/bin/time.
declare -A wall cpu mem
measure() { # key command...
    local key=$1
    shift
    rm -rf "$work/w" "$work/out"
    cp -r "$work/photos" "$work/w"
    mkdir "$work/out"
    (cd "$work/w" && /usr/bin/time -o "$work/time" -f "%e %U %S %M" taskset -c 0 "$@" >/dev/null 2>&1) ||
        echo "  ($key failed)" >&2
    read -r e u s m < <(tail -n1 "$work/time")
    wall[$key]=$e
    cpu[$key]=$(echo "$u + $s" | bc -l)
    mem[$key]=$((m / 1024))
}
# What a TIFF run wrote: compression and predictor of its first file.
declare -A tiffkind
tiff_kind() { # key
    local file
    file=$(find "$work/w" -maxdepth 1 -name '*.tiff' | sort | head -n1)
    tiffkind[$1]=$(tiffinfo "$file" 2>/dev/null | sed -n 's/^ *Compression Scheme: //p; s/^ *Predictor: \([a-z ]*\).*/\1/p' |
        sed 's/ *$//' | paste -sd '+' -)
}
each() { # per-file tools: a loop over the photos, run as one measured command
    echo 'for f in *.jpg; do '"$1"'; done'
}
font=$(fc-match -f '%{file}' 'DejaVu Sans')

tasks=(scale scale-text tiff gif logo)
declare -A peers
for t in "${tasks[@]}"; do
    measure "$t/ours" "$ours" run "$t" . "$work/logo.png"
    [[ $t != tiff ]] || tiff_kind tiff/ours
done
measure scale/mogrify mogrify -resize 50% -quality 75 ./*.jpg
measure scale/mogrify-hint mogrify -define jpeg:size=960x540 -resize 50% -quality 75 ./*.jpg
measure scale/gm gm mogrify -resize 50% -quality 75 ./*.jpg
measure scale/gm-hint gm mogrify -size 960x540 -resize 50% -quality 75 ./*.jpg
# vipsthumbnail cannot write over the file it reads: its results go beside.
measure scale/vipsthumbnail bash -c "vipsthumbnail --size 960x540 -o '$work/out/%s.jpg[Q=75]' ./*.jpg"
peers[scale]="mogrify mogrify-hint gm gm-hint vipsthumbnail"
measure scale-text/mogrify mogrify -font "$font" -gravity SouthEast -pointsize 20 -fill blue -annotate +5+5 "$text" \
    -resize 50% -quality 75 ./*.jpg
measure scale-text/gm gm mogrify -font "$font" -gravity SouthEast -pointsize 20 -fill blue -draw "text 5,5 '$text'" \
    -resize 50% -quality 75 ./*.jpg
peers[scale-text]="mogrify gm"
measure tiff/mogrify mogrify -format tiff -compress LZW ./*.jpg
tiff_kind tiff/mogrify
measure tiff/gm gm mogrify -format tiff -compress LZW ./*.jpg
tiff_kind tiff/gm
measure tiff/vips bash -c "$(each 'vips copy "$f" "${f%.jpg}.tiff[compression=lzw]"')"
tiff_kind tiff/vips
peers[tiff]="mogrify gm vips"
measure gif/mogrify mogrify -format gif ./*.jpg
measure gif/gm gm mogrify -format gif ./*.jpg
measure gif/vips bash -c "$(each 'vips copy "$f" "${f%.jpg}.gif"')"
peers[gif]="mogrify gm vips"
measure logo/mogrify mogrify -draw "image over 5,5 0,0 '$work/logo.png'" -quality 75 ./*.jpg
measure logo/gm gm mogrify -draw "image Over 5,5 0,0 '$work/logo.png'" -quality 75 ./*.jpg
measure logo/vips bash -c "$(each 'vips composite2 "$f" "'"$work"'/logo.png" "$f.tmp.jpg[Q=75]" over --x 5 --y 5 && mv "$f.tmp.jpg" "$f"')"
peers[logo]="mogrify gm vips"

printf '\n%d photos of 1920 x 1080, one processor\n\n' "$count"
printf '| task | tool | seconds | images/s | CPU s | peak MB | time / ours |\n|---|---|---|---|---|---|---|\n'
for t in "${tasks[@]}"; do
    for tool in ours ${peers[$t]}; do
        k="$t/$tool"
        ratio=$(echo "${wall[$k]} / ${wall[$t/ours]}" | bc -l)
        rate=$(echo "$count / ${wall[$k]}" | bc -l)
        printf '| %s | %s | %.2f | %.1f | %.2f | %d | %.2f |\n' "$t" "$tool" "${wall[$k]}" "$rate" \
            "${cpu[$k]}" "${mem[$k]}" "$ratio"
    done
done
printf '\nTIFF written (tiffinfo):'
for tool in ours ${peers[tiff]}; do printf ' %s: %s;' "$tool" "${tiffkind[tiff/$tool]:-?}"; done
printf '\n'
