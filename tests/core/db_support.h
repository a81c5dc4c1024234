#pragma once
// A scratch folder with a series file, the scripted user interface and the globals.
#include "platform/engine_support.h"

#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/engine/Database.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarnis::seriestest {

using enginetest::errorOf;
using enginetest::fileBytes;
using enginetest::writeFile;

class SeriesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedUi scripted;

    void SetUp() override {
        setUi(&scripted);
        scripted.setWorkFolder(dir.path());
        for (const char *key : {"Datenbank", "MaxLaufErf", "erfassen"})
            DeleteSetting(QStringLiteral("LastUser"), QString::fromLatin1(key));
    }
    void TearDown() override {
        gDB.reset();
        gDBPath.clear();
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // A series file of the given races, opened as the program's database.
    Database &openSeries(int races, const QString &name = QStringLiteral("series.mdb")) {
        CreateSeriesFile(path(name), races);
        gDBPath = path(name);
        gDB = Database::open(gDBPath);
        return *gDB;
    }
    void addParticipant(const QString &name, const QString &ageClass) {
        gDB->execute(QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                                    "VALUES (?1, 'Eva', 1970, ?2, 'LG')"),
                     {name, ageClass});
    }
};

}  // namespace tarnis::seriestest
