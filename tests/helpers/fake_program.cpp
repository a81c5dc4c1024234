// A stand-in for a downloaded program in the update tests. Its answer to "--version"
// follows FAKE_PROGRAM_MODE: unset answers like a good program; "fail" exits 3,
// "silent" exits 0 without a word, "hang" never answers.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv) {
    const char *mode = std::getenv("FAKE_PROGRAM_MODE");
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0) return 2;
    if (mode && std::strcmp(mode, "fail") == 0) return 3;
    if (mode && std::strcmp(mode, "silent") == 0) return 0;
    if (mode && std::strcmp(mode, "hang") == 0) {
        for (;;) ::pause();
    }
    std::printf("Fake 9.8.7\n");
    return 0;
}
