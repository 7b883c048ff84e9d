#!/usr/bin/env bash
# Walk speed over 20,000 files in 600 folders with mask *.txt, warm cache,
# against `find DIR -name '*.txt' | wc -l`:
#   - the engine's walk with a per-folder step that only lists the matches
#     (bench/list_matches, its output piped to wc -l as find's is);
#   - a whole quarvel-cli run (file-name mode with every option off changes
#     nothing but logs every folder), start-up included.
#   bench/walk.sh [QUARVEL_CLI]     (default: build/release/cli/quarvel-cli)
# list_matches is taken from the same build as quarvel-cli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/release/cli/quarvel-cli}"
tree="${BENCH_DIR:-/var/tmp}/quarvel-walk-bench"
rounds="${ROUNDS:-30}"
lister="$(dirname "$cli")/../bench/list_matches"
[ -x "$lister" ] || { echo "no $lister: build the bench/ folder (-DQUARVEL_BENCH=ON)" >&2; exit 2; }

rm -rf "$tree"
mkdir -p "$tree"
# 600 folders: 20 top folders with 29 subfolders each (20 + 580), 33-34 files each.
n=0
for a in $(seq 1 20); do
    for b in $(seq 0 29); do
        d="$tree/d$a"
        [ "$b" -gt 0 ] && d="$d/s$b"
        mkdir -p "$d"
        for f in $(seq 1 34); do
            [ "$n" -ge 20000 ] && break
            if [ $((f % 2)) -eq 0 ]; then : >"$d/f$f.txt"; else : >"$d/f$f.dat"; fi
            n=$((n + 1))
        done
    done
done

best() { # best wall time in seconds of `rounds` runs of "$@"
    local best=999
    for _ in $(seq 1 "$rounds"); do
        local t0 t1
        t0=$(date +%s.%N)
        "$@" >/dev/null
        t1=$(date +%s.%N)
        best=$(echo "$t1 - $t0" | bc | awk -v b="$best" '{ print ($1 < b) ? $1 : b }')
    done
    echo "$best"
}

"$cli" --names --mask '*.txt' --recurse "$tree" | tail -2
echo "list_matches: $("$lister" "$tree" '*.txt' | wc -l) files   find: $(find "$tree" -name '*.txt' | wc -l) files"
l=$(best sh -c "'$lister' '$tree' '*.txt' | wc -l")
q=$(best "$cli" --names --mask '*.txt' --recurse "$tree")
f=$(best sh -c "find '$tree' -name '*.txt' | wc -l")
ratio() { echo "$1 / $f" | bc -l | cut -c1-5; }
echo "find | wc -l:          ${f}s"
echo "walk + listing | wc -l: ${l}s   ratio: $(ratio "$l")"
echo "quarvel-cli run:        ${q}s   ratio: $(ratio "$q")"
rm -rf "$tree"
