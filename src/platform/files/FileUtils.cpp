#include "platform/files/FileUtils.h"

#include "platform/files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnis {
namespace {

KeyStateQuery gKeyStateQuery = nullptr;

bool keyDown(ModifierKey key) {
    if (qEnvironmentVariableIsSet("TARNIS_TEST_MODIFIERS")) {
        const QStringList held = qEnvironmentVariable("TARNIS_TEST_MODIFIERS").toLower().split(u',');
        const QString name = key == ModifierKey::Ctrl ? QStringLiteral("ctrl") : QStringLiteral("shift");
        for (const QString &h : held)
            if (h.trimmed() == name) return true;
        return false;
    }
    return gKeyStateQuery && gKeyStateQuery(key);
}

bool isHiddenName(const QString &name) { return name.startsWith(u'.'); }

}  // namespace

bool CopyFileOver(const QString &source, const QString &target, bool overwrite, QString *error) {
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (source.isEmpty() || target.isEmpty() || !from.isFile()) return false;
    if (to.exists()) {
        if (!overwrite || to.isDir()) return false;
        if (from.canonicalFilePath() == to.canonicalFilePath()) return false;
    }
    QFile in(source);
    const auto failed = [error](const QString &reason) {
        if (error) *error = reason;
        return false;
    };
    if (!in.open(QIODevice::ReadOnly)) return failed(in.errorString());
    SafeFileWriter out(target);
    out.setKeepExisting(!overwrite);  // a target that appears meanwhile is not replaced
    if (!out.open()) return failed(out.errorString());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty())
        if (!out.write(chunk)) return failed(out.errorString());
    // A source that could not be read to its end must not pass as copied.
    if (in.error() != QFileDevice::NoError || !in.atEnd()) return failed(in.errorString());
    if (!out.commit()) return failed(out.errorString());
    // Like a system copy, the copy keeps the source's permissions and time of last change.
    QFile::setPermissions(target, from.permissions());
    QFile copy(target);
    if (copy.open(QIODevice::ReadWrite)) copy.setFileTime(from.lastModified(), QFileDevice::FileModificationTime);
    return true;
}

bool IsWriteProtected(const QString &path) {
    const QFileInfo info(path);
    // The mode's bits; WriteUser would tell what we may do, which for root is everything.
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

QDateTime zeroDate() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

QDateTime GetFileDate(const QString &path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable()) return zeroDate();
    // The creation time where the file system keeps one, else the last modification.
    const QDateTime born = info.birthTime();
    const QDateTime stamp = (born.isValid() ? born : info.lastModified()).toLocalTime();
    if (!stamp.isValid()) return zeroDate();
    const QTime t = stamp.time();
    return QDateTime(stamp.date(), QTime(t.hour(), t.minute(), t.second()));
}

bool FileExists(const QString &path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty()) return false;
    if (!name.contains(u'*') && !name.contains(u'?'))
        return info.isFile() && !isHiddenName(name);
    // QDir lists neither folders nor hidden files without being asked to.
    const QDir dir(info.absolutePath());
    return !dir.entryList({name}, QDir::Files | QDir::CaseSensitive).isEmpty();
}

std::optional<QString> NextToken(QString &text, const QString &delimiter, int compare) {
    const qsizetype p =
        text.indexOf(delimiter, 0, compare == kCompareText ? Qt::CaseInsensitive : Qt::CaseSensitive);
    if (p < 0) return std::nullopt;
    const QString piece = text.left(p);
    text = text.mid(p + delimiter.size());
    return piece;
}

QStringList SplitText(const QString &text, QStringList &parts, QString &delimiter, int limit, int compare) {
    if (delimiter.isEmpty()) delimiter = QStringLiteral(" ");
    parts.clear();
    QString rest = text;
    if (!rest.contains(delimiter, Qt::CaseInsensitive)) {
        parts << rest;
        return parts;
    }
    std::optional<QString> piece = NextToken(rest, delimiter, compare);
    while (piece) {
        parts << *piece;
        if (limit != -1 && parts.size() >= limit) break;
        piece = NextToken(rest, delimiter, compare);
    }
    parts << rest;
    return parts;
}

bool IsCompiled() { return true; }

bool IsCtrlDown() { return keyDown(ModifierKey::Ctrl); }
bool IsShiftDown() { return keyDown(ModifierKey::Shift); }

void setKeyStateQuery(KeyStateQuery query) { gKeyStateQuery = query; }

}  // namespace tarnis
