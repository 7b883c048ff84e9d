#!/usr/bin/env bash
# Compares quarvel-cli with the usual tools on generated corpora, in one run:
#   1. in-place replacement over a tree of 20,000 files (~300 MB, about 1% of
#      the files hold the pattern): quarvel-cli --data, find | xargs sed -i,
#      perl -pi, sd, and the floor (a C loop that reads every file and writes
#      back the changed ones through a temporary file and a rename);
#   2. the same over one 1 GiB file;
#   3. lower-casing 50,000 file names: quarvel-cli --names, perl rename, and
#      the floor (a C loop of listings and rename calls).
# Each tool runs on the same corpus with a warm cache; its result is checked
# (checksum of the whole corpus) and the corpus is put back before the next.
# Prints a table: best of REPEAT runs, seconds and peak memory.
#
#   bench/peers.sh                 uses build-cli/cli/quarvel-cli
#   QUARVEL_CLI=path bench/peers.sh
#   REPEAT=3 BENCH_DIR=/var/tmp/x bench/peers.sh
#   SECTIONS="big names" bench/peers.sh     only some of: tree big names
# Needs: cc, perl, GNU time; sd and rename (Debian packages) when installed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${QUARVEL_CLI:-$root/build-cli/cli/quarvel-cli}"
work="${BENCH_DIR:-/var/tmp/quarvel-bench}"
repeat="${REPEAT:-2}"
sections=" ${SECTIONS:-tree big names} "
find_text=QVMARK_ALPHA
rep_text=QVMARK_OMEGA

[ -x "$cli" ] || { echo "no quarvel-cli at $cli (set QUARVEL_CLI)" >&2; exit 2; }
mkdir -p "$work/bin"

# ---------------------------------------------------------------- floors
cat >"$work/bin/floor_rewrite.c" <<'EOF'
/* Reads every regular file below ROOT whole (one buffer of the file's size);
 * where FIND occurs, writes the pieces between the occurrences and REP to a
 * temporary file in the same folder, at most 1 MiB per write call, and
 * renames it over the file. With SYNC=1 calls syncfs once at the end. No
 * fsync per file, no copy of the content in memory. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static const char *find, *rep;
static size_t findLen, repLen;
static char *in;
static size_t inCap;

static void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size < (1u << 20) ? size : (1u << 20));
        if (n <= 0) { perror("write"); exit(1); }
        data += n;
        size -= (size_t)n;
    }
}

static int visit(const char *path, const struct stat *st, int type, struct FTW *ftw)
{
    (void)ftw;
    if (type != FTW_F || !S_ISREG(st->st_mode)) return 0;
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    if ((size_t)st->st_size + 1 > inCap) {
        free(in);
        inCap = (size_t)st->st_size + 1;
        in = malloc(inCap);
        if (!in) { perror("malloc"); exit(1); }
    }
    size_t len = 0;
    for (ssize_t got; len < inCap && (got = read(fd, in + len, inCap - len)) > 0;)
        len += (size_t)got;
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
        writeAll(w, in + at, pos - at);
        writeAll(w, rep, repLen);
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
    if (nftw(argv[1], visit, 64, FTW_PHYS) != 0) { perror("nftw"); return 1; }
    const char *sync = getenv("SYNC");
    if (sync && *sync == '1') {
        int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
        syncfs(fd);
        close(fd);
    }
    return 0;
}
EOF

cat >"$work/bin/floor_rename.c" <<'EOF'
/* Lower-cases (or, with "upper", upper-cases) the ASCII letters of every
 * file name below ROOT: each folder is listed whole, then its files are
 * renamed one rename call each. */
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int upper;

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
            names = realloc(names, cap * sizeof *names);
            isDir = realloc(isDir, cap);
        }
        names[n] = strdup(e->d_name);
        isDir[n++] = e->d_type == DT_DIR;
    }
    closedir(dir);
    char from[4200], to[4200];
    for (size_t i = 0; i < n; ++i) {
        snprintf(from, sizeof from, "%s/%s", path, names[i]);
        if (isDir[i]) { folder(from); free(names[i]); continue; }
        char *name = names[i];
        int changed = 0;
        for (char *c = name; *c; ++c) {
            int d = upper ? toupper((unsigned char)*c) : tolower((unsigned char)*c);
            if (d != *c && (unsigned char)*c < 0x80) { *c = (char)d; changed = 1; }
        }
        snprintf(to, sizeof to, "%s/%s", path, name);
        if (changed && rename(from, to) != 0) perror(from);
        free(name);
    }
    free(names);
    free(isDir);
}

int main(int argc, char **argv)
{
    if (argc < 2) { fprintf(stderr, "usage: floor_rename ROOT [upper]\n"); return 2; }
    upper = argc > 2 && !strcmp(argv[2], "upper");
    folder(argv[1]);
    return 0;
}
EOF
cc -O2 -o "$work/bin/floor_rewrite" "$work/bin/floor_rewrite.c"
cc -O2 -o "$work/bin/floor_rename" "$work/bin/floor_rename.c"

# ---------------------------------------------------------------- corpora
# A text of 8 MB of random word lines; files are slices of it, and the
# pattern is put into a few of them. The words never form the pattern or
# its replacement.
gen_tree() { # DIR FILES FOLDERS RATE -> prints the files that hold the pattern
    perl -e '
        use strict; my ($dir, $files, $folders, $rate) = @ARGV; srand(7);
        my @w = qw(alpha beta gamma delta lorem ipsum dolor sit amet consectetur
                   adipiscing elit sed do eiusmod tempor incididunt ut labore et
                   dolore magna aliqua morph file data name folder mask pattern);
        my $text = "";
        while (length($text) < (8 << 20)) {
            $text .= join(" ", map { $w[rand @w] } 1 .. 5 + int(rand 10)) . "\n";
        }
        for my $f (0 .. $folders - 1) {
            my $sub = sprintf("%s/f%03d", $dir, $f);
            mkdir $sub or die "$sub: $!";
            for my $i (0 .. $files / $folders - 1) {
                my $size = 5000 + int(rand 20000);
                my $content = substr($text, int(rand(length($text) - $size)), $size);
                my $path = sprintf("%s/doc%05d.txt", $sub, $i);
                if (rand() < $rate) {
                    substr($content, int(rand length $content), 0) = " QVMARK_ALPHA ";
                    print "$path\n";
                }
                open(my $out, ">", $path) or die "$path: $!";
                print $out $content;
                close $out;
            }
        }' "$@"
}

gen_big_file() { # PATH: 1 GiB in 128 slices of 8 MB, each with 10 occurrences
    perl -e '
        use strict; my ($path) = @ARGV; srand(11);
        my @w = qw(alpha beta gamma delta lorem ipsum dolor sit amet morph data);
        my $text = "";
        while (length($text) < (8 << 20)) {
            $text .= join(" ", map { $w[rand @w] } 1 .. 5 + int(rand 10)) . "\n";
        }
        $text = substr($text, 0, (8 << 20) - 140);
        open(my $out, ">", $path) or die "$path: $!";
        for (1 .. 128) {
            my $piece = $text;
            substr($piece, int(rand length $piece), 0) = " QVMARK_ALPHA " for 1 .. 10;
            print $out $piece;
        }
        close $out;' "$1"
}

gen_names() { # DIR: 50 folders of 1,000 empty files with upper-case names
    perl -e '
        use strict; my ($dir) = @ARGV;
        for my $f (0 .. 49) {
            my $sub = sprintf("%s/g%02d", $dir, $f);
            mkdir $sub or die "$sub: $!";
            for my $i (0 .. 999) {
                open(my $out, ">", sprintf("%s/REPORT_%05d.TXT", $sub, $i)) or die "$!";
                close $out;
            }
        }' "$1"
}

tree="$work/tree" big="$work/big" names="$work/names"
if [ ! -f "$work/corpora.ok" ]; then
    echo "== generating corpora under $work (once)" >&2
    rm -rf "$tree" "$big" "$names" "$work/pristine"
    mkdir -p "$tree" "$big" "$names" "$work/pristine"
    gen_tree "$tree" 20000 100 0.01 >"$work/tree-matches.txt"
    gen_big_file "$big/big.txt"
    cp "$big/big.txt" "$work/pristine/big.txt"
    gen_names "$names"
    touch "$work/corpora.ok"
fi
# Pristine copies of the files that a replacement changes.
mkdir -p "$work/pristine/tree"
while read -r f; do
    dest="$work/pristine/tree/${f#"$tree"/}"
    [ -f "$dest" ] || { mkdir -p "$(dirname "$dest")"; cp -p "$f" "$dest"; }
done <"$work/tree-matches.txt"

tree_sum() { (cd "$tree" && find . -type f -print0 | sort -z | xargs -0 md5sum | md5sum | cut -c1-12); }
big_sum() { md5sum "$big/big.txt" | cut -c1-12; }
names_sum() { (cd "$names" && find . -type f | sort | md5sum | cut -c1-12); }

reset_tree() {
    find "$tree" -name '*.floor-tmp' -delete
    while read -r f; do cp -p "$work/pristine/tree/${f#"$tree"/}" "$f"; done <"$work/tree-matches.txt"
}
reset_big() { cp "$work/pristine/big.txt" "$big/big.txt"; }
reset_names() { "$work/bin/floor_rename" "$names" upper; }
warm() { find "$1" -type f -print0 | xargs -0 cat >/dev/null; }

results="$work/results-$(date +%Y%m%d-%H%M%S).txt"
printf '%-22s %-34s %9s %9s %9s  %s\n' corpus tool seconds "peak MB" "x floor" result | tee "$results"

# run CORPUS TOOL RESET SUM EXPECTED FLOOR_SECONDS CMD... ; sets $best
run() {
    local corpus="$1" tool="$2" reset="$3" sum="$4" expected="$5" floor="$6"
    shift 6
    local i secs mem ok="ok" bestMem=0
    best=""
    for ((i = 0; i < repeat; i++)); do
        "$reset"
        warm "${corpus_dir}"
        # The reset's and the last tool's writes reach the disk before the
        # clock starts, so that no tool pays for them (quarvel-cli's closing
        # syncfs would otherwise flush them).
        sync
        /usr/bin/time -f "%e %M" -o "$work/time.txt" bash -c "$*" >/dev/null 2>"$work/stderr.txt" ||
            ok="exit $?"
        read -r secs mem <"$work/time.txt"
        [ -n "$expected" ] && [ "$("$sum")" != "$expected" ] && ok="WRONG RESULT"
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs bestMem=$mem; fi
    done
    "$reset"
    local ratio="-"
    [ -n "$floor" ] && ratio=$(awk "BEGIN{printf \"%.2f\", $best / $floor}")
    printf '%-22s %-34s %9s %9d %9s  %s\n' "$corpus" "$tool" "$best" $((bestMem / 1024)) "$ratio" "$ok" |
        tee -a "$results"
}

have() { command -v "$1" >/dev/null 2>&1; }
q() { printf '%q' "$1"; }

wants() { [[ "$sections" == *" $1 "* ]]; }

# ---------------------------------------------------------------- 1. tree
if wants tree; then
corpus_dir="$tree"
label="tree 20k files 300 MB"
"$work/bin/floor_rewrite" "$tree" "$find_text" "$rep_text"
expected=$(tree_sum)
reset_tree
run "$label" "floor (read, write back changed)" reset_tree tree_sum "$expected" "" \
    "$(q "$work/bin/floor_rewrite") $(q "$tree") $find_text $rep_text"
floor=$best
run "$label" "floor + one syncfs" reset_tree tree_sum "$expected" "$floor" \
    "SYNC=1 $(q "$work/bin/floor_rewrite") $(q "$tree") $find_text $rep_text"
run "$label" "quarvel-cli --data" reset_tree tree_sum "$expected" "$floor" \
    "$(q "$cli") --data --match-case --recurse --in-place --mask '*.*' --pattern $find_text --rep $rep_text $(q "$tree")"
run "$label" "find | xargs sed -i" reset_tree tree_sum "$expected" "$floor" \
    "find $(q "$tree") -type f -print0 | xargs -0 sed -i s/$find_text/$rep_text/g"
run "$label" "find | xargs perl -pi" reset_tree tree_sum "$expected" "$floor" \
    "find $(q "$tree") -type f -print0 | xargs -0 perl -pi -e s/$find_text/$rep_text/g"
if have sd; then
    run "$label" "find | xargs sd -s" reset_tree tree_sum "$expected" "$floor" \
        "find $(q "$tree") -type f -print0 | xargs -0 sd -s $find_text $rep_text"
else
    printf '%-22s %-34s %9s\n' "$label" "sd" "not installed" | tee -a "$results"
fi
fi

# ---------------------------------------------------------------- 2. 1 GiB
if wants big; then
corpus_dir="$big"
label="one 1 GiB file"
"$work/bin/floor_rewrite" "$big" "$find_text" "$rep_text"
expected=$(big_sum)
reset_big
run "$label" "floor (read, write back)" reset_big big_sum "$expected" "" \
    "$(q "$work/bin/floor_rewrite") $(q "$big") $find_text $rep_text"
floor=$best
run "$label" "floor + one syncfs" reset_big big_sum "$expected" "$floor" \
    "SYNC=1 $(q "$work/bin/floor_rewrite") $(q "$big") $find_text $rep_text"
run "$label" "quarvel-cli --data" reset_big big_sum "$expected" "$floor" \
    "$(q "$cli") --data --match-case --in-place --pattern $find_text --rep $rep_text $(q "$big")"
run "$label" "sed -i" reset_big big_sum "$expected" "$floor" \
    "sed -i s/$find_text/$rep_text/g $(q "$big/big.txt")"
run "$label" "perl -pi" reset_big big_sum "$expected" "$floor" \
    "perl -pi -e s/$find_text/$rep_text/g $(q "$big/big.txt")"
if have sd; then
    run "$label" "sd -s" reset_big big_sum "$expected" "$floor" \
        "sd -s $find_text $rep_text $(q "$big/big.txt")"
fi
fi

# ---------------------------------------------------------------- 3. names
if wants names; then
corpus_dir="$names"
label="lower-case 50k names"
"$work/bin/floor_rename" "$names"
expected=$(names_sum)
reset_names
run "$label" "floor (listing + rename calls)" reset_names names_sum "$expected" "" \
    "$(q "$work/bin/floor_rename") $(q "$names")"
floor=$best
run "$label" "quarvel-cli --names" reset_names names_sum "$expected" "$floor" \
    "$(q "$cli") --names --lower-file --lower-ext --recurse --in-place $(q "$names")"
if have rename; then
    run "$label" "find | xargs rename -d" reset_names names_sum "$expected" "$floor" \
        "find $(q "$names") -type f -print0 | xargs -0 rename -d 'y/A-Z/a-z/'"
else
    printf '%-22s %-34s %9s\n' "$label" "perl rename" "not installed" | tee -a "$results"
fi
fi

echo "results kept in $results" >&2
