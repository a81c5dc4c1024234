#pragma once
// The per-user settings store: our own INI file "Lrv. Tarnis.ini" in the user's
// configuration folder. Section and key names are compared without regard to case,
// the spelling of the first write is kept, values are stored raw as text, and every
// write is saved at once and atomically (a batch of writes as one).
//
// A file that cannot be read at all is never written over. A file with lines that
// cannot be read, or one over 1 MB (which is not read), is kept as "<file>.bak" before
// it is first rewritten, and the user is told once. Lines that are not UTF-8 are read
// as CP1252.
#include "platform/errors/AppError.h"

#include <QString>
#include <QList>
#include <QStringList>
#include <cstdint>

namespace tarnis {

inline const QString kAppTitle = QStringLiteral("Lrv. Tarnis");

QString GetSetting(const QString &section, const QString &key, const QString &fallback = QString());
// Both raise AppError 75 when the file cannot be read or the change cannot be stored
// (disk full, no access); the file then stays as it was, and the value is not kept in
// memory either. Callers with an error handler report it like any other error.
void SaveSetting(const QString &section, const QString &key, const QString &value);
void DeleteSetting(const QString &section, const QString &key);

// Many changes as one write of the file: while a batch lives, SaveSetting and
// DeleteSetting change the store in memory only (reads see them); commit() writes the
// file once and raises AppError 75 when it cannot, the file then as it was. A batch
// not committed, or whose write failed, leaves the store as the file holds it.
// Batches nest: the outermost one writes.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch &) = delete;
    SettingsBatch &operator=(const SettingsBatch &) = delete;
    void commit();

private:
    bool ended_ = false;
};

// A setting read as a whole number (CLng) or a Boolean (CBool). A stored text of the
// wrong type raises the conversion's error (13, or 6 out of range), whose description
// then names the section, the key and the stored text.
std::int32_t GetSettingLong(const QString &section, const QString &key, const QString &fallback);
bool GetSettingBool(const QString &section, const QString &key, const QString &fallback);
// The same for a field the preferences may store empty: a stored text of blanks only
// counts as not set and gives the reader's default.
QString GetSettingOrDefault(const QString &section, const QString &key, const QString &fallback);
std::int32_t GetSettingLongOrDefault(const QString &section, const QString &key, std::int32_t fallback);
bool GetSettingBoolOrDefault(const QString &section, const QString &key, bool fallback);

// A conversion error of a stored text, its description naming the section, the key
// and the text.
AppError settingError(const AppError &error, const QString &section, const QString &key, const QString &value);

// The file behind the store: $XDG_CONFIG_HOME (else ~/.config) / "Lrv. Tarnis.ini".
QString settingsFilePath();
// Drops what was read, so that the next access reads the file again (tests change
// XDG_CONFIG_HOME between cases).
void reloadSettings();

// One stored setting, section and key in the spelling stored.
struct StoredSetting {
    QString section, key, value;
};
// Every setting of the store, in the order of the file.
QList<StoredSetting> AllSettings();

}  // namespace tarnis
