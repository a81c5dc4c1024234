#pragma once
// A print control whose builder measures with the real fonts, as the program lays out.
#include "../tests/print/print_support.h"
#include "platform/qt/QtTextMetrics.h"

namespace tarnis::bench {

class LayoutControl : public printtest::FakeControl {
public:
    print::QtTextMetrics fonts;
    print::DocumentBuilder realBuilder{fonts, [] { return print::PageSetup{}; }};
    print::IDocumentBuilder &builder() override { return realBuilder; }
};

}  // namespace tarnis::bench
