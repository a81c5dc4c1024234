#pragma once
// SaveEinstellungen: every value of the preferences dialog's pages into the settings
// store, in one fixed order, the race captions last. A write that fails raises its
// AppError and stops the save there.
#include "prefs/PrefsState.h"

#include <functional>

namespace tarnis::prefs {

// One write to the store: section, key, value. The dialog passes SaveSetting.
using SettingWriter = std::function<void(const QString &, const QString &, const QString &)>;

// The stored forms.
QString colourText(Colour colour);       // signed decimal: white "16777215", button face "-2147483633"
QString trueFalseText(bool value);       // "True" / "False"
QString minusOneText(bool value);        // "-1" / "0"
QString pressCountText(const QString &field);  // the field's leading number ("x" gives "0")

// The text the save stores as the certificate line count: the field while it holds
// a valid count, otherwise the count whose lines the save writes.
QString storedLineCount(const CertificatePage &page);

// Writes every setting. Before it writes the scoring mode it compares it with the
// stored one (default "P"); true when the mode changed.
bool SaveEinstellungen(const PreferencesState &state, const SettingWriter &write);
// The same through the settings store, as one write of its file: when that fails
// (AppError 75) nothing of the save is stored and nothing is told. Once the file is
// written, a changed mode gets the mode-change message.
void SaveEinstellungen(const PreferencesState &state);

// The message shown when the scoring mode changed (lines joined by CR).
QString modeChangeMessage();

}  // namespace tarnis::prefs
