#pragma once
// Small file, text and keyboard routines over the operating system.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarnis {

// Copies source to target. The copy is written beside the target and renamed over it,
// so a failed copy never leaves a half-written target. False on every failure: missing
// source, target present while overwrite is false, source and target the same file, no access,
// a disk that fills up. The reason of a failed read or write goes to error when given.
bool CopyFileOver(const QString &source, const QString &target, bool overwrite, QString *error = nullptr);

// True when the file may not be changed: no access for us, or no write permission for
// anyone (which counts even for a user whom the system would let write regardless).
bool IsWriteProtected(const QString &path);

// The zero date (30.12.1899 00:00:00) that stands for "no date".
QDateTime zeroDate();
// The file's creation time where the file system keeps one, else its last modification, as
// local time to the second; the zero date for a folder, a missing or unreadable file.
QDateTime GetFileDate(const QString &path);

// True when a directory search for normal files finds path: a folder or a hidden file
// (leading dot) is not found; "*" and "?" match as in a listing.
bool FileExists(const QString &path);

// Comparison modes of NextToken and SplitText.
constexpr int kCompareBinary = 0;
constexpr int kCompareText = 1;

// The text before the first delimiter, with text shortened to what follows the
// delimiter; nothing (text unchanged) when no delimiter is left.
std::optional<QString> NextToken(QString &text, const QString &delimiter, int compare);
// Splits text at delimiter into parts and returns a copy of them. An empty delimiter
// becomes " " (also in the caller's variable). limit -1 splits everywhere; limit n >= 1
// gives at most n pieces followed by the unsplit rest. There is always one element.
QStringList SplitText(const QString &text, QStringList &parts, QString &delimiter, int limit, int compare);

// True in the built program.
bool IsCompiled();

// Whether Ctrl or Shift is held now. TARNIS_TEST_MODIFIERS ("ctrl", "shift",
// "ctrl,shift") overrides the real state; the window side installs the real query.
bool IsCtrlDown();
bool IsShiftDown();

enum class ModifierKey { Ctrl, Shift };
using KeyStateQuery = bool (*)(ModifierKey key);
// Installed by the window side (installKeyStateQuery in platform/qt/KeyState.h);
// without one, no key counts as held.
void setKeyStateQuery(KeyStateQuery query);

}  // namespace tarnis
