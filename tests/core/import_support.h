#pragma once
// Shared by the core tests and the command tests: a scratch folder with fresh
// settings, the scripted user interface, the program's globals and a series file;
// helpers to write files and read tables back.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "platform/settings/Settings.h"
#include "platform/text/CodePage.h"
#include "platform/ui/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace tarnis::testing {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// The error number a call raises, 0 when it returns normally.
inline int errorOf(const std::function<void()> &call) {
    try { call(); } catch (const AppError &e) { return e.number; }
    return 0;
}

// A result line laid out in its columns (year at d+30, club at d+33).
inline QString resultLine(const QString &place, const QString &names, const QString &year,
                          const QString &club, const QString &time) {
    return place + ". " + names.leftJustified(28) + year + ' ' + club.leftJustified(25) + ' ' + time;
}

class SeriesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedUi ui;

    void SetUp() override {
        QFile::remove(settingsFilePath());
        reloadSettings();
        setUi(&ui);
        ui.setWorkFolder(dir.path());
    }
    void TearDown() override {
        EXPECT_THAT(ui.failures(), IsEmpty());
        EXPECT_THAT(ui.leftoverAnswers(), IsEmpty());
        gDB.reset();
        gDBPath.clear();
        setUi(nullptr);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // A series file of the given races, opened as the program's database.
    void openSeries(int races, const QString &name = QStringLiteral("series.mdb")) {
        CreateSeriesFile(path(name), races);
        gDBPath = path(name);
        gDB = Database::open(gDBPath);
        gRaceCount = races;
    }
    // One participant for each age class, named by its position.
    static void addParticipants(const QStringList &ageClasses) {
        for (int i = 0; i < ageClasses.size(); ++i)
            gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) "
                         "VALUES (?1, 'Eva', 1970, ?2, 'LG')", {QString::number(i), ageClasses[i]});
    }
    // Writes the file into the scratch folder; returns its path.
    QString writeBytes(const QByteArray &bytes, const QString &name = QStringLiteral("lauf.txt")) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path(name);
    }
    // Writes the lines as CP850 with CR LF; returns the path.
    QString writeList(const QStringList &lines, const QString &name = QStringLiteral("lauf.txt")) {
        QByteArray bytes;
        for (const QString &l : lines) bytes += encodeCp850(l) + "\r\n";
        return writeBytes(bytes, name);
    }
    // Each row of a query as its cells joined by "|", Null as "<null>".
    static QStringList rows(const QString &sql, const Params &params = {}) {
        const Recordset rs = gDB->openRecordset(sql, params);
        QStringList out;
        for (const auto &row : rs.rows()) {
            QStringList cells;
            for (const Value &v : row) cells << (v.isNull() ? QStringLiteral("<null>") : v.toText());
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    // The whole participant table, every column.
    // Each error dialog shown: number, procedure and hint.
    QStringList reports() const {
        QStringList out;
        for (const ErrorReport &r : ui.errorReports())
            out << QStringLiteral("%1 %2 %3").arg(r.error.number).arg(r.procedure, r.hint);
        return out;
    }
    static QStringList allRows() { return rows("SELECT * FROM Teilnehmer ORDER BY 1, 2, 3, 4, 5"); }
};

// A series file of three races opened as the program's database, race 2 chosen for import.
class SeriesFixture : public SeriesTest {
protected:
    void SetUp() override {
        SeriesTest::SetUp();
        ui.setWorkFolder(QString());  // file answers and messages as they stand
        SaveSetting("LastUser", "erfassen", "Lauf_2");
        openSeries(3);
    }
};

}  // namespace tarnis::testing
