# Sourced by the bench/*.sh scripts: what every benchmark run does the same
# way, so the scripts keep only their own peers and tables.
#
#   bench_need CMD:PACKAGE...         installs the missing Debian packages (as root)
#   bench_build_target NAME           builds bench_NAME, prints its path
#   bench_make_work PREFIX            a temporary folder in $work, gone at exit
#   bench_start_nginx PORT TYPES [CONF]   a loopback nginx serving $work/www
#   bench_wait_until_served URL       waits for nginx to answer URL
#   bench_run NAME OUT COMMAND...     a timed run on processor 0
#   bench_ratio A B [DIGITS]          A / B
#
# BUILD_DIR chooses the build folder (default: build-bench beside the sources);
# KEEP_WORK=1 keeps the temporary folder for a look afterwards.

# A failing step inside $(...) (the build) stops the script too.
shopt -s inherit_errexit

bench_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench_root=$(dirname "$bench_here")
bench_build=${BUILD_DIR:-$bench_root/build-bench}
bench_name=$(basename "$0")
bench_nginx_pid=""
work=""

bench_fail() {
    echo "$bench_name: $*" >&2
    exit 1
}

# The peers are benchmark tools only, so they are not in tools/packages.txt:
# each script installs its own when run as root.
bench_need() { # CMD:PACKAGE... (CMD may be a path, as /usr/bin/time:time)
    local need=() pair
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}")
    done
    ((${#need[@]})) || return 0
    if [[ $(id -u) -ne 0 ]]; then
        bench_fail "install ${need[*]} (apt-get install ${need[*]})"
    fi
    DEBIAN_FRONTEND=noninteractive apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
}

bench_build_target() { # NAME: prints the path of bench_NAME
    if [[ ! -f "$bench_build/CMakeCache.txt" ]]; then
        cmake -S "$bench_root" -B "$bench_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DBUILD_TESTING=OFF >/dev/null
    fi
    cmake --build "$bench_build" -j2 --target "bench_$1" >/dev/null
    echo "$bench_build/bench/bench_$1"
}

bench_cleanup() {
    if [[ -n "$bench_nginx_pid" ]]; then kill "$bench_nginx_pid" 2>/dev/null || true; fi
    [[ -n "$work" ]] || return 0
    if [[ -z "${KEEP_WORK:-}" ]]; then rm -rf "$work"; else echo "kept $work" >&2; fi
}

bench_make_work() { # PREFIX: sets $work; it goes (with any nginx) when the script ends
    work=$(mktemp -d "/tmp/$1-XXXXXX")
    trap bench_cleanup EXIT
}

# Serves $work/www on 127.0.0.1:PORT. TYPES is the body of nginx's types
# block ("image/jpeg jpg;"), CONF more lines for the server block. Its
# configuration, logs and temporary folders stay in $work/nginx.
bench_start_nginx() { # PORT TYPES [CONF]
    local port=$1 types=$2 extra=${3:-}
    local nginx_bin
    nginx_bin=$(command -v nginx || echo /usr/sbin/nginx)
    mkdir -p "$work/nginx"
    # nginx's workers drop to an unprivileged user, who must read the files.
    chmod a+rx "$work"
    chmod -R a+rX "$work/www"
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
    types { $types }
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
$extra
    }
}
CONF
    "$nginx_bin" -p "$work/nginx" -c "$work/nginx/nginx.conf" &
    bench_nginx_pid=$!
}

bench_nginx_errors() {
    cat "$work/nginx/error.log" >&2 || true
}

bench_wait_until_served() { # URL
    local _
    for _ in $(seq 100); do
        curl -sf -o /dev/null "$1" && return 0
        sleep 0.05
    done
    echo "$bench_name: nginx does not serve $1:" >&2
    bench_nginx_errors
    exit 1
}

# One measured run, pinned to the first processor (taskset -c 0) as the
# program pins itself there, under /usr/bin/time -v. Leaves in
# wall[NAME] (s), cpu[NAME] (user + system s), peak[NAME] (MB) and, for the
# output folder OUT, files[NAME] (non-empty files) and bytes[NAME]; the
# command's output goes to $work/NAME.log.
declare -gA wall cpu peak files bytes
bench_run() { # NAME OUT COMMAND...
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

bench_ratio() { # A B [DIGITS]: A / B with DIGITS decimals (default 2)
    awk -v a="$1" -v b="$2" -v d="${3:-2}" 'BEGIN{printf "%." d "f", a/b}'
}
