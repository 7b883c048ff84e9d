#!/usr/bin/env bash
# Regular-expression replacement over a tree of 20,000 files (100 folders,
# 5 to 25 kB of word lines each, ~300 MB; a third of the files hold words
# starting with "quarvel"), in place:
#   1. quarvel-cli --data --regex 'quarvel\w*' -> X against sd with the same
#      expression (find | xargs sd), results compared byte for byte;
#   2. the literal path: the same tree, literal "quarvel" -> X, with the
#      quarvel-cli under test against a baseline build (BASE_CLI), runs
#      interleaved so that both see the same machine load.
# Each run starts from the pristine tree with a warm cache; best of REPEAT.
# Prints the load average before and after, since the machine may be shared.
#
#   QUARVEL_CLI=build/dev/cli/quarvel-cli BASE_CLI=build/base/cli/quarvel-cli bench/regex-peers.sh
#   REPEAT=5 BENCH_DIR=/var/tmp/x bench/regex-peers.sh
# Needs: perl, GNU time, sd (Debian package).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${QUARVEL_CLI:-$root/build/dev/cli/quarvel-cli}"
base="${BASE_CLI:-}"
work="${BENCH_DIR:-/var/tmp/quarvel-bench-regex}"
repeat="${REPEAT:-3}"
tree="$work/tree" pristine="$work/pristine"
expression='quarvel\w*'

[ -x "$cli" ] || { echo "no quarvel-cli at $cli (set QUARVEL_CLI)" >&2; exit 2; }
mkdir -p "$work"

if [ ! -f "$work/corpus.ok" ]; then
    echo "== generating the tree under $work (once)" >&2
    rm -rf "$tree" "$pristine"
    mkdir -p "$tree" "$pristine"
    perl -e '
        use strict; my ($dir) = @ARGV; srand(21);
        my @w = qw(alpha beta gamma delta lorem ipsum dolor sit amet consectetur
                   adipiscing elit sed do eiusmod tempor incididunt ut labore et
                   dolore magna aliqua morph file data name folder mask pattern);
        my @q = qw(quarvel quarvelize quarveled quarvel_cli);
        my $text = "";
        while (length($text) < (8 << 20)) {
            $text .= join(" ", map { $w[rand @w] } 1 .. 5 + int(rand 10)) . "\n";
        }
        for my $f (0 .. 99) {
            my $sub = sprintf("%s/f%03d", $dir, $f);
            mkdir $sub or die "$sub: $!";
            for my $i (0 .. 199) {
                my $size = 5000 + int(rand 20000);
                my $content = substr($text, int(rand(length($text) - $size)), $size);
                if (rand() < 1 / 3) {
                    for (1 .. 1 + int(rand 5)) {
                        substr($content, int(rand length $content), 0) = " " . $q[rand @q] . " ";
                    }
                }
                open(my $out, ">", sprintf("%s/doc%05d.txt", $sub, $i)) or die "$!";
                print $out $content;
                close $out;
            }
        }' "$tree"
    cp -a "$tree/." "$pristine/"
    grep -rl quarvel "$tree" | sed "s|^$tree/||" >"$work/matching.txt"
    touch "$work/corpus.ok"
fi

reset_tree() {
    while read -r f; do cp -p "$pristine/$f" "$tree/$f"; done <"$work/matching.txt"
}
tree_sum() { (cd "$tree" && find . -type f -print0 | sort -z | xargs -0 md5sum | md5sum | cut -c1-12); }
warm() { find "$tree" -type f -print0 | xargs -0 cat >/dev/null; }

# measure LABEL CMD: one run from the pristine tree; prints "seconds peakKB sum"
measure() {
    reset_tree
    warm
    sync
    /usr/bin/time -f "%e %M" -o "$work/time.txt" bash -c "$2" >/dev/null 2>"$work/stderr.txt" ||
        { echo "$1 failed:" >&2; cat "$work/stderr.txt" >&2; exit 1; }
    read -r secs mem <"$work/time.txt"
    echo "$secs $mem $(tree_sum)"
}

declare -A best mem sum
record() { # LABEL CMD
    local s m c
    read -r s m c < <(measure "$1" "$2")
    if [ -z "${best[$1]:-}" ] || awk "BEGIN{exit !($s < ${best[$1]})}"; then
        best[$1]=$s mem[$1]=$m
    fi
    if [ -n "${sum[$1]:-}" ] && [ "${sum[$1]}" != "$c" ]; then sum[$1]="DIFFERS"; else sum[$1]=$c; fi
}

q() { printf '%q' "$1"; }
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "files: $(find "$tree" -type f | wc -l), holding a match: $(wc -l <"$work/matching.txt")"
regex_cmd="$(q "$cli") --data --regex --match-case --pattern $(q "$expression") --rep X --recurse --in-place $(q "$tree")"
sd_cmd="find $(q "$tree") -type f -print0 | xargs -0 sd $(q "$expression") X"
literal_cmd() { echo "$(q "$1") --data --match-case --pattern quarvel --rep X --recurse --in-place $(q "$tree")"; }

for ((i = 0; i < repeat; i++)); do
    record "quarvel-cli --regex" "$regex_cmd"
    record "sd" "$sd_cmd"
    record "quarvel-cli literal" "$(literal_cmd "$cli")"
    [ -n "$base" ] && record "baseline literal" "$(literal_cmd "$base")"
done
reset_tree

printf '%-22s %9s %9s  %s\n' tool seconds "peak MB" "tree checksum"
for label in "quarvel-cli --regex" "sd" "quarvel-cli literal" "baseline literal"; do
    [ -n "${best[$label]:-}" ] || continue
    printf '%-22s %9s %9d  %s\n' "$label" "${best[$label]}" $((mem[$label] / 1024)) "${sum[$label]}"
done
[ "${sum["quarvel-cli --regex"]}" = "${sum[sd]}" ] && echo "regex results: identical to sd's" ||
    echo "regex results: DIFFER from sd's"
if [ -n "$base" ]; then
    awk -v n="${best["quarvel-cli literal"]}" -v b="${best["baseline literal"]}" \
        'BEGIN{printf "literal path: %.3fx the baseline\n", n / b}'
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
