#!/usr/bin/env bash
# File-data and file-name runs of quarvel-cli on every core, side by side
# with sd and sed -i, in alternating rounds (medians printed at the end):
#   dense  "the" -> "THE" over a 20,000-file tree (100 folders, ~300 MB,
#          every file changes), on ext4 (BENCH_DIR) and on tmpfs (SHM_DIR):
#          quarvel-cli (default jobs), quarvel-cli --jobs 1, sd -s, sed -i;
#   rare   a word in 1% of the same tree's files: quarvel-cli (default jobs
#          and --jobs 1) against the same-work floor (a C loop reading every
#          file and writing back the changed ones through a temporary file
#          and a rename, then one syncfs as quarvel-cli makes), on ext4;
#   names  lower-casing 50,000 names (50 folders of 1,000): quarvel-cli
#          --names (with and without the journal) against the floor
#          (listings and one rename call a name, then one syncfs).
# Every program works on a fresh copy of the tree (made before its timing,
# warm cache); the results of the dense runs must be the same tree. The
# journal (undo) is on, as by default, and lives on the tree's file system.
# Each round line carries the load average when it ended.
#
#   bench/parallel.sh [ROUNDS]        uses build/bench/cli/quarvel-cli
#   QUARVEL_CLI=path BENCH_DIR=/var/tmp/x SHM_DIR=/dev/shm/x bench/parallel.sh 5
#   SECTIONS="dense rare names" (the default) selects sections
# Needs: cc, perl, GNU time, sd, sed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${QUARVEL_CLI:-$root/build/bench/cli/quarvel-cli}"
disk="${BENCH_DIR:-/var/tmp/quarvel-parallel}"
shm="${SHM_DIR:-/dev/shm/quarvel-parallel}"
rounds="${1:-3}"
sections=" ${SECTIONS:-dense rare names} "
[ -x "$cli" ] || { echo "no quarvel-cli at $cli (set QUARVEL_CLI)" >&2; exit 2; }
command -v sd >/dev/null || { echo "sd is not installed" >&2; exit 2; }
mkdir -p "$disk/bin" "$shm"

# ---------------------------------------------------------------- floors
cat >"$disk/bin/floor_rewrite.c" <<'C'
/* Reads every regular file below ROOT whole; where FIND occurs, writes the
 * pieces between the occurrences and REP to a temporary file in the same
 * folder and renames it over the file. One process, one core. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
static const char *find, *rep;
static size_t findLen, repLen, inCap;
static char *in;
static void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n <= 0) { perror("write"); exit(1); }
        data += n; size -= (size_t)n;
    }
}
static int visit(const char *path, const struct stat *st, int type, struct FTW *ftw)
{
    (void)ftw;
    if (type != FTW_F || !S_ISREG(st->st_mode)) return 0;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    if ((size_t)st->st_size + 1 > inCap) {
        free(in); inCap = (size_t)st->st_size + 1; in = malloc(inCap);
        if (!in) { perror("malloc"); exit(1); }
    }
    size_t len = 0;
    for (ssize_t got; len < inCap && (got = read(fd, in + len, inCap - len)) > 0;) len += (size_t)got;
    close(fd);
    char *hit = memmem(in, len, find, findLen);
    if (!hit) return 0;
    char tmp[4200];
    snprintf(tmp, sizeof tmp, "%s.floor-tmp", path);
    int w = open(tmp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st->st_mode & 07777);
    if (w < 0) { perror(tmp); return 0; }
    size_t at = 0;
    while (hit) {
        size_t pos = (size_t)(hit - in);
        writeAll(w, in + at, pos - at); writeAll(w, rep, repLen);
        at = pos + findLen;
        hit = memmem(in + at, len - at, find, findLen);
    }
    writeAll(w, in + at, len - at);
    close(w);
    if (rename(tmp, path) != 0) perror("rename");
    return 0;
}
int main(int argc, char **argv)
{
    if (argc != 4) { fprintf(stderr, "usage: floor_rewrite ROOT FIND REP\n"); return 2; }
    find = argv[2]; findLen = strlen(find); rep = argv[3]; repLen = strlen(rep);
    return nftw(argv[1], visit, 64, FTW_PHYS) != 0;
}
C
cat >"$disk/bin/floor_rename.c" <<'C'
/* Lower-cases the ASCII letters of every file name below ROOT: each folder
 * is listed whole, then its files are renamed one rename call each. */
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
static void folder(const char *path)
{
    DIR *dir = opendir(path);
    if (!dir) { perror(path); return; }
    char **names = NULL; unsigned char *isDir = NULL; size_t n = 0, cap = 0;
    struct dirent *e;
    while ((e = readdir(dir))) {
        if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
        if (n == cap) {
            cap = cap ? cap * 2 : 1024;
            names = realloc(names, cap * sizeof *names); isDir = realloc(isDir, cap);
        }
        names[n] = strdup(e->d_name); isDir[n++] = e->d_type == DT_DIR;
    }
    closedir(dir);
    char from[4200], to[4200];
    for (size_t i = 0; i < n; ++i) {
        snprintf(from, sizeof from, "%s/%s", path, names[i]);
        if (isDir[i]) { folder(from); free(names[i]); continue; }
        int changed = 0;
        for (char *c = names[i]; *c; ++c)
            if (isupper((unsigned char)*c)) { *c = (char)tolower((unsigned char)*c); changed = 1; }
        snprintf(to, sizeof to, "%s/%s", path, names[i]);
        if (changed && rename(from, to) != 0) perror(from);
        free(names[i]);
    }
    free(names); free(isDir);
}
int main(int argc, char **argv)
{
    if (argc != 2) { fprintf(stderr, "usage: floor_rename ROOT\n"); return 2; }
    folder(argv[1]);
    return 0;
}
C
cc -O2 -o "$disk/bin/floor_rewrite" "$disk/bin/floor_rewrite.c"
cc -O2 -o "$disk/bin/floor_rename" "$disk/bin/floor_rename.c"

# ---------------------------------------------------------------- corpora
gen_tree() { # DIR: 100 folders of 200 files, 5-25 KB of word lines with many "the"
    perl -e '
        use strict; my ($dir) = @ARGV; srand(19);
        my @w = qw(the of and to in is that it was for on are with as his they
                   be at one have this from or had by word but what some we can
                   out other were all there when up use your how said an each);
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
                substr($content, int(rand length $content), 0) = " QVRARE " if rand() < 0.01;
                open(my $out, ">", sprintf("%s/doc%05d.txt", $sub, $i)) or die "$!";
                print $out $content;
                close $out;
            }
        }' "$1"
}
gen_names() { # DIR: 50 folders of 1,000 empty files with upper-case names (hard links)
    mkdir -p "$1" && : >"$1/.seed"
    perl -e '
        use strict; my ($dir) = @ARGV;
        for my $f (0 .. 49) {
            my $sub = sprintf("%s/g%02d", $dir, $f);
            mkdir $sub or die "$sub: $!";
            link("$dir/.seed", sprintf("%s/REPORT_%05d.TXT", $sub, $_)) or die "$!" for 0 .. 999;
        }' "$1"
}
restore_names() { # DIR: the upper-case names back
    perl -e 'for my $d (glob "$ARGV[0]/g*") { opendir(my $h, $d) or die;
        for (readdir $h) { next unless /^report/; rename "$d/$_", "$d/" . uc or die } }' "$1"
}
[ -d "$disk/pristine" ] || { echo "== generating the tree under $disk (once)" >&2; mkdir -p "$disk/pristine"; gen_tree "$disk/pristine"; }
[ -d "$disk/names" ] || gen_names "$disk/names"

# ---------------------------------------------------------------- runs
tree_sum() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 cat | md5sum | cut -c1-12); }
seconds() { /usr/bin/time -f %e -o "$disk/time" "$@" >/dev/null 2>"$disk/err" || { cat "$disk/err" >&2; exit 1; }; cat "$disk/time"; }
load() { cut -d' ' -f1 /proc/loadavg; }
fresh() { # BASE: a fresh copy of the pristine tree at BASE/work, its journal folder emptied
    rm -rf "$1/work" "$1/state"
    cp -a "$disk/pristine" "$1/work"
    mkdir -p "$1/state"
    # The copy goes to disk now: the syncfs quarvel-cli ends with would
    # otherwise write it too, and sd's and sed's runs would overlap it.
    sync -f "$1/work"
}
quarvel() { # BASE FIND REP [OPTIONS]
    local base=$1 find=$2 rep=$3; shift 3
    HOME="$base/state" XDG_STATE_HOME="$base/state" seconds "$cli" --data --pattern "$find" \
        --rep "$rep" --replace --match-case --in-place --recurse "$@" "$base/work"
}
sd_run() { (cd "$1/work" && seconds sh -c 'find . -type f -print0 | xargs -0 sd -s the THE'); }
sed_run() { (cd "$1/work" && seconds sh -c 'find . -type f -print0 | xargs -0 sed -i s/the/THE/g'); }

declare -A times
note() { times[$1]="${times[$1]:-} $2"; }
median() { printf '%s\n' $1 | sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

dense_round() { # NAME BASE
    local name=$1 base=$2 t sum want=""
    for tool in quarvel quarvel-j1 sd sed; do
        fresh "$base"
        case $tool in
            quarvel) t=$(quarvel "$base" the THE) ;;
            quarvel-j1) t=$(quarvel "$base" the THE --jobs 1) ;;
            sd) t=$(sd_run "$base") ;;
            sed) t=$(sed_run "$base") ;;
        esac
        sum=$(tree_sum "$base/work")
        [ -z "$want" ] && want=$sum
        [ "$sum" = "$want" ] || { echo "$tool on $name left another tree ($sum, not $want)" >&2; exit 1; }
        note "$name $tool" "$t"
        printf ' %s %s s (load %s) |' "$tool" "$t" "$(load)"
    done
}
rare_round() {
    local t
    fresh "$disk"; t=$(quarvel "$disk" QVRARE QVDONE); note "rare quarvel" "$t"; printf ' quarvel %s s (load %s) |' "$t" "$(load)"
    fresh "$disk"; t=$(quarvel "$disk" QVRARE QVDONE --jobs 1); note "rare quarvel-j1" "$t"; printf ' quarvel --jobs 1 %s s (load %s) |' "$t" "$(load)"
    fresh "$disk"; t=$(seconds sh -c '"$1" "$2" QVRARE QVDONE && sync -f "$2"' - "$disk/bin/floor_rewrite" "$disk/work")
    note "rare floor" "$t"; printf ' floor+syncfs %s s (load %s) |' "$t" "$(load)"
}
names_round() {
    local t
    rm -rf "$disk/state"; mkdir -p "$disk/state"; sync -f "$disk/names"
    t=$(HOME="$disk/state" XDG_STATE_HOME="$disk/state" seconds "$cli" --names --lower-file \
        --lower-ext --in-place --recurse "$disk/names")
    restore_names "$disk/names"; note "names quarvel" "$t"; printf ' quarvel %s s (load %s) |' "$t" "$(load)"
    sync -f "$disk/names"
    t=$(seconds sh -c '"$1" "$2" && sync -f "$2"' - "$disk/bin/floor_rename" "$disk/names")
    restore_names "$disk/names"; note "names floor" "$t"; printf ' floor+syncfs %s s (load %s) |' "$t" "$(load)"
    sync -f "$disk/names"
    t=$(HOME="$disk/state" XDG_STATE_HOME="$disk/state" seconds "$cli" --names --lower-file \
        --lower-ext --in-place --recurse --no-journal "$disk/names")
    restore_names "$disk/names"; note "names quarvel-nojournal" "$t"; printf ' quarvel --no-journal %s s (load %s) |' "$t" "$(load)"
}

uname -srm; nproc; uptime; sd --version
for round in $(seq 1 "$rounds"); do
    if [[ $sections == *" dense "* ]]; then
        printf 'round %s dense ext4:' "$round"; dense_round ext4 "$disk"; echo
        printf 'round %s dense tmpfs:' "$round"; dense_round tmpfs "$shm"; echo
    fi
    if [[ $sections == *" rare "* ]]; then printf 'round %s rare ext4:' "$round"; rare_round; echo; fi
    if [[ $sections == *" names "* ]]; then printf 'round %s names ext4:' "$round"; names_round; echo; fi
done
rm -rf "$disk/work" "$shm/work" "$shm/state"
echo "medians of $rounds rounds (seconds):"
for key in "${!times[@]}"; do echo "  $key: $(median "${times[$key]}")"; done | sort
ratio() { awk -v a="$(median "${times[$1]}")" -v b="$(median "${times[$2]}")" 'BEGIN { printf "%.2f", a / b }'; }
[[ $sections == *" dense "* ]] && for fs in ext4 tmpfs; do
    echo "  dense $fs: quarvel / sd $(ratio "$fs quarvel" "$fs sd"), quarvel / sed -i $(ratio "$fs quarvel" "$fs sed"), quarvel / quarvel --jobs 1 $(ratio "$fs quarvel" "$fs quarvel-j1")"
done
[[ $sections == *" rare "* ]] && echo "  rare: quarvel / floor $(ratio "rare quarvel" "rare floor"), quarvel --jobs 1 / floor $(ratio "rare quarvel-j1" "rare floor")"
[[ $sections == *" names "* ]] && echo "  names: quarvel / floor $(ratio "names quarvel" "names floor"), quarvel --no-journal / floor $(ratio "names quarvel-nojournal" "names floor")"
uptime
