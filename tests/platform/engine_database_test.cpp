#include "engine_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarnis;
using namespace tarnis::enginetest;

class EngineDatabase : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    int count(Database &db) { return int(db.openRecordset("SELECT count(*) FROM Probe").field(0).toLong()); }
};

TEST_F(EngineDatabase, OpenNeverCreatesAndNamesTheFault) {
    writeFile(path("text.mdb"), "Dies ist keine Datenbank, sondern ein Brief mit genug Text fuer einen Kopf.");
    QDir().mkpath(path("ordner"));
    const struct {
        QString file;
        int error;
    } cases[] = {{QString(), err::InvalidPath},
                 {QStringLiteral("   "), err::InvalidPath},
                 {path("fehlt/x.mdb"), err::InvalidPath},
                 {path("fehlt.mdb"), err::FileNotFound},
                 {path("text.mdb"), err::NotADatabase},
                 {path("ordner"), err::CannotOpen}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        EXPECT_EQ(errorOf([&] { Database::open(c.file); }), c.error);
    }
    EXPECT_FALSE(QFile::exists(path("fehlt.mdb")));
    EXPECT_FALSE(QFile::exists(path("fehlt")));
    EXPECT_TRUE(fileBytes(path("text.mdb")).startsWith("Dies ist keine Datenbank"));
}

TEST_F(EngineDatabase, CreateRefusesExistingFileAndMissingFolder) {
    writeFile(path("da.mdb"), "alter Inhalt");
    EXPECT_EQ(errorOf([&] { Database::create(path("da.mdb")); }), err::DatabaseExists);
    EXPECT_EQ(fileBytes(path("da.mdb")), QByteArray("alter Inhalt"));
    EXPECT_EQ(errorOf([&] { Database::create(path("fehlt/neu.mdb")); }), err::InvalidPath);
    EXPECT_EQ(errorOf([&] { Database::create(QString()); }), err::InvalidPath);

    createSample(path("neu.mdb"))->execute(kInsert, {"A", 1, Value()});
    auto again = Database::open(path("neu.mdb"));
    EXPECT_EQ(count(*again), 1);
    EXPECT_EQ(again->openRecordset("PRAGMA journal_mode").field(0).toText(), "delete");
}

TEST_F(EngineDatabase, NamedChecksRefuseEmptyLongAndOutOfRangeValues) {
    auto db = createSample(path("c.mdb"));
    const QString fifty(50, QChar(0xE4));  // 50 characters, 100 bytes: the limit counts characters
    const struct {
        Params row;
        int error;
    } cases[] = {
        {{"", 1, Value()}, err::EmptyText},
        {{"B", 1, ""}, err::EmptyText},
        {{QString(51, 'x'), 1, Value()}, err::TextTooLong},
        {{"C", 1, QString(51, QChar(0xFC))}, err::TextTooLong},
        {{Value(), 1, Value()}, err::NullInKey},
        {{"D", std::int64_t(2147483648LL), Value()}, err::Overflow},
        {{"E", std::int64_t(-2147483649LL), Value()}, err::Overflow},
        {{"F", "zwölf", Value()}, err::DataTypeMismatch},
        {{fifty, std::int64_t(2147483647), " "}, 0},
        {{"G", std::int64_t(-2147483648LL), Value()}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row[0].textOrEmpty().toStdString());
        EXPECT_EQ(errorOf([&] { db->execute(kInsert, c.row); }), c.error);
    }
    EXPECT_EQ(count(*db), 2);
    // A row never written stays Null.
    EXPECT_TRUE(db->openRecordset("SELECT Ort FROM Probe WHERE Name = 'G'").field("Ort").isNull());
}

TEST_F(EngineDatabase, ExecuteMapsErrorsAndCountsRows) {
    auto db = createSample(path("e.mdb"));
    for (const char *name : {"A", "B", "C"})
        db->execute(kInsert, {name, 1, Value()});
    EXPECT_EQ(db->execute("UPDATE Probe SET Nummer = ?1 WHERE Name <> ?2", {5, "b"}), 2);
    EXPECT_EQ(db->execute(kInsert, {"a", 1, Value()}, false), 0);  // a failure ignored without fail-on-error
    EXPECT_EQ(db->execute("CREATE TABLE Leer (x INTEGER)"), 0);     // not the last update's count

    const struct {
        QString sql;
        Params params;
        int error;
    } cases[] = {
        {"SELECT Lauf_9_Punkte FROM Probe", {}, err::ItemNotFound},
        {"UPDATE Probe SET Fehlt = 1", {}, err::ItemNotFound},
        {"SELECT * FROM Teilnehmer", {}, err::TableNotFound},
        {"DELETE FROM Probe; DELETE FROM Probe", {}, err::TextAfterStatement},
        {"SELECT * FROM Probe WHERE Name = ?1", {}, err::TooFewParameters},
        {"SELEKT 1", {}, err::EngineGeneric},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        EXPECT_EQ(errorOf([&] { db->execute(c.sql, c.params); }), c.error);
        // Text that does not parse raises even without fail-on-error.
        EXPECT_EQ(errorOf([&] { db->execute(c.sql, c.params, false); }), c.error);
    }
    EXPECT_EQ(count(*db), 3);
    // A value with quotes is data, never SQL.
    db->execute(kInsert, {"O'Brien\"; DROP TABLE Probe; --", 1, Value()});
    EXPECT_EQ(count(*db), 4);
}

TEST_F(EngineDatabase, TransactionsSurviveFailedStatementsAndNest) {
    auto db = createSample(path("t.mdb"));
    db->beginTrans();
    db->execute(kInsert, {"A", 1, Value()});
    EXPECT_EQ(errorOf([&] { db->execute(kInsert, {"a", 2, Value()}); }), err::DuplicateKey);
    EXPECT_TRUE(db->inTransaction());
    db->execute(kInsert, {"B", 1, Value()});
    db->commitTrans();
    EXPECT_EQ(count(*db), 2);

    db->beginTrans();
    db->execute("DELETE FROM Probe");
    db->rollback();
    EXPECT_EQ(count(*db), 2);

    db->beginTrans();
    db->execute(kInsert, {"C", 1, Value()});
    db->beginTrans();
    db->execute(kInsert, {"D", 1, Value()});
    db->rollback();  // the inner level only
    db->commitTrans();
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count(*db), 3);

    EXPECT_EQ(errorOf([&] { db->commitTrans(); }), err::CommitWithoutBegin);
    EXPECT_EQ(errorOf([&] { db->rollback(); }), err::CommitWithoutBegin);

    // Closing with a transaction open discards its work.
    db->beginTrans();
    db->execute("DELETE FROM Probe");
    db->close();
    EXPECT_EQ(count(*Database::open(path("t.mdb"))), 3);
}

TEST_F(EngineDatabase, RecordsetNavigatesACompleteSnapshot) {
    auto db = createSample(path("r.mdb"));
    db->execute(kInsert, {"A", 1, "Ort A"});
    db->execute(kInsert, {"B", Value(), Value()});
    db->execute(kInsert, {"C", 3, "Ort C"});
    Recordset rs = db->openRecordset("SELECT * FROM Probe ORDER BY Name");
    db->execute("DELETE FROM Probe");  // the snapshot holds no live statement
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.fieldCount(), 3);
    EXPECT_EQ(rs.fieldName(2), "Ort");
    EXPECT_EQ(rs.field("name").toText(), "A");
    rs.moveNext();
    EXPECT_TRUE(rs.field("Nummer").isNull());  // never the previous row's value
    EXPECT_EQ(rs.absolutePosition(), 1);
    rs.moveLast();
    EXPECT_EQ(rs.field(2).toText(), "Ort C");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_EQ(errorOf([&] { rs.field(0); }), err::NoCurrentRecord);
    rs.setAbsolutePosition(0);
    EXPECT_EQ(rs.field(1).toLong(), 1);

    const struct {
        std::function<void()> call;
        int error;
    } faults[] = {{[&] { rs.field("Lauf_1_Zeit"); }, err::ItemNotFound},
                  {[&] { rs.field(3); }, err::ItemNotFound},
                  {[&] { rs.fieldName(-1); }, err::ItemNotFound},
                  {[&] { rs.setAbsolutePosition(3); }, err::NoCurrentRecord}};
    for (const auto &f : faults)
        EXPECT_EQ(errorOf(f.call), f.error);

    const Recordset empty = db->openRecordset("SELECT * FROM Probe");
    EXPECT_TRUE(empty.eof());
    EXPECT_TRUE(empty.bof());
    EXPECT_EQ(empty.recordCount(), 0);
}

TEST_F(EngineDatabase, PreparedStatementsRunRepeatedlyAndAfterErrors) {
    auto db = createSample(path("s.mdb"));
    Statement insert = db->prepare(kInsert);
    EXPECT_EQ(insert.execute({"A", 1, Value()}), 1);
    EXPECT_EQ(errorOf([&] { insert.execute({"a", 1, Value()}); }), err::DuplicateKey);
    // Texts of every width in one row come back as they went in.
    const QString ort = QStringLiteral("Öko-Lauf \U0001F3C3 Zürich");
    EXPECT_EQ(insert.execute({QString("B"), 2, ort}), 1);
    Statement select = db->prepare("SELECT Nummer, Ort FROM Probe WHERE Name = ?1");
    EXPECT_EQ(select.query({"b"}).field(0).toLong(), 2);
    EXPECT_EQ(select.query({"b"}).field(1).toText(), ort);
    EXPECT_EQ(select.query({"x"}).recordCount(), 0);
    EXPECT_EQ(errorOf([&] { select.query({}); }), err::TooFewParameters);

    EXPECT_EQ(db->tableColumns("probe"), QStringList({"Name", "Nummer", "Ort"}));
    EXPECT_EQ(errorOf([&] { db->tableColumns("Teilnehmer"); }), err::ItemNotFound);
    EXPECT_TRUE(db->tableExists("PROBE"));
    EXPECT_FALSE(db->tableExists("Teilnehmer"));

    // A statement that outlives its database reports instead of touching a closed connection.
    db->close();
    EXPECT_EQ(errorOf([&] { insert.execute({"C", 1, Value()}); }), err::ObjectNotSet);
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT 1"); }), err::ObjectNotSet);
}
