#!/bin/sh
# A file-data run over a 20,000-file tree (200 folders of 100 files, 292 MB,
# a third of the files holding the pattern), started from the window
# (bench/ui/gui_run_bench clicks "Morph Files" in the real main dialog), through
# quarvel-cli, and through MorphFiles with a window that shows nothing, each
# on a fresh copy of the tree with a warm cache. Every figure is the whole
# program (start-up included). Prints every timing, the medians and the best
# rounds; the window's run must cost at most 1.05x the command line's, and
# the window's event loop must never stall for 50 ms or more during the run.
#
#   bench/gui-vs-cli.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR must hold quarvel-cli and bench/ui/gui_run_bench (configure with
# -DQUARVEL_BENCH=ON). The window runs on $DISPLAY when set, else offscreen.
set -eu

build=${1:-build-bench}
rounds=${2:-3}
cli=${QUARVEL_CLI:-$build/cli/quarvel-cli}
gui=${QUARVEL_GUI_BENCH:-$build/bench/ui/gui_run_bench}
base=${QUARVEL_BENCH_DIR:-/tmp/quarvel-bench}
pristine=$base/pristine

[ -x "$cli" ] && [ -x "$gui" ] || { echo "build $cli and $gui first" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
export HOME=$base/home XDG_CONFIG_HOME=$base/home/.config
mkdir -p "$HOME"

if [ ! -d "$pristine" ]; then
    python3 - "$pristine" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(20000)
words = ["alpha", "beta", "gamma", "delta", "omega", "river", "stone", "cloud", "paper", "lamp"]
for d in range(200):
    folder = os.path.join(root, "folder%03d" % d)
    os.makedirs(folder)
    for f in range(100):
        lines = []
        size = 0
        while size < 14600:
            line = " ".join(random.choice(words) for _ in range(12)) + "\n"
            lines.append(line)
            size += len(line)
        if (d * 100 + f) % 3 == 0:
            for k in range(0, len(lines), 40):
                lines[k] = "the needle is here " + lines[k]
        with open(os.path.join(folder, "file%03d.txt" % f), "w") as out:
            out.writelines(lines)
PY
fi

# Prepares one fresh copy of the tree per program of a round, so that no run
# pays for the removal or the copying of another's tree. On ext4 the first
# tree made after removing the last round's copies runs markedly slower
# (seconds of system time in the rewrites' O_TMPFILE opens, whichever
# program works on it), so a spare copy is made first and the programs'
# copies follow in the round's order.
fresh_copies() {
    rm -rf "$base/work-"*
    for name in spare "$@"; do
        cp -a "$pristine" "$base/work-$name"
    done
    sync
    find "$base"/work-* -type f -exec cat {} + > /dev/null
    sleep 2
}

# Runs a command and prints "elapsed user system" in seconds.
timed() {
    sync
    sleep 1
    /usr/bin/time -f "%e %U %S" -o "$base/time" "$@" > "$base/stdout" 2> "$base/stderr" || {
        cat "$base/stderr" >&2
        exit 1
    }
    cat "$base/time"
}

run() {
    case $1 in
    cli) timed "$cli" --data --recurse --replace --in-place --pattern "$2" --rep thread "$3" ;;
    window) timed "$gui" "$3" "$2" thread ;;
    headless) timed "$gui" --headless "$3" "$2" thread ;;
    esac
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
best() { printf '%s\n' "$@" | sort -n | head -1; }
cpu() { echo "$2 + $3" | bc; }

# Two workloads: "needle" is in a third of the files, which are written back;
# "absent" is in none, so every file is read and searched and none written
# (the program's own per-file work without the kernel's write costs).
for pattern in needle absent; do
    cli_e="" window_e="" headless_e="" cli_c="" window_c="" headless_c="" window_r="" window_s=""
    for round in $(seq "$rounds"); do
        # The order turns each round, so that each program runs first,
        # second and third equally often.
        case $((round % 3)) in
        1) order="cli window headless" ;;
        2) order="window headless cli" ;;
        0) order="headless cli window" ;;
        esac
        [ $pattern = absent ] && [ $round -gt 1 ] || fresh_copies $order
        line="$pattern round $round (elapsed user system):"
        for name in $order; do
            t=$(run $name $pattern "$base/work-$name")
            line="$line $name $t |"
            if [ $name = window ]; then
                # gui_run_bench prints the run's own time: click to dismissed summary.
                window_r="$window_r $(cat "$base/stdout")"
                # ... and on standard error the longest stall of its event loop.
                stall=$(sed -n 's/^longest event-loop stall: \([0-9.]*\) ms$/\1/p' "$base/stderr")
                window_s="$window_s $stall"
                line="$line (run $(cat "$base/stdout"), stall $stall ms) |"
            fi
            eval "${name}_e=\"\$${name}_e $(echo $t | cut -d' ' -f1)\""
            eval "${name}_c=\"\$${name}_c $(cpu $t)\""
        done
        echo "$line"
    done
    ce=$(median $cli_e) ge=$(median $window_e) he=$(median $headless_e)
    cc=$(median $cli_c) gc=$(median $window_c) hc=$(median $headless_c)
    echo "$pattern median elapsed: cli $ce s, window $ge s, headless $he s;" \
         "window/cli $(echo "scale=3; $ge / $ce" | bc)"
    echo "$pattern median cpu (user+system): cli $cc s, window $gc s, headless $hc s;" \
         "window/cli $(echo "scale=3; $gc / $cc" | bc)"
    gr=$(median $window_r)
    echo "$pattern median window run from the click to the dismissed summary: $gr s;" \
         "/cli $(echo "scale=3; $gr / $ce" | bc)"
    echo "$pattern longest event-loop stall of the window during a run:" \
         "median $(median $window_s) ms, worst $(printf '%s\n' $window_s | sort -n | tail -1) ms"
    # The disk's own delays only ever add time: the best round of each is the
    # figure least disturbed by them.
    cb=$(best $cli_e) gb=$(best $window_e) rb=$(best $window_r)
    echo "$pattern best elapsed: cli $cb s, window $gb s; window/cli $(echo "scale=3; $gb / $cb" | bc);" \
         "best window run $rb s; /cli $(echo "scale=3; $rb / $cb" | bc)"
done
rm -rf "$base/work-"*
