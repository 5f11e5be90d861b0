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
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
count=${1:-2000}
build=${BUILD_DIR:-$root/build-bench}

# --- Tools (benchmark only, so not in tools/packages.txt) -------------------
need=()
for pair in nginx:nginx aria2c:aria2 curl:curl wget:wget taskset:util-linux; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
done
[[ -x /usr/bin/time ]] || need+=(time)
if ((${#need[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "batch-download.sh: install ${need[*]} (apt-get install ${need[*]})" >&2
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
cmake --build "$build" -j2 --target bench_BatchDownload >/dev/null
ours="$build/bench/bench_BatchDownload"

# --- Images and server -----------------------------------------------------------
work=$(mktemp -d /tmp/tuji-bench-XXXXXX)
nginx_pid=""
cleanup() {
    if [[ -n "$nginx_pid" ]]; then kill "$nginx_pid" 2>/dev/null || true; fi
    if [[ -z "${KEEP_WORK:-}" ]]; then rm -rf "$work"; else echo "kept $work" >&2; fi
}
trap cleanup EXIT

mkdir -p "$work/www/img" "$work/nginx" "$work/out"
# nginx's workers drop to an unprivileged user, who must read the images.
chmod 755 "$work" "$work/www" "$work/www/img"
total_bytes=$("$ours" images "$work/www/img" "$count" 20 200)
port=$("$ours" port)
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
    types { image/jpeg jpg; }
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
CONF
"$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
for _ in $(seq 100); do
    curl -sf -o /dev/null "http://127.0.0.1:$port/img/00001.jpg" && break
    sleep 0.05
done
if ! curl -sf -o /dev/null "http://127.0.0.1:$port/img/00001.jpg"; then
    echo "batch-download.sh: nginx does not serve the images:" >&2
    cat "$work/nginx/error.log" >&2
    exit 1
fi

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
declare -A wall cpu peak files bytes
run() { # name, output folder, command...
    local name=$1 out=$2
    shift 2
    mkdir -p "$out"
    local t0 t1
    t0=$(date +%s.%N)
    /usr/bin/time -v -o "$work/$name.time" taskset -c 0 "$@" >"$work/$name.log" 2>&1 || true
    t1=$(date +%s.%N)
    wall[$name]=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f", b - a}')
    cpu[$name]=$(awk -F': ' '/User time/{u=$2} /System time/{s=$2} END{printf "%.2f", u+s}' \
        "$work/$name.time")
    peak[$name]=$(awk -F': ' '/Maximum resident/{printf "%.1f", $2/1024}' "$work/$name.time")
    files[$name]=$(find "$out" -type f -size +0 | wc -l)
    bytes[$name]=$(find "$out" -type f -printf '%s\n' | awk '{s+=$1} END{print s+0}')
}

run ours "$work/out/ours" "$ours" download "$list" "$work/out/ours" 10
run aria2c "$work/out/aria2c" aria2c -q -j10 -i "$list" -d "$work/out/aria2c" \
    --allow-overwrite=true --auto-file-renaming=false
run curl "$work/out/curl" curl -s --parallel --parallel-max 10 -K "$curl_config"
run wget "$work/out/wget" wget -q -i "$list" -P "$work/out/wget"

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
