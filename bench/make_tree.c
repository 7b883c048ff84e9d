/* Makes FOLDERS folders of FILES files each below ROOT for the million-file
 * benchmark: names with capitals ("Folder_0007/File_0000123.TXT") so that the
 * lower-casing run renames every one, and a short line of content without
 * the pattern the file-data run searches for (none with EMPTY set in the
 * environment). Plain open/write/close calls:
 * a shell or Python loop would take longer than the runs measured. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: make_tree ROOT FOLDERS FILES_PER_FOLDER\n");
        return 2;
    }
    const char* root = argv[1];
    const long folders = atol(argv[2]);
    const long files = atol(argv[3]);
    static const char line[] = "plain text\n";
    const int withContent = getenv("EMPTY") == NULL;
    char path[4096];
    if (mkdir(root, 0755) != 0) {
        perror(root);
        return 1;
    }
    for (long f = 0; f < folders; ++f) {
        snprintf(path, sizeof path, "%s/Folder_%04ld", root, f);
        if (mkdir(path, 0755) != 0) {
            perror(path);
            return 1;
        }
        const int dir = open(path, O_RDONLY | O_DIRECTORY);
        for (long i = 0; i < files; ++i) {
            char name[64];
            snprintf(name, sizeof name, "File_%07ld.TXT", f * files + i);
            const int fd = openat(dir, name, O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0 ||
                (withContent && write(fd, line, sizeof line - 1) != (ssize_t)(sizeof line - 1))) {
                perror(name);
                return 1;
            }
            close(fd);
        }
        close(dir);
    }
    return 0;
}
