#pragma once
// The per-user settings store: our own INI file "Lrv. Tarnis.ini" in the user's
// configuration folder. Section and key names are compared without regard to case,
// the spelling of the first write is kept, values are stored raw as text, and every
// write is saved at once and atomically.
#include <QString>
#include <QList>
#include <QStringList>

namespace tarnis {

inline const QString kAppTitle = QStringLiteral("Lrv. Tarnis");

QString GetSetting(const QString &section, const QString &key, const QString &fallback = QString());
void SaveSetting(const QString &section, const QString &key, const QString &value);
void DeleteSetting(const QString &section, const QString &key);

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
