#!/usr/bin/env bash
# The re-hosting job's article rewrite beside its peers, in one run, on the
# same 5 MB UTF-8 article with 10,000 references, all rewritten:
#   - ours: ReferenceRewrites::ApplyTo, one pass (bench_RehostRewrite),
#     next to replacing each reference in turn over the whole article,
#   - Python: re.sub with one alternation of all references (longest first)
#     and a dictionary look-up per match,
#   - Perl: s///g with the same alternation (Perl builds a trie from it).
# Times are processor milliseconds, best of 3 for the peers. The peers'
# results are compared with ours byte for byte. Prints the ratios to ours.
#
#   bench/rehost-rewrite.sh
# BUILD_DIR chooses the build folder (default: build-bench beside the sources).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

bench=$(bench_build_target RehostRewrite)
bench_make_work tuji-rehost-bench

QT_QPA_PLATFORM=offscreen "$bench" "$work" | tee "$work/ours.txt"
ours=$(awk '/^ours one pass/ {print $4}' "$work/ours.txt")
seq=$(awk '/^one by one/ {print $5}' "$work/ours.txt")

# A peer that takes longer than a minute is reported as such.
python_ms=$(timeout 60 python3 - "$work" <<'PY'
import re, sys, time
w = sys.argv[1]
data = open(w + '/article.htm', 'rb').read()
table = dict(line.split(b'\t', 1) for line in open(w + '/rewrites.tsv', 'rb').read().splitlines())
best = 1e9
for _ in range(3):
    t = time.process_time()
    rx = re.compile(b'|'.join(re.escape(k) for k in sorted(table, key=len, reverse=True)))
    out = rx.sub(lambda m: table[m.group(0)], data)
    best = min(best, (time.process_time() - t) * 1000)
open(w + '/python.htm', 'wb').write(out)
print(f"{best:.1f}")
PY
) || python_ms=
perl_ms=$(timeout 60 perl -MTime::HiRes=clock -e '
    my $w = $ARGV[0]; local $/;
    open(my $fh, "<:raw", "$w/article.htm") or die; my $d = <$fh>;
    open(my $mh, "<:raw", "$w/rewrites.tsv") or die; my %m = map { split /\t/ } split /\n/, <$mh>;
    my ($best, $out) = (1e9, "");
    for (1..3) { my $t = clock(); my $c = $d;
        my $alt = join "|", map { quotemeta } sort { length($b) <=> length($a) } keys %m;
        $c =~ s/($alt)/$m{$1}/g;
        my $e = (clock() - $t) * 1000; $best = $e if $e < $best; $out = $c; }
    open(my $oh, ">:raw", "$w/perl.htm") or die; print $oh $out;
    printf "%.1f\n", $best;' "$work") || perl_ms=""

for peer in python perl; do
    [[ -f "$work/$peer.htm" ]] || { echo "$peer: more than 60 s, no result"; continue; }
    cmp -s "$work/ours.htm" "$work/$peer.htm" && same="same bytes" || same="DIFFERENT bytes"
    echo "$peer result: $same as ours"
done
printf '%-28s %10s ms  %6s\n' "ours (one pass)" "$ours" "1.00"
printf '%-28s %10s ms  %6.2f\n' "one by one, scaled" "$seq" "$(bench_ratio "$seq" "$ours")"
ratio() { [[ -n "$1" ]] && printf '%10s ms  %6.2f' "$1" "$(bench_ratio "$1" "$ours")" || printf '%13s  %6s' "> 60000 ms" "> $(awk -v b="$ours" 'BEGIN{print int(60000 / b)}')"; }
printf '%-28s %s\n' "python re.sub alternation" "$(ratio "$python_ms")"
printf '%-28s %s\n' "perl s///g alternation" "$(ratio "$perl_ms")"
