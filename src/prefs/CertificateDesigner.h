#pragma once
// The certificate designer's side of the stored layout: what it loads into its
// fields, the content kinds its combos offer, and the line keys the save writes.
#include "prefs/PrefsSave.h"
#include "prefs/PrefsState.h"

#include <QStringList>

namespace tarnis::prefs {

// The line count the designer works with: LastUser/Urkundenzeilen (default 5). A
// stored count it cannot use shows the default; one above 15 shows 15 lines.
int designerLineCount();

// LoadUrkundeLayout: background, orientation and lines 0 to count - 1 from the store,
// with the designer's defaults, over what the designer holds now: lines from count
// on keep their fields, an orientation that is no truth value keeps its option. A
// colour that is no number shows black.
CertificatePage LoadUrkundeLayout(int count, const CertificatePage &current);

// A count changed in the open dialog: the first `held` lines keep what the designer
// shows, and so do background and orientation; only lines shown for the first time
// come from the store, so nothing typed since the dialog opened is lost.
CertificatePage ResizeUrkundeLayout(int count, int held, const CertificatePage &current);

// The kinds each content combo offers, race kinds up to LastUser/MaxLaufErf.
QStringList designerContentKinds();

// The line keys of lines 0 to mUrkundenzeilen - 1, seven per line.
void saveCertificateLines(const CertificatePage &page, const SettingWriter &write);

// LastUser/Urkundenzeilen as it was before the dialog changed it, so that a cancel
// can put it back (or remove it when it was not stored).
struct StoredLineCount {
    bool stored = false;
    QString value;
};
StoredLineCount rememberLineCount();
void restoreLineCount(const StoredLineCount &before);

}  // namespace tarnis::prefs
