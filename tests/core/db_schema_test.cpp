#include "db_support.h"

#include "core/db/Schema.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::seriestest;
using ::testing::ElementsAre;

namespace {

// name, declared type, not null, position in the key (0: none)
QStringList describe(Database &database, const QString &table) {
    QStringList lines;
    const Recordset rs = database.openRecordset(
        QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1) ORDER BY cid"), {table});
    for (const auto &row : rs.rows())
        lines << QStringLiteral("%1 %2 %3 %4").arg(row[0].toText(), row[1].toText(), row[2].toText(), row[3].toText());
    return lines;
}

}  // namespace

class SeriesSchema : public SeriesTest {};

TEST_F(SeriesSchema, FieldByFieldForEachRaceCount) {
    const struct {
        int races;
        int fields;
        int position;  // of a field named literally, against a leading zero or a wrong order
        const char *name;
    } cases[] = {{0, 7, 6, "Zwischenwertung"}, {1, 11, 10, "Lauf_1_Zeit"},   {9, 43, 41, "Lauf_9_Punkte"},
                 {10, 47, 43, "Lauf_10_Ort"},  {10, 47, 45, "Lauf_10_Punkte"}, {50, 207, 206, "Lauf_50_Zeit"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = QStringLiteral("s%1_%2.mdb").arg(c.races).arg(c.position);
        CreateSeriesFile(path(file), c.races);
        const std::unique_ptr<Database> database = Database::open(path(file));
        QStringList expected{"Vorname TEXT 1 1",       "Zuname TEXT 1 2",           "Jahrgang INTEGER 1 3",
                             "Altersklasse TEXT 1 4",  "Verein TEXT 1 5",           "Endwertung INTEGER 0 0",
                             "Zwischenwertung INTEGER 0 0"};
        for (int n = 1; n <= c.races; ++n)
            for (const char *field : {"Ort TEXT", "Datum TEXT", "Punkte INTEGER", "Zeit TEXT"})
                expected << QStringLiteral("Lauf_%1_%2 0 0").arg(n).arg(QLatin1String(field));
        const QStringList fields = describe(*database, "Teilnehmer");
        EXPECT_EQ(fields, expected);
        ASSERT_EQ(fields.size(), c.fields);
        EXPECT_TRUE(fields.at(c.position).startsWith(QString::fromLatin1(c.name) + ' '));
        EXPECT_THAT(describe(*database, "AKLSortIndex"), ElementsAre("Altersklasse TEXT 1 1", "Index INTEGER 0 0"));
        EXPECT_THAT(describe(*database, "Punkteverteilung"), ElementsAre("Platz INTEGER 1 1", "Punkte INTEGER 0 0"));
    }
}

TEST_F(SeriesSchema, UnwrittenFieldsAreNullAndTextRulesHold) {
    Database &database = openSeries(2);
    database.execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_2_Ort, "
                     "Lauf_2_Datum, Lauf_2_Punkte, Lauf_2_Zeit) VALUES ('Kühn', 'Ida', 1980, 'W40', 'TV', 'Ulm', "
                     "' ', 20, '40:12')");
    Recordset rs = database.openRecordset("SELECT * FROM Teilnehmer");
    for (const char *field : {"Endwertung", "Zwischenwertung", "Lauf_1_Ort", "Lauf_1_Punkte", "Lauf_1_Zeit"})
        EXPECT_TRUE(rs.field(QString::fromLatin1(field)).isNull()) << field;
    EXPECT_EQ(rs.field("Lauf_2_Datum").toText(), " ");

    database.execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 1), ('Müller', 2), "
                     "('Muller', 3)");
    const QString insertClass = QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, 0)");
    const struct {
        QString value;
        int error;
    } cases[] = {{"", err::EmptyText},           {QString(51, 'x'), err::TextTooLong}, {"m40", err::DuplicateKey},
                 {"MÜLLER", err::DuplicateKey}, {QString(50, 'x'), 0},                 {" ", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(errorOf([&] { database.execute(insertClass, {c.value}); }), c.error);
    }
    EXPECT_EQ(errorOf([&] { database.execute("UPDATE Teilnehmer SET Lauf_1_Ort = ''"); }), err::EmptyText);
}

TEST_F(SeriesSchema, CreationReportsAndNeverTouchesAnExistingFile) {
    scripted.answer("ok");
    DB_CreateDatabase(path("neu.mdb"), 3);
    EXPECT_EQ(Database::open(path("neu.mdb"))->tableColumns("Teilnehmer").size(), 19);

    writeFile(path("fremd.mdb"), "not a series file");
    const QByteArray before = fileBytes(path("fremd.mdb"));
    DB_CreateDatabase(path("fremd.mdb"), 3);
    DB_CreateDatabase(path("neu.mdb"), 3);
    DB_CreateDatabase(path("fehlt/x.mdb"), 3);
    EXPECT_EQ(fileBytes(path("fremd.mdb")), before);
    EXPECT_FALSE(QFile::exists(path("fehlt/x.mdb")));
    EXPECT_THAT(scripted.messages(),
                ElementsAre("information\tDatenbank  : <work>/neu.mdb\\nerfolgreich angelegt !",
                            "error\t3204\t\t", "error\t3204\t\t", "error\t3044\t\t"));
    EXPECT_TRUE(scripted.failures().isEmpty());
    EXPECT_FALSE(gDB);
}
