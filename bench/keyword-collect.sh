#!/usr/bin/env bash
# The keyword collection job beside its peers, in one run:
#   a loopback nginx plays the image-search service ("/j" answers, 30 hits a
#   page, several keywords) and serves the images (20-200 KB); then
#   - our job (bench_KeywordCollect: the page's own job code, 10 workers,
#     content naming, the page pauses scaled to zero) lists every hit and
#     downloads every image,
#   - aria2c -j10 -i list downloads the same images,
#   - curl --parallel --parallel-max 10 does the same.
# Every downloader runs pinned to the first processor (taskset -c 0), as the
# program pins itself there; nginx runs unpinned. Prints hits listed/s,
# images saved/s, the user-interface thread's longest stall, peak memory,
# and our saving rate relative to each peer.
#
#   bench/keyword-collect.sh [HITS] [KEYWORDS]   (as root it installs what it needs)
# BUILD_DIR chooses the build folder (default: build-bench beside the sources).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
count=${1:-3200}
keywords=${2:-4}

bench_need nginx:nginx aria2c:aria2 curl:curl taskset:util-linux /usr/bin/time:time
ours=$(bench_build_target KeywordCollect)

# --- Service, images and server ---------------------------------------------------
bench_make_work tuji-bench
port=$("$ours" port)
base="http://127.0.0.1:$port"
mkdir -p "$work/www/img" "$work/out"
total_bytes=$("$ours" images "$work/www/img" "$count" 20 200)
"$ours" answers "$work/www" "$base" "$keywords" "$count"
# The search service: one answer file per keyword and offset, an empty list
# beyond the last page.
bench_start_nginx "$port" "image/jpeg jpg; application/json json;" '
        location = /j {
            default_type application/json;
            try_files /answers/$arg_q/$arg_sn.json /answers/empty.json;
        }'
bench_wait_until_served "$base/j?q=k1&sn=0"
if ! curl -sf "$base/j?q=k1&sn=0" | grep -q '"list":\['; then
    echo "keyword-collect.sh: nginx does not answer the search:" >&2
    bench_nginx_errors
    exit 1
fi
list="$work/www/list.txt"
curl_config="$work/curl.cfg"
: >"$curl_config"
mkdir -p "$work/out/curl"
while read -r url; do
    printf 'url = "%s"\noutput = "%s"\n' "$url" "$work/out/curl/${url##*/}" >>"$curl_config"
done <"$list"
# Warm the server's file cache so no tool pays for the first read.
cat "$work"/www/img/* >/dev/null

# --- Runs --------------------------------------------------------------------------
bench_run ours "$work/out/ours" "$ours" collect "$base" "$keywords" "$work/out/ours"
bench_run aria2c "$work/out/aria2c" aria2c -q -j10 -i "$list" -d "$work/out/aria2c" \
    --allow-overwrite=true --auto-file-renaming=false
bench_run curl "$work/out/curl" curl -s --parallel --parallel-max 10 -K "$curl_config"

# --- Table ---------------------------------------------------------------------------
line=$(grep '^listed ' "$work/ours.log" || true)
if [[ -z "$line" ]]; then
    echo "keyword-collect.sh: our job printed no result:" >&2
    tail -5 "$work/ours.log" >&2
    exit 1
fi
read -r _ listed _ saved _ job_s _ hits_rate _ saved_rate _ stall _ _ <<<"$line"
printf '\n%d hits over %d keywords (30 a page), %.1f MB of images, loopback nginx,\n' \
    "$count" "$keywords" "$(awk -v b="$total_bytes" 'BEGIN{print b/1e6}')"
printf 'every downloader on processor 0 (taskset -c 0)\n\n'
printf 'ours: %d hits listed (%.0f/s), %d images saved (%.0f/s) in %.3f s of job time,\n' \
    "$listed" "$hits_rate" "$saved" "$saved_rate" "$job_s"
printf '      user-interface thread longest stall %.1f ms (target: under 50), peak %.1f MB\n\n' \
    "$stall" "${peak[ours]}"
awk '
BEGIN { printf "%-8s %6s %8s %9s %10s\n", "tool", "files", "wall s", "files/s", "peak MB" }
{
    rate[$1] = $3 > 0 ? $2 / $3 : 0; peak[$1] = $4; name[NR] = $1
    printf "%-8s %6d %8.3f %9.0f %10.1f\n", $1, $2, $3, rate[$1], $4
}
END {
    printf "\nours relative to each peer (>1 = ours better; ours also searched every page):\n"
    printf "%-8s %16s %14s\n", "peer", "saved/s ratio", "memory ratio"
    for (k = 2; k <= NR; k++) {
        p = name[k]
        printf "%-8s %16.2f %14.2f\n", p, rate["ours"] / rate[p], (peak["ours"] > 0 ? peak[p] / peak["ours"] : 0)
    }
}' <<TABLE
ours ${files[ours]} ${wall[ours]} ${peak[ours]}
aria2c ${files[aria2c]} ${wall[aria2c]} ${peak[aria2c]}
curl ${files[curl]} ${wall[curl]} ${peak[curl]}
TABLE
if [[ ${files[ours]} -ne $count ]]; then
    echo "ours saved ${files[ours]} of $count images:" >&2
    tail -5 "$work/ours.log" >&2
    exit 1
fi
