/* The floor of a move-based rewrite of a folder's directory order: the bare renames and
 * folder changes such a rewrite cannot do without, in one process, nothing else. Every entry
 * named in NAMES (one a line, the arranged order) goes into QZ_TEMP1, then into QZ_TEMP2,
 * then back into FOLDER; the two folders are made and removed around that.
 *
 *     rename_floor FOLDER NAMES
 *
 * Built static (gcc -static -O2), so that it runs in the kernel bench's guest as it is. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char names[4096][256];
static int count;

static void must(int ok, const char* what, const char* name) {
    if (!ok) {
        perror(what);
        fprintf(stderr, "  on %s\n", name);
        exit(1);
    }
}

static void move_all(const char* from, const char* to) {
    char a[4096], b[4096];
    for (int i = 0; i < count; ++i) {
        snprintf(a, sizeof a, "%s/%s", from, names[i]);
        snprintf(b, sizeof b, "%s/%s", to, names[i]);
        must(rename(a, b) == 0, "rename", a);
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: rename_floor FOLDER NAMES\n");
        return 2;
    }
    FILE* list = fopen(argv[2], "r");
    must(list != NULL, "open", argv[2]);
    while (count < 4096 && fgets(names[count], sizeof names[count], list) != NULL) {
        names[count][strcspn(names[count], "\n")] = '\0';
        if (names[count][0] != '\0') {
            ++count;
        }
    }
    fclose(list);
    char first[4096], second[4096];
    snprintf(first, sizeof first, "%s/QZ_TEMP1", argv[1]);
    snprintf(second, sizeof second, "%s/QZ_TEMP2", argv[1]);
    must(mkdir(first, 0755) == 0, "mkdir", first);
    move_all(argv[1], first);
    must(mkdir(second, 0755) == 0, "mkdir", second);
    move_all(first, second);
    must(rmdir(first) == 0, "rmdir", first);
    move_all(second, argv[1]);
    must(rmdir(second) == 0, "rmdir", second);
    return 0;
}
