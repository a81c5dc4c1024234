// The race import end to end: dialogs, question, note, error dialog and the table.
#include "core/import/EI_Import.h"
#include "import_support.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class Import : public SeriesFixture {
protected:
    void SetUp() override {
        SeriesFixture::SetUp();
        gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)"));
    }
    // Queues the file and the answer to the overwrite question, if any.
    bool importFile(const QString &file, const char *question = nullptr) {
        ui.answer(QStringLiteral("file"), file);
        if (question) ui.answer(QString::fromLatin1(question));
        return EI_Import();
    }
    QStringList standardList() {
        return {QStringLiteral("Hamburg"),
                QStringLiteral("05.12.2026"),
                QString(),
                QStringLiteral("M40 - 10 km Lauf"),
                resultLine("1", QStringLiteral("O'Neill, Sean"), "68", QStringLiteral("LG Nord"), "35:12"),
                resultLine("2", QStringLiteral("Müller, Jörg"), "71", QStringLiteral("TSV Süd"), "36:40"),
                QStringLiteral("W-Jugend - 5 km Lauf"),
                resultLine("3", QStringLiteral("Ärger, Änne"), " 5", QStringLiteral("SC Öst"), "1:02:03")};
    }
};

TEST_F(Import, FailingLineRollsBackAndIsNamed) {
    importFile(writeList(standardList()));
    const QStringList before = allRows();
    const QString good = resultLine("4", QStringLiteral("Neu, Nina"), "80", QStringLiteral("LG Nord"), "40:00");
    struct Case {
        QStringList lines;
        int badLine;  // 1-based index into lines
        int error;
    };
    const Case cases[] = {
        // a result line before the first heading has no class
        {{"Ort", "Datum", good, "M40 - 10 km Lauf", good}, 3, 3315},
        // an empty name
        {{"Ort", "Datum", "M40 - 10 km Lauf", good, resultLine("5", ", Nina", "80", "LG", "40:00"), good}, 5, 3315},
        // a year that is no number
        {{"Ort", "Datum", "M40 - 10 km Lauf", good, resultLine("5", "Neu, Nina", "-5", "LG", "40:00")}, 5, 13},
        // the comma leaves no room for the name, the colon none for the time
        {{"Ort", "Datum", "M40 - 10 km Lauf", "5.,x 40:00", good}, 4, 5},
        {{"Ort", "Datum", "M40 - 10 km Lauf", good, "5.:x, y"}, 5, 5},
        // a place beyond 32 bits
        {{"Ort", "Datum", "M40 - 10 km Lauf", resultLine("99999999999", "Neu, Nina", "80", "LG", "40:00")}, 4, 6},
        // an empty date when an existing row is updated
        {{"Ort", "", "M40 - 10 km Lauf", good, resultLine("1", "O'Neill, Sean", "68", "LG Nord", "35:12")}, 5, 3315},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.badLine);
        ui.clearRecords();
        EXPECT_TRUE(importFile(writeList(c.lines, QStringLiteral("bad.txt")), "yes"));
        EXPECT_EQ(allRows(), before);
        ASSERT_EQ(ui.errorReports().size(), 1);
        const ErrorReport &r = ui.errorReports().at(0);
        EXPECT_EQ(r.error.number, c.error) << r.error.description.toStdString();
        EXPECT_EQ(r.hint, QStringLiteral("Fehler beim Import ! Zeile:\r") + c.lines.at(c.badLine - 1));
        EXPECT_EQ(r.procedure, QString());
        EXPECT_FALSE(gDB->inTransaction());
    }
}

TEST_F(Import, FailureBeforeReadingKeepsTheTable) {
    // Cancelled or blank: nothing at all.
    ui.answer(QStringLiteral("file"), QString());
    EXPECT_FALSE(EI_Import());
    EXPECT_FALSE(importFile(QStringLiteral("   ")));
    EXPECT_THAT(ui.messages(), IsEmpty());

    struct Case {
        const char *prefix;
        const char *file;
        int error;
    };
    const Case cases[] = {
        // a prefix that names no race never reaches a column name
        {"", "lauf.txt", 3265},
        {"Lauf_9", "lauf.txt", 3265},
        {"Lauf_0", "lauf.txt", 3265},
        {"Lauf_2_Punkte) FROM x; --", "lauf.txt", 3265},
        {"Verein", "lauf.txt", 3265},
        {"Lauf_2", "fehlt.txt", 53},
    };
    writeList(standardList());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.prefix);
        ui.clearRecords();
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString::fromLatin1(c.prefix));
        EXPECT_TRUE(importFile(path(QString::fromLatin1(c.file))));
        ASSERT_EQ(ui.errorReports().size(), 1);
        EXPECT_EQ(ui.errorReports().at(0).error.number, c.error);
        EXPECT_EQ(ui.errorReports().at(0).hint, QStringLiteral("Fehler beim Import ! Zeile:\r"));
        EXPECT_THAT(allRows(), IsEmpty());
        EXPECT_FALSE(gDB->inTransaction());
    }
}

TEST_F(Import, ListsBeyondSixteenBits) {
    SaveSetting(QStringLiteral("LastUser"), QStringLiteral("PlPuZuord"), QStringLiteral("-1"));
    QStringList lines{QStringLiteral("Ort"), QStringLiteral("Datum"), QStringLiteral("M40 - 10 km Lauf")};
    for (int i = 1; i <= 40000; ++i)
        lines << resultLine(QString::number(i), QStringLiteral("N%1, V").arg(i), "70", QStringLiteral("C"), "40:00");
    EXPECT_TRUE(importFile(writeList(lines)));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_EQ(gDB->openRecordset(QStringLiteral("SELECT count(*), max(Lauf_2_Punkte) FROM Teilnehmer"))
                  .rows()
                  .at(0),
              (std::vector<Value>{Value(40000), Value(40000)}));
}

}  // namespace
