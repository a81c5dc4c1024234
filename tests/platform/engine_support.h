#pragma once
// Helpers shared by the engine tests: a scratch folder and the number of a raised error.
#include "platform/engine/Database.h"
#include "platform/engine/Ddl.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace tarnis::enginetest {

// The error number a call raises, 0 when it returns normally.
inline int errorOf(const std::function<void()> &call) {
    try {
        call();
    } catch (const AppError &e) {
        return e.number;
    }
    return 0;
}

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A new series-like file with one table: Name Text(50) key, Nummer Long, Ort Text(50).
inline std::unique_ptr<Database> createSample(const QString &path) {
    auto db = Database::create(path);
    db->execute(createTableDdl("Probe", {textColumnDdl("Name", true), longColumnDdl("Nummer"), textColumnDdl("Ort")},
                               {"Name"}));
    return db;
}

inline const QString kInsert = QStringLiteral("INSERT INTO Probe (Name, Nummer, Ort) VALUES (?1, ?2, ?3)");

}  // namespace tarnis::enginetest
