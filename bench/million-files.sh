#!/usr/bin/env bash
# quarvel-cli over 100,000 files in 100 folders and 1,000,000 files in 1,000
# folders: file-name mode lower-casing every name, then file-data mode with a
# pattern that no file holds. Prints each run's wall time and peak resident
# size (GNU time) and the 1M/100k time ratios. Each run starts with a warm
# cache and a settled disk. The log goes through a pipe
# to `tail`, so the command line streams it as it runs.
# Corpora go to QUARVEL_BENCH_DIR (default /var/tmp) and are removed after.
# On a disk, a million renamed inodes are more than the kernel lets stay
# dirty: the 1M run then waits for the disk. QUARVEL_BENCH_DIR=/dev/shm
# shows the program's own growth.
#
#   bench/million-files.sh             builds into build-bench (Release)
#   BUILD=dir bench/million-files.sh   uses (and builds) that build folder
#   SIZES="100 1000" bench/million-files.sh   folder counts (1,000 files each)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$root/build-bench}"
base="${QUARVEL_BENCH_DIR:-/var/tmp}"
sizes="${SIZES:-100 1000}"
cmake -G Ninja -S "$root" -B "$build" -DQUARVEL_GUI=OFF -DCMAKE_BUILD_TYPE=Release -DQUARVEL_WERROR=ON >/dev/null
ninja -C "$build" -j2 quarvel-cli >/dev/null
cli="$build/cli/quarvel-cli"
work="$(mktemp -d "$base/quarvel-million-XXXXXX")"
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/make_tree" "$root/bench/make_tree.c"

uname -srm
nproc
uptime
df -h "$base" | tail -1

declare -A seconds
for folders in $sizes; do
    files=$((folders * 1000))
    tree="$work/tree"
    start=$(date +%s)
    "$work/make_tree" "$tree" "$folders" 1000
    sync
    echo "== $files files in $folders folders (made in $(($(date +%s) - start)) s)"
    for mode in names data; do
        if [ "$mode" = names ]; then
            args=(--names --lower-file --lower-ext --in-place --recurse "$tree")
        else
            args=(--data --pattern "text that no file holds" --rep x --replace --in-place
                  --recurse "$tree")
        fi
        # Warm cache and a settled disk, as in the other benchmarks: every
        # file read once (which also settles the access times that a first
        # read of a fresh file would write), and the last run's renamed
        # inodes on the disk, so that the data run does not pay for the
        # names run.
        find "$tree" -type f -exec cat {} + >/dev/null
        sync
        /usr/bin/time -f '%e s %M KB %U %S' -o "$work/time" "$cli" "${args[@]}" | tail -2
        read -r elapsed _ peak _ user system <"$work/time"
        seconds[$mode$files]=$elapsed
        echo "$mode: $elapsed s, peak $peak KB ($((peak / 1024)) MB), user $user s, system $system s"
    done
    rm -rf "$tree"
done
set -- $sizes
if [ $# -ge 2 ]; then
    small=$(($1 * 1000))
    large=$(($2 * 1000))
    for mode in names data; do
        echo "$mode: ${large}/${small} time ratio" \
            "$(echo "scale=2; ${seconds[$mode$large]} / ${seconds[$mode$small]}" | bc)"
    done
fi
