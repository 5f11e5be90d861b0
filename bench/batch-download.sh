#!/usr/bin/env bash
# The batch download job beside its peers, in one run:
#   2,000 images of 20-200 KB served by a loopback nginx, fetched by
#   - our job (bench_BatchDownload: the page's own job code, 10 workers,
#     content naming on),
#   - aria2c -j10 -i list,
#   - curl --parallel --parallel-max 10,
#   - wget -i list (one connection, one file after the other).
# Every downloader runs pinned to the first processor (taskset -c 0), as the
# program pins itself there; nginx runs unpinned. Prints files/s, MB/s, CPU
# seconds and peak memory (/usr/bin/time -v) for each, and the ratios.
#
#   bench/batch-download.sh [COUNT]          (as root it installs what it needs)
# BUILD_DIR chooses the build folder (default: build-bench beside the sources).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
count=${1:-2000}

bench_need nginx:nginx aria2c:aria2 curl:curl wget:wget taskset:util-linux /usr/bin/time:time
ours=$(bench_build_target BatchDownload)

# --- Images and server -----------------------------------------------------------
bench_make_work tuji-bench
mkdir -p "$work/www/img" "$work/out"
total_bytes=$("$ours" images "$work/www/img" "$count" 20 200)
port=$("$ours" port)
bench_start_nginx "$port" "image/jpeg jpg;"
bench_wait_until_served "http://127.0.0.1:$port/img/00001.jpg"

list="$work/list.txt"
curl_config="$work/curl.cfg"
: >"$list"
: >"$curl_config"
for ((i = 1; i <= count; i++)); do
    name=$(printf '%05d.jpg' "$i")
    echo "http://127.0.0.1:$port/img/$name" >>"$list"
    printf 'url = "http://127.0.0.1:%s/img/%s"\noutput = "%s"\n' "$port" "$name" \
        "$work/out/curl/$name" >>"$curl_config"
done
# Warm the server's file cache so no tool pays for the first read.
cat "$work"/www/img/* >/dev/null

# --- Runs --------------------------------------------------------------------------
bench_run ours "$work/out/ours" "$ours" download "$list" "$work/out/ours" 10
bench_run aria2c "$work/out/aria2c" aria2c -q -j10 -i "$list" -d "$work/out/aria2c" \
    --allow-overwrite=true --auto-file-renaming=false
bench_run curl "$work/out/curl" curl -s --parallel --parallel-max 10 -K "$curl_config"
bench_run wget "$work/out/wget" wget -q -i "$list" -P "$work/out/wget"

# --- Table ---------------------------------------------------------------------------
awk -v total="$total_bytes" -v count="$count" '
BEGIN {
    printf "\n%d images, %.1f MB, loopback nginx, every downloader on processor 0 (taskset -c 0)\n\n", count, total / 1e6
    printf "%-8s %6s %9s %8s %9s %8s %8s %10s\n", "tool", "files", "all bytes", "wall s", "files/s", "MB/s", "CPU s", "peak MB"
}
{
    rate[$1] = $3 > 0 ? $2 / $3 : 0
    printf "%-8s %6d %9s %8.3f %9.0f %8.1f %8.2f %10.1f\n", $1, $2, ($4 == total ? "yes" : "NO"), $3, rate[$1], ($4 / 1e6) / $3, $5, $6
    cpu[$1] = $5; peak[$1] = $6; name[NR] = $1
}
END {
    printf "\nours relative to each peer (>1 = ours better):\n"
    printf "%-8s %14s %12s %14s\n", "peer", "files/s ratio", "CPU ratio", "memory ratio"
    for (k = 2; k <= NR; k++) {
        p = name[k]
        printf "%-8s %14.2f %12.2f %14.2f\n", p, rate["ours"] / rate[p], (cpu["ours"] > 0 ? cpu[p] / cpu["ours"] : 0), (peak["ours"] > 0 ? peak[p] / peak["ours"] : 0)
    }
}' <<TABLE
ours ${files[ours]} ${wall[ours]} ${bytes[ours]} ${cpu[ours]} ${peak[ours]}
curl ${files[curl]} ${wall[curl]} ${bytes[curl]} ${cpu[curl]} ${peak[curl]}
aria2c ${files[aria2c]} ${wall[aria2c]} ${bytes[aria2c]} ${cpu[aria2c]} ${peak[aria2c]}
wget ${files[wget]} ${wall[wget]} ${bytes[wget]} ${cpu[wget]} ${peak[wget]}
TABLE
# Content naming hashes every image (MD5), which no peer does: its share.
/usr/bin/time -f '%U %S' -o "$work/md5.time" taskset -c 0 md5sum "$work"/www/img/* >/dev/null
awk -v ours="${cpu[ours]}" '{ printf "\ncontent names: hashing the images alone (md5sum, processor 0) takes %.2f CPU s of ours %.2f\n", $1 + $2, ours }' "$work/md5.time"
if [[ ${files[ours]} -ne $count || ${bytes[ours]} -ne $total_bytes ]]; then
    echo "ours saved ${files[ours]} of $count images:" >&2
    tail -5 "$work/ours.log" >&2
    exit 1
fi
