#include "cli/UsageText.h"

#ifndef QUARVEL_VERSION
#define QUARVEL_VERSION "unknown"
#endif

namespace quarvel::cli {

std::string usageLine()
{
    return "Usage: quarvel-cli [OPTIONS] START_DIR\n"
           "       quarvel-cli --undo [--dry-run]\n";
}

std::string helpText()
{
    return usageLine() + R"(Morphs the names or the contents of the files below START_DIR, as the
Quarvel window does, and writes every log line to standard output.

Mode (exactly one; with --saved the stored mode is kept when neither is given):
  --names               file-name mode: rename and/or copy files under new names
  --data                file-data mode: rewrite the contents of files
Files:
  --mask MASK           file mask (default "*.*"): * any run, ? one character
  --recurse             walk the whole subtree below START_DIR
Pattern:
  --pattern TEXT        the text to find
  --rep TEXT            the replacement, and the text --prepend/--append add
  --replace             replace the pattern with the --rep text
  --prepend, --append   put the --rep text before / after the contents (--data)
  --match-case          match the pattern's letter case
  --whole-word          match whole words only (--data)
  --ignore-crlf         pass over CR and LF bytes while matching (--data)
  --crlf-as-space       let a space in the pattern match CR LF (--data)
  --regex               the pattern is a PCRE2 regular expression; --rep may
                        hold $1, ${1}, ${name} ($$ is a $). Not with
                        --whole-word, --ignore-crlf or --crlf-as-space
  --unicode-case        lower-casing and case-blind matching follow Unicode
                        for UTF-8 text (otherwise ASCII letters only)
  --lower-file          lower-case the file name
  --lower-ext           lower-case the extension
Results:
  --in-place            change the files themselves
  --copy-to DIR         write the results as copies in a parallel tree below DIR
Run:
  --interactive         ask before every operation on standard error; answer
                        y, a, n or c on standard input (end of input: c)
  --saved               start from the settings the window stored instead of
                        all off; the other options apply on top. Never writes
                        the stored settings.
  --dry-run             change nothing on disk; print the log the run would
                        write, the failures the disk decides included
  --json                write one JSON object per operation and a last
                        summary object to standard output instead of the log
                        (JSON Lines; see quarvel-cli(1))
  --no-journal          write no undo journal for this run
  --jobs N              read and stage up to N files at once (default: the
                        number of processors online); the log, the counts and
                        the changes come in the same order as with --jobs 1.
                        Runs with --interactive or --dry-run and file-name
                        mode go one file at a time
  --undo                reverse the last run, newest operation first; a file
                        changed since is left alone with a failure line.
                        Takes only --dry-run (print what it would do)
  --help                show this text and exit
  --version             show the version and exit

Options that take a value also take the form --option=VALUE; "--" ends the
options. Texts are used byte for byte.

A run that cannot change any file still runs, after one line on standard
error that names the missing option.

Exit status: 0 when no operation failed, 1 when an operation failed, 2 for a
usage error (a bad --regex expression included) or a missing --copy-to folder, 130 when interrupted (SIGINT or SIGTERM: the operation under way
is finished, the summary is printed, then "Interrupted").
)";
}

std::string versionText()
{
    return std::string("quarvel-cli ") + QUARVEL_VERSION + "\n";
}

} // namespace quarvel::cli
