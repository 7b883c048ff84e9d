#!/usr/bin/env bash
# File-data mode over one 1 GiB file, whole programs with a warm cache:
# quarvel-cli replacing one rare word (once in the middle) and searching for
# a word that is not there, against the floors that do the same input and
# output work with a 1 MiB buffer: "floor read" reads the file, "floor rw"
# reads it and writes it to a temporary file beside it, renamed over it.
# Rounds alternate the programs; prints every time, the medians, the ratios
# and quarvel-cli's peak memory (GNU time, %M).
# With BEFORE=path-to-an-older-quarvel-cli it also times both binaries on a
# 20,000-file tree (one match in a third of the files), rounds alternating.
#
#   bench/stream-file.sh CLI [ROUNDS]
set -euo pipefail
cli="$1"
rounds="${2:-5}"
work="${QUARVEL_BENCH_DIR:-/var/tmp}/quarvel-stream"
mkdir -p "$work"

cat >"$work/floor.c" <<'C'
/* floor read FILE | floor rw FILE */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
int main(int argc, char **argv) {
    if (argc != 3) return 2;
    int rw = strcmp(argv[1], "rw") == 0;
    static char buf[1 << 20];
    int in = open(argv[2], O_RDONLY);
    char tmp[4096];
    snprintf(tmp, sizeof tmp, "%s.floor-tmp", argv[2]);
    int out = rw ? open(tmp, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (in < 0 || (rw && out < 0)) return 1;
    for (;;) {
        ssize_t got = read(in, buf, sizeof buf);
        if (got < 0) return 1;
        if (got == 0) break;
        if (rw && write(out, buf, (size_t)got) != got) return 1;
    }
    close(in);
    if (rw) { close(out); if (rename(tmp, argv[2]) != 0) return 1; }
    return 0;
}
C
cc -O2 -o "$work/floor" "$work/floor.c"

big="$work/big/big.txt"
if [ ! -f "$big" ]; then
    mkdir -p "$work/big"
    perl -e '
        use strict; srand(11);
        my @w = qw(alpha beta gamma delta lorem ipsum dolor sit amet morph data);
        my $text = "";
        while (length($text) < (8 << 20)) {
            $text .= join(" ", map { $w[rand @w] } 1 .. 5 + int(rand 10)) . "\n";
        }
        $text = substr($text, 0, 8 << 20);
        open(my $out, ">", $ARGV[0]) or die;
        for my $i (1 .. 128) {
            my $piece = $text;
            substr($piece, 4 << 20, 12) = " QVRARE_ONE " if $i == 64;
            print $out $piece;
        }' "$big"
fi
cat "$big" >/dev/null

timed() { # prints elapsed seconds; the command's peak KiB goes to $work/peak
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    cut -d' ' -f2 "$work/time" >"$work/peak"
    cut -d' ' -f1 "$work/time"
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }

rare="" absent="" read="" rw="" peak_rare="" peak_absent=""
for round in $(seq "$rounds"); do
    r=$(timed "$work/floor" read "$big"); read="$read $r"
    w=$(timed "$work/floor" rw "$big"); rw="$rw $w"
    # The rare word goes back and forth, so that every run finds it.
    if grep -q QVRARE_ONE "$big"; then from=QVRARE_ONE to=QVRARE_TWO; else from=QVRARE_TWO to=QVRARE_ONE; fi
    q=$(timed "$cli" --data --match-case --in-place --replace --pattern $from --rep $to "$work/big")
    rare="$rare $q"; peak_rare="$peak_rare $(cat "$work/peak")"
    a=$(timed "$cli" --data --match-case --in-place --replace --pattern QVABSENT --rep x "$work/big")
    absent="$absent $a"; peak_absent="$peak_absent $(cat "$work/peak")"
    echo "round $round: floor read $r s, floor rw $w s, quarvel rare match $q s, quarvel no match $a s"
done
grep -c QVRARE "$big" >/dev/null || { echo "the rare word was lost" >&2; exit 1; }
mr=$(median $read) mw=$(median $rw) mq=$(median $rare) ma=$(median $absent)
echo "1 GiB, medians of $rounds: floor read $mr s, floor rw $mw s, rare match $mq s ($(ratio $mq $mw)x floor rw), no match $ma s ($(ratio $ma $mr)x floor read)"
echo "peak memory of quarvel-cli: rare match $(median $peak_rare) KiB, no match $(median $peak_absent) KiB"

if [ -n "${BEFORE:-}" ]; then
    tree="$work/tree"
    if [ ! -d "$tree" ]; then
        perl -e '
            use strict; srand(7); my ($dir) = @ARGV;
            my @w = qw(alpha beta gamma delta lorem ipsum dolor sit amet morph data);
            for my $f (0 .. 199) {
                mkdir "$dir/f$f" or die;
                for my $i (0 .. 99) {
                    my $t = ""; $t .= join(" ", map { $w[rand @w] } 1 .. 10) . "\n" while length($t) < 14000;
                    $t = "QVTREE_ONE $t" if ($f * 100 + $i) % 3 == 0;
                    open(my $o, ">", "$dir/f$f/d$i.txt") or die; print $o $t; close $o;
                }
            }' "$(mkdir -p "$tree" && echo "$tree")"
    fi
    before="" after=""
    for round in $(seq "$rounds"); do
        # Both binaries do the same work: the second one turns the words back.
        b=$(timed "$BEFORE" --data --match-case --recurse --in-place --replace --pattern QVTREE_ONE --rep QVTREE_TWO "$tree")
        a=$(timed "$cli" --data --match-case --recurse --in-place --replace --pattern QVTREE_TWO --rep QVTREE_ONE "$tree")
        before="$before $b" after="$after $a"
        echo "tree round $round: before $b s, after $a s"
    done
    echo "20,000 files, medians of $rounds: before $(median $before) s, after $(median $after) s ($(ratio $(median $after) $(median $before))x)"
fi
