#!/usr/bin/env bash
# File-data mode through the engine: the 20,000-file tree against the plain
# rewrite loops, then one 1 GiB file under GNU time for its peak memory.
# Corpora go to QUARVEL_BENCH_DIR (default /var/tmp) and are removed after.
#
#   bench/file-data.sh            builds into build-bench (Release)
#   BUILD=dir bench/file-data.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$root/build-bench}"
cmake -G Ninja -S "$root" -B "$build" -DQUARVEL_GUI=OFF -DQUARVEL_TESTS=OFF \
    -DQUARVEL_BENCH=ON -DCMAKE_BUILD_TYPE=Release -DQUARVEL_WERROR=ON >/dev/null
ninja -C "$build" -j2 file_data_bench file_data_peak_bench >/dev/null
uname -srm
nproc
uptime
"$build/bench/file_data_bench"
/usr/bin/time -f "peak resident size: %M KiB, elapsed %e s" "$build/bench/file_data_peak_bench"
