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
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
count=${1:-3200}
keywords=${2:-4}
build=${BUILD_DIR:-$root/build-bench}

# --- Tools (benchmark only, so not in tools/packages.txt) -------------------
need=()
for pair in nginx:nginx aria2c:aria2 curl:curl taskset:util-linux; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
done
[[ -x /usr/bin/time ]] || need+=(time)
if ((${#need[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "keyword-collect.sh: install ${need[*]} (apt-get install ${need[*]})" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${need[@]}"
fi
nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)

# --- Our program ---------------------------------------------------------------
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2 --target bench_KeywordCollect >/dev/null
ours="$build/bench/bench_KeywordCollect"

# --- Service, images and server ---------------------------------------------------
work=$(mktemp -d /tmp/tuji-bench-XXXXXX)
nginx_pid=""
cleanup() {
    if [[ -n "$nginx_pid" ]]; then kill "$nginx_pid" 2>/dev/null || true; fi
    if [[ -z "${KEEP_WORK:-}" ]]; then rm -rf "$work"; else echo "kept $work" >&2; fi
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
base="http://127.0.0.1:$port"
mkdir -p "$work/www/img" "$work/nginx" "$work/out"
total_bytes=$("$ours" images "$work/www/img" "$count" 20 200)
"$ours" answers "$work/www" "$base" "$keywords" "$count"
chmod -R a+rX "$work" # nginx's workers run as another user
cat >"$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    keepalive_requests 100000;
    types { image/jpeg jpg; application/json json; }
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
        # The search service: one answer file per keyword and offset, an
        # empty list beyond the last page.
        location = /j {
            default_type application/json;
            try_files /answers/\$arg_q/\$arg_sn.json /answers/empty.json;
        }
    }
}
CONF
"$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
for _ in $(seq 100); do
    curl -sf -o /dev/null "$base/j?q=k1&sn=0" && break
    sleep 0.05
done
if ! curl -sf "$base/j?q=k1&sn=0" | grep -q '"list":\['; then
    echo "keyword-collect.sh: nginx does not answer the search:" >&2
    cat "$work/nginx/error.log" >&2
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
declare -A wall peak files
run() { # name, output folder, command...
    local name=$1 out=$2
    shift 2
    mkdir -p "$out"
    local t0 t1
    t0=$(date +%s.%N)
    /usr/bin/time -v -o "$work/$name.time" taskset -c 0 "$@" >"$work/$name.log" 2>&1 || true
    t1=$(date +%s.%N)
    wall[$name]=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f", b - a}')
    peak[$name]=$(awk -F': ' '/Maximum resident/{printf "%.1f", $2/1024}' "$work/$name.time")
    files[$name]=$(find "$out" -type f -size +0 | wc -l)
}

run ours "$work/out/ours" "$ours" collect "$base" "$keywords" "$work/out/ours"
run aria2c "$work/out/aria2c" aria2c -q -j10 -i "$list" -d "$work/out/aria2c" \
    --allow-overwrite=true --auto-file-renaming=false
run curl "$work/out/curl" curl -s --parallel --parallel-max 10 -K "$curl_config"

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
