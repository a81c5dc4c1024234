#include "platform/ui/Ui.h"

#include <cstdlib>

namespace tarnis {

namespace {
Ui *current = nullptr;
}

Ui &ui() {
    if (!current) std::abort();  // a programming error: main() or the test sets it first
    return *current;
}

void setUi(Ui *u) { current = u; }

bool uiAvailable() { return current != nullptr; }

}  // namespace tarnis
