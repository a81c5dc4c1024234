#pragma once
// A series file of three races opened as gDB, the scripted user interface and
// helpers to write result lists and read the table back.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/settings/Settings.h"
#include "platform/text/CodePage.h"
#include "platform/ui/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace tarnis::testing {

// A result line laid out in its columns (year at d+30, club at d+33).
inline QString resultLine(const QString &place, const QString &names, const QString &year,
                          const QString &club, const QString &time) {
    return place + QStringLiteral(". ") + names.leftJustified(28, QLatin1Char(' ')) + year +
           QLatin1Char(' ') + club.leftJustified(25, QLatin1Char(' ')) + QLatin1Char(' ') + time;
}

class SeriesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile::remove(settingsFilePath());
        reloadSettings();
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QStringLiteral("Lauf_2"));
        CreateSeriesFile(path(QStringLiteral("series.mdb")), 3);
        gDB = Database::open(path(QStringLiteral("series.mdb")));
        gRaceCount = 3;
        setUi(&ui);
    }
    void TearDown() override {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(ui.leftoverAnswers().isEmpty())
            << ui.leftoverAnswers().join(QLatin1Char('\n')).toStdString();
        gDB.reset();
        setUi(nullptr);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // Writes the lines as CP850 with the given line end; returns the path.
    QString writeList(const QStringList &lines, const QString &name = QStringLiteral("lauf.txt"),
                      const char *end = "\r\n") {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        for (const QString &l : lines) f.write(encodeCp850(l) + end);
        return f.fileName();
    }
    QString writeBytes(const QByteArray &bytes, const QString &name = QStringLiteral("lauf.txt")) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // The whole table, every column.
    QStringList allRows() {
        return rows(gDB->openRecordset(QStringLiteral(
            "SELECT * FROM Teilnehmer ORDER BY Vorname, Zuname, Jahrgang, Altersklasse, Verein")));
    }
    static QStringList rows(Recordset rs) {
        QStringList out;
        for (const auto &row : rs.rows()) {
            QStringList cells;
            for (const Value &v : row) cells << (v.isNull() ? QStringLiteral("<null>") : v.toText());
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    QTemporaryDir dir;
    ScriptedUi ui;
};

}  // namespace tarnis::testing
