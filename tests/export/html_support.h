#pragma once
// A scratch series with the scripted user interface and a settings store of its own.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/engine/Database.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarnis::htmltest {

inline QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Runner {
    const char *vorname, *zuname;
    int jahrgang;
    const char *klasse, *verein;
    qint64 endwertung;
};

class HtmlSeries : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedUi scripted;
    QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");

    void SetUp() override {
        QDir(dir.path()).mkdir(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        setUi(&scripted);
        scripted.setWorkFolder(dir.path());
        gDBPath = path(QStringLiteral("series.mdb"));
        CreateSeriesFile(gDBPath, 3);
        gDB = Database::open(gDBPath);
    }
    void TearDown() override {
        gDB.reset();
        gDBPath.clear();
        setUi(nullptr);
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void set(const char *section, const char *key, const QString &value) { SaveSetting(section, key, value); }
    void addClass(const char *name, int index) {
        gDB->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, ?2)", {name, index});
    }
    void addPoints(int place, int points) {
        gDB->execute("INSERT INTO Punkteverteilung (Platz, Punkte) VALUES (?1, ?2)", {place, points});
    }
    void add(const Runner &r) {
        gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                     "Zwischenwertung) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0)",
                     {r.vorname, r.zuname, r.jahrgang, r.klasse, r.verein, std::int64_t(r.endwertung)});
    }
};

}  // namespace tarnis::htmltest
