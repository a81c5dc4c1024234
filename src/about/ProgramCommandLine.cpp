#include "about/ProgramCommandLine.h"

#include "platform/settings/Settings.h"

#include <cstdio>
#include <cstring>

namespace tarnis {

std::optional<int> AnswerInfoArguments(int argc, const char *const *argv) {
    if (argc != 2) return std::nullopt;
    const QByteArray name = kAppTitle.toUtf8();
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %d.%d.%d\n", name.constData(), TARNIS_VERSION_MAJOR, TARNIS_VERSION_MINOR,
                    TARNIS_VERSION_PATCH);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Aufruf: %s [TEST | --version | --help]\n"
                    "\n"
                    "  TEST       sucht neue Versionen auf dem Testserver dieses Rechners\n"
                    "  --version  nennt Programm und Version\n"
                    "  --help     zeigt diese Hilfe\n",
                    argv[0]);
        return 0;
    }
    return std::nullopt;
}

}  // namespace tarnis
