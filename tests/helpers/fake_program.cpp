// A stand-in for a downloaded program in the update tests. Its answer to "--version"
// follows its mode: FAKE_PROGRAM_MODE, or else a last line "FAKE_PROGRAM_MODE=<mode>"
// appended to the program file itself (so an archive can carry it).
//   none or "good"  answers like a good program: "Lrv. Tarnis 9.8.7", or the text of
//                   FAKE_PROGRAM_OUTPUT when that is set
//   "fail"          exits 3; "silent" exits 0 without a word; "hang" never answers
//   "fork-hang"     starts a child that stays (in its process group), then never answers
//   "fork-answer"   starts such a child, then answers like a good program
//   "flood"         writes 256 MiB to standard error, then 256 MiB to standard output
//                   without a line end, then never answers (bounded, so that a check
//                   that keeps it all fails without taking the machine's memory)
//   "line-flood"    writes a good program's line, then 256 MiB more to standard
//                   output, then exits 3
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

std::string modeOfFile() {
    std::FILE *self = std::fopen("/proc/self/exe", "rb");
    if (!self) return {};
    char tail[64];
    std::fseek(self, -static_cast<long>(sizeof tail), SEEK_END);
    const std::string text(tail, std::fread(tail, 1, sizeof tail, self));
    std::fclose(self);
    const std::string marker = "\nFAKE_PROGRAM_MODE=";
    const std::size_t at = text.rfind(marker);
    if (at == std::string::npos || text.back() != '\n') return {};
    return text.substr(at + marker.size(), text.size() - at - marker.size() - 1);
}

void hang() {
    for (;;) ::pause();
}

void flood(int fd, std::size_t bytes) {
    static char block[1 << 16];
    std::memset(block, 'x', sizeof block);
    for (std::size_t done = 0; done < bytes;) {
        const ssize_t written = ::write(fd, block, std::min(sizeof block, bytes - done));
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

int main(int argc, char **argv) {
    const char *given = std::getenv("FAKE_PROGRAM_MODE");
    const std::string mode = given ? given : modeOfFile();
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0) return 2;
    if (mode == "fail") return 3;
    if (mode == "silent") return 0;
    if (mode == "hang") hang();
    if (mode == "flood") {
        flood(STDERR_FILENO, std::size_t(256) << 20);
        flood(STDOUT_FILENO, std::size_t(256) << 20);
        hang();
    }
    if (mode == "line-flood") {
        std::fputs("Lrv. Tarnis 9.8.7\n", stdout);
        std::fflush(stdout);
        flood(STDOUT_FILENO, std::size_t(256) << 20);
        return 3;
    }
    if (mode == "fork-hang" || mode == "fork-answer") {
        if (::fork() == 0) hang();
        if (mode == "fork-hang") hang();
    }
    const char *output = std::getenv("FAKE_PROGRAM_OUTPUT");
    std::fputs(output ? output : "Lrv. Tarnis 9.8.7\n", stdout);
    return 0;
}
