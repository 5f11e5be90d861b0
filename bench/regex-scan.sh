#!/usr/bin/env bash
# The article scan's image-tag search beside its peers, in one run, on the
# same 5 MB articles with 10,000 image tags each (ASCII, UTF-8 with Chinese
# text, GB18030, UTF-8 with damaged bytes):
#   - ours: RegexObject Execute + SubMatchText for every tag (bench_RegexScan),
#     next to bare PCRE2 JIT on the raw bytes (the floor: no reading of
#     characters, no copies, nothing handed back),
#   - Python's re.finditer on the bytes (IGNORECASE | MULTILINE),
#   - Perl's m//gi on the bytes,
#   - grep -oP (PCRE2 again; whole process, reading the file included).
# Times are processor milliseconds, best of 5 (grep: one run, wall time).
# Prints the ratios of the peers to ours.
#
#   bench/regex-scan.sh
# BUILD_DIR chooses the build folder (default: build-bench beside the sources).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

scan=$(bench_build_target RegexScan)
bench_make_work tuji-regex-bench

echo "== ours (and bare PCRE2) =="
QT_QPA_PLATFORM=offscreen "$scan" "$work" | tee "$work/ours.txt"
pattern='<img .*?src=("|'"'"'|)([^"'"'"'<> ]+)("|'"'"'|).*?>'

declare -A python_ms perl_ms grep_ms
for f in "$work"/*.htm; do
    name=$(basename "$f")
    if command -v python3 >/dev/null; then
        python_ms[$name]=$(python3 - "$f" "$pattern" <<'PY'
import re, sys, time
data = open(sys.argv[1], 'rb').read()
rx = re.compile(sys.argv[2].encode(), re.I | re.M)
best = 1e9
for _ in range(5):
    t = time.process_time()
    refs = [m.group(2) for m in rx.finditer(data)]
    best = min(best, (time.process_time() - t) * 1000)
print(f"{best:.1f}")
PY
)
    fi
    if command -v perl >/dev/null; then
        perl_ms[$name]=$(perl -MTime::HiRes=clock -e '
            local $/; open(my $fh, "<:raw", $ARGV[0]) or die; my $d = <$fh>;
            my $best = 1e9;
            for (1..5) { my $t = clock(); my @r;
                while ($d =~ /<img .*?src=("|'"'"'|)([^"'"'"'<> ]+)("|'"'"'|).*?>/gi) { push @r, $2 }
                my $e = (clock() - $t) * 1000; $best = $e if $e < $best; }
            printf "%.1f\n", $best;' "$f")
    fi
    start=$(date +%s%N)
    LC_ALL=C grep -oiP "$pattern" "$f" >/dev/null || true
    grep_ms[$name]=$(( ($(date +%s%N) - start) / 1000000 ))
done

echo
echo "== peers (ratio = peer time / our time) =="
printf "%-18s %9s %9s %7s %9s %7s %9s %7s\n" article ours_ms python python/us perl perl/us grep grep/us
while read -r name bytes refs ours bare ratio rest; do
    [[ "$name" == *.htm ]] || continue
    py=${python_ms[$name]:-nan}; pl=${perl_ms[$name]:-nan}; gr=${grep_ms[$name]:-nan}
    printf "%-18s %9s %9s %7s %9s %7s %9s %7s\n" "$name" "$ours" \
        "$py" "$(bench_ratio "$py" "$ours" 1)" \
        "$pl" "$(bench_ratio "$pl" "$ours" 1)" \
        "$gr" "$(bench_ratio "$gr" "$ours" 1)"
done <"$work/ours.txt"
