#include "season_files.h"

#include "platform/engine/Database.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace seasons {

using namespace tarnis;

bool copyTree(const QString &source, const QString &target, QString *why) {
    if (!QDir().mkpath(target)) {
        *why = QStringLiteral("cannot create %1").arg(target);
        return false;
    }
    for (const QString &relative : filesBelow(source)) {
        const QString to = QDir(target).filePath(relative);
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(QDir(source).filePath(relative), to)) {
            *why = QStringLiteral("cannot copy %1").arg(relative);
            return false;
        }
        // Files copied out of the source tree may be read-only; the case may change them.
        QFile(to).setPermissions(QFile(to).permissions() | QFile::WriteOwner);
    }
    return true;
}

QStringList filesBelow(const QString &root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
    std::sort(files.begin(), files.end());
    return files;
}

bool writeLines(const QString &path, const QStringList &lines, QString *why) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    for (const QString &line : lines) bytes += line.toUtf8() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *why = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// The window-state line of a layout file holds pixel sizes that follow the fonts
// and the screen of the machine; it is compared as present and readable only.
namespace {
bool normalizeWindowState(QByteArray &layout, QString *why) {
    QList<QByteArray> lines = layout.split('\n');
    for (QByteArray &line : lines) {
        if (!line.startsWith("state ")) continue;
        const auto decoded = QByteArray::fromBase64Encoding(
            line.mid(6), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.isEmpty()) {
            *why = QStringLiteral("the window state is not readable");
            return false;
        }
        line = "state <window state>";
    }
    layout = lines.join('\n');
    return true;
}
}  // namespace

bool sameFile(const QString &expected, const QString &actual, QString *why) {
    QFile e(expected), a(actual);
    if (!a.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("missing");
        return false;
    }
    if (!e.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("expected file unreadable");
        return false;
    }
    QByteArray want = e.readAll(), got = a.readAll();
    if (QFileInfo(actual).fileName() == QLatin1String("USERLAYOUT.TB")) {
        if (!normalizeWindowState(got, why)) return false;
        normalizeWindowState(want, why);
    }
    if (want == got) return true;
    const QList<QByteArray> wantLines = want.split('\n'), gotLines = got.split('\n');
    for (qsizetype i = 0; i < std::max(wantLines.size(), gotLines.size()); ++i) {
        const QByteArray w = i < wantLines.size() ? wantLines[i] : QByteArray("<end of file>");
        const QByteArray g = i < gotLines.size() ? gotLines[i] : QByteArray("<end of file>");
        if (w != g) {
            *why = QStringLiteral("line %1: expected \"%2\", got \"%3\"")
                       .arg(i + 1)
                       .arg(QString::fromUtf8(w), QString::fromUtf8(g));
            return false;
        }
    }
    *why = QStringLiteral("differs");
    return false;
}

QStringList dumpTable(Database &db, const QString &table) {
    const QStringList columns = db.tableColumns(table);  // 3265 for a table that does not exist
    QStringList order;
    for (qsizetype i = 1; i <= columns.size(); ++i) order << QString::number(i);
    const Recordset rs = db.openRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                              .arg(quoteIdentifier(table), order.join(QStringLiteral(", "))));
    QStringList lines{columns.join(QLatin1Char('\t'))};
    for (const auto &row : rs.rows()) {
        QStringList fields;
        for (const Value &value : row) fields << value.textOrEmpty();
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines;
}

}  // namespace seasons
