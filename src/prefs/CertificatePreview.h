#pragma once
// The designer's one-page preview, drawn from what its fields hold (never from the
// store): every line's text as typed at its position, in its font and colour, over
// the background picture.
#include "platform/printing/DocumentBuilder.h"
#include "prefs/PrefsState.h"

#include <memory>

namespace tarnis::prefs {

// Draws lines 0 to mUrkundenzeilen - 1. The background is drawn only when
// `backgroundLoads` (a picture that cannot be loaded leaves the lines alone).
std::shared_ptr<const print::Document> PrintPreview(print::IDocumentBuilder &builder, const CertificatePage &page,
                                                    bool backgroundLoads);

}  // namespace tarnis::prefs
