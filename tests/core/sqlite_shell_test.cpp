// A series file the program made, opened with the sqlite3 shell and the collation
// extension: read, checked and recovered into a new file with the same rows.
#include "import_support.h"

#include "core/import/EI_Import.h"

#include <QProcess>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::HasSubstr;

namespace {

class SqliteShell : public SeriesFixture {
protected:
    // The shell's output and errors for one command line, the extension loaded unless told not to.
    static QString shell(const QString &file, const QString &sql, bool load = true, const QByteArray &input = {}) {
        QStringList args;
        if (load) args << "-cmd" << QStringLiteral(".load %1").arg(TARNIS_GENERAL_EXTENSION);
        args << file;
        if (!sql.isEmpty()) args << sql;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start("sqlite3", args);
        if (!process.waitForStarted()) return "sqlite3 fehlt (scripts/setup installiert es)";
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAll()).trimmed();
    }
};

TEST_F(SqliteShell, ReadsChecksAndRecoversASeriesFile) {
    gDB->execute("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)");
    ui.answer("file", TARNIS_SAMPLE_LIST);
    ASSERT_TRUE(EI_Import());
    ASSERT_EQ(allRows().size(), 6);
    gDB.reset();
    const QString file = path("series.mdb");

    EXPECT_THAT(shell(file, "select count(*) from Teilnehmer", false).toStdString(),
                HasSubstr("no such collation sequence: GENERAL"));
    // the command, and the shell's answer with the extension loaded
    const std::pair<const char *, const char *> cases[] = {
        {"select count(*) from Teilnehmer", "6"},
        {"pragma integrity_check", "ok"},
        // the program's collation: one key whatever the case, umlauts distinct, accents second
        {"select Zuname from Teilnehmer where Vorname = 'MÜLLER'", "Jürgen"},
        {"select count(*) from Teilnehmer where Vorname = 'Muller'", "0"},
        {"select group_concat(x, ' ') from (select column1 x from (values ('Zuse'), ('Abt'), ('Äbi')) "
         "order by x collate GENERAL)", "Äbi Abt Zuse"},
        // and its length(): a NUL does not hide the characters after it from the 50-character check
        {"insert into AKLSortIndex values "
         "(cast(cast(replace(hex(zeroblob(25)), '0', 'x') as blob) || x'0079' as text), 9)",
         "CHECK constraint failed"},
        {"select Vorname, Altersklasse, Lauf_2_Punkte from Teilnehmer order by Lauf_2_Punkte desc, Vorname",
         "Brandt|M20|25\nMeier|M40|25\nSchäfer|W35|25\nKöhler|W35|20\nMüller|M40|20\nWeiß|M40|18"},
    };
    for (const auto &[sql, answer] : cases)
        EXPECT_THAT(shell(file, sql).toStdString(), HasSubstr(answer)) << sql;

    // What .recover writes loads into a new file that holds the same schema and rows.
    const QString recovered = path("recovered.mdb");
    const QString script = shell(file, ".recover");
    ASSERT_THAT(script.toStdString(), HasSubstr("INSERT"));
    EXPECT_EQ(shell(recovered, QString(), true, script.toUtf8()), "");
    for (const char *sql : {"select type, name, sql from sqlite_schema order by name",
                            "select * from Teilnehmer order by 1, 2, 3, 4, 5",
                            "select * from AKLSortIndex order by 1", "select * from Punkteverteilung order by 1"})
        EXPECT_EQ(shell(recovered, sql), shell(file, sql)) << sql;
    EXPECT_EQ(shell(recovered, "pragma integrity_check"), "ok");
}

}  // namespace
