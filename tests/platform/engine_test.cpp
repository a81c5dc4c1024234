// The engine: opening and creating, the named checks, execution, transactions, record
// sets, prepared statements, the GENERAL collation, compaction and repair (values: text_rules_test.cpp).
#include "engine_support.h"
#include "platform/engine/Collation.h"

#include <QDir>
#include <gmock/gmock.h>
#include <sqlite3.h>

using namespace tarnis;
using namespace tarnis::enginetest;

namespace {

class Engine : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    int count(Database &db) { return int(db.openRecordset("SELECT count(*) FROM Probe").field(0).toLong()); }
    int rowsIn(const char *file) { return count(*Database::open(path(file))); }
    // A file of several pages with free pages in it.
    void fillSample(const char *file) {
        auto db = createSample(path(file));
        db->beginTrans();
        Statement insert = db->prepare(kInsert);
        for (int i = 0; i < 3000; ++i)
            insert.execute({QStringLiteral("Läufer %1").arg(i), i, QStringLiteral("Ort %1").arg(i % 7)});
        db->commitTrans();
        db->execute("DELETE FROM Probe WHERE Nummer % 3 = 0");  // leaves free pages to compact away
    }
};

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST_F(Engine, OpenAndCreateNeverMakeAFileAndNameTheFault) {
    writeFile(path("text.mdb"), "Dies ist keine Datenbank, sondern ein Brief mit genug Text fuer einen Kopf.");
    writeFile(path("da.mdb"), "alter Inhalt");
    QDir().mkpath(path("ordner"));
    QDir().mkpath(path("ordner/tief/tiefer"));
    QDir().mkpath(path("ordner/tief/unter"));
    ASSERT_TRUE(QFile::link("tief/tiefer", path("ordner/lnk")));
    createSample(path("ordner/tief/x.mdb"));
    createSample(path("ordner/tief/unter/x.mdb"));
    createSample(path("ordner/x.mdb"));  // where ".." taken as text would lead
    ASSERT_TRUE(QFile::link("weg.mdb", path("lose.mdb")));
    ASSERT_TRUE(QFile::link("kreis.mdb", path("kreis.mdb")));
    const struct { bool create; QString file; int error; const char *says = nullptr; } cases[] = {
        {false, QString(), err::InvalidPath},          {false, "   ", err::InvalidPath},
        {false, path("fehlt/x.mdb"), err::InvalidPath}, {false, path("fehlt.mdb"), err::FileNotFound},
        {false, path("text.mdb"), err::NotADatabase},   {false, path("ordner"), err::CannotOpen},
        {false, path("ordner/lnk/../x.mdb"), 0},  // the ".." leaves the folder the link points to
        {false, path("ordner/lnk/../unter/x.mdb"), 0},  // into a folder that only the link's side has
        {true, path("ordner/lnk/../unter/neu.mdb"), 0},
        {true, path("da.mdb"), err::DatabaseExists},    {true, path("fehlt/neu.mdb"), err::InvalidPath},
        {true, QString(), err::InvalidPath},
        // a link that leads nowhere takes the name, but nothing exists there
        {true, path("lose.mdb"), err::InvalidPath, "ist eine symbolische Verknüpfung auf die fehlende Datei"},
        {true, path("kreis.mdb"), err::InvalidPath, "verweisen im Kreis"}};
    for (const auto &c : cases) {
        QString said;
        std::unique_ptr<Database> db;
        EXPECT_EQ(errorOf([&] {
                      try {
                          db = c.create ? Database::create(c.file) : Database::open(c.file);
                      } catch (const AppError &e) {
                          said = e.description;
                          throw;
                      }
                  }),
                  c.error)
            << c.file.toStdString();
        if (c.says) {
            EXPECT_THAT(said.toStdString(), ::testing::HasSubstr(c.says));
        }
        // The file the system opens for the path (realpath(3) follows it as open(2) does).
        if (db) {
            EXPECT_EQ(QFileInfo(QString::fromUtf8(sqlite3_db_filename(db->handle(), "main"))).canonicalFilePath(),
                      QFileInfo(c.file).canonicalFilePath())
                << c.file.toStdString();
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"da.mdb", "ordner", "text.mdb"}));
    EXPECT_EQ(fileBytes(path("da.mdb")), QByteArray("alter Inhalt"));
    EXPECT_TRUE(fileBytes(path("text.mdb")).startsWith("Dies ist keine Datenbank"));

    createSample(path("neu.mdb"))->execute(kInsert, {"A", 1, Value()});
    auto again = Database::open(path("neu.mdb"));
    EXPECT_EQ(count(*again), 1);
    // One file only: no journal beside it that a copy of the file would miss.
    EXPECT_EQ(again->openRecordset("PRAGMA journal_mode").field(0).toText(), "delete");
}

TEST_F(Engine, NamedChecksRefuseEmptyLongAndOutOfRangeValues) {
    auto db = createSample(path("c.mdb"));
    const QString fifty(50, QChar(0xE4));  // 50 characters, 100 bytes: the limit counts characters
    const struct { Params row; int error; } cases[] = {
        {{"", 1, Value()}, err::EmptyText},           {{"B", 1, ""}, err::EmptyText},
        {{QString(51, 'x'), 1, Value()}, err::TextTooLong}, {{"C", 1, QString(51, QChar(0xFC))}, err::TextTooLong},
        {{Value(), 1, Value()}, err::NullInKey},      {{"F", "zwölf", Value()}, err::DataTypeMismatch},
        {{"D", std::int64_t(2147483648LL), Value()}, err::Overflow},
        {{"E", std::int64_t(-2147483649LL), Value()}, err::Overflow},
        {{fifty, std::int64_t(2147483647), " "}, 0},  {{"G", std::int64_t(-2147483648LL), Value()}, 0},
        // a NUL counts like any other character
        {{QString(40, 'x') + QChar(0) + QString(21, 'y'), 1, Value()}, err::TextTooLong},
        {{"H", 1, QString(QChar(0))}, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(errorOf([&] { db->execute(kInsert, c.row); }), c.error) << c.row[0].textOrEmpty().toStdString();
    EXPECT_EQ(count(*db), 3);
    EXPECT_TRUE(db->openRecordset("SELECT Ort FROM Probe WHERE Name = 'G'").field("Ort").isNull());
    EXPECT_EQ(db->openRecordset("SELECT Ort, length(Ort) FROM Probe WHERE Name = 'H'").rows()[0],
              (std::vector<Value>{QString(QChar(0)), std::int64_t(1)}));
}

TEST_F(Engine, ExecuteMapsErrorsAndCountsRows) {
    auto db = createSample(path("e.mdb"));
    for (const char *name : {"A", "B", "C"})
        db->execute(kInsert, {name, 1, Value()});
    EXPECT_EQ(db->execute("UPDATE Probe SET Nummer = ?1 WHERE Name <> ?2", {5, "b"}), 2);
    EXPECT_EQ(db->execute(kInsert, {"a", 1, Value()}, false), 0);  // a failure ignored without fail-on-error
    EXPECT_EQ(db->execute("CREATE TABLE Leer (x INTEGER)"), 0);     // not the last update's count
    const struct { QString sql; int error; } cases[] = {
        {"SELECT Lauf_9_Punkte FROM Probe", err::ItemNotFound},
        {"UPDATE Probe SET Fehlt = 1", err::ItemNotFound},
        {"SELECT * FROM Teilnehmer", err::TableNotFound},
        {"DELETE FROM Probe; DELETE FROM Probe", err::TextAfterStatement},
        {"SELECT * FROM Probe WHERE Name = ?1", err::TooFewParameters},
        {"SELEKT 1", err::EngineGeneric}};
    for (const auto &c : cases) {
        EXPECT_EQ(errorOf([&] { db->execute(c.sql); }), c.error) << c.sql.toStdString();
        // Text that does not parse raises even without fail-on-error.
        EXPECT_EQ(errorOf([&] { db->execute(c.sql, {}, false); }), c.error) << c.sql.toStdString();
    }
    // A value with quotes is data, never SQL.
    db->execute(kInsert, {"O'Brien\"; DROP TABLE Probe; --", 1, Value()});
    EXPECT_EQ(count(*db), 4);
    // A file deleted while open: no write, and a text that says so instead of "write-protected".
    ASSERT_TRUE(QFile::remove(path("e.mdb")));
    try {
        db->execute(kInsert, {"Z", 1, Value()});
        ADD_FAILURE() << "written to a deleted file";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number, err::ReadOnly);
        EXPECT_EQ(e.description, "Die Datenbank '" + QDir::toNativeSeparators(QFileInfo(path("e.mdb")).absoluteFilePath()) +
                                     "' wurde verschoben oder gelöscht, während das Programm sie geöffnet hatte; sie "
                                     "kann nicht mehr geändert werden.");
    }
}

TEST_F(Engine, TransactionsSurviveFailedStatementsAndNest) {
    auto db = createSample(path("t.mdb"));
    auto insert = [&](const char *name) { db->execute(kInsert, {name, 1, Value()}); };
    db->beginTrans();
    insert("A");
    EXPECT_EQ(errorOf([&] { insert("a"); }), err::DuplicateKey);
    EXPECT_TRUE(db->inTransaction());
    db->beginTrans();
    insert("B");
    db->rollback();  // the inner level only
    insert("C");
    db->commitTrans();
    EXPECT_FALSE(db->inTransaction());
    db->beginTrans();
    db->execute("DELETE FROM Probe");
    db->rollback();
    EXPECT_EQ(count(*db), 2);  // A and C
    EXPECT_EQ(errorOf([&] { db->commitTrans(); }), err::CommitWithoutBegin);
    EXPECT_EQ(errorOf([&] { db->rollback(); }), err::CommitWithoutBegin);

    // Closing with a transaction open discards its work.
    db->beginTrans();
    db->execute("DELETE FROM Probe");
    db->close();
    EXPECT_EQ(count(*Database::open(path("t.mdb"))), 2);
}

TEST_F(Engine, RecordsetNavigatesACompleteSnapshot) {
    auto db = createSample(path("r.mdb"));
    db->execute(kInsert, {"A", 1, "Ort A"});
    db->execute(kInsert, {"B", Value(), Value()});
    db->execute(kInsert, {"C", 3, "Ort C"});
    Recordset rs = db->openRecordset("SELECT * FROM Probe ORDER BY Name");
    db->execute("DELETE FROM Probe");  // the snapshot holds no live statement
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.field("name").toText(), "A");
    rs.moveNext();
    EXPECT_TRUE(rs.field("Nummer").isNull());  // never the previous row's value
    rs.moveLast();
    EXPECT_EQ(rs.field(2).toText(), "Ort C");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), -1);
    rs.setAbsolutePosition(0);
    EXPECT_EQ(rs.field(1).toLong(), 1);
    const Recordset empty = db->openRecordset("SELECT * FROM Probe");
    EXPECT_TRUE(empty.eof() && empty.bof());
    const struct { std::function<void()> call; int error; } faults[] = {
        {[&] { rs.field("Lauf_1_Zeit"); }, err::ItemNotFound}, {[&] { rs.field(3); }, err::ItemNotFound},
        {[&] { rs.fieldName(-1); }, err::ItemNotFound},        {[&] { empty.field(0); }, err::NoCurrentRecord},
        {[&] { rs.setAbsolutePosition(3); }, err::NoCurrentRecord}};
    for (const auto &f : faults)
        EXPECT_EQ(errorOf(f.call), f.error);
}

TEST_F(Engine, PreparedStatementsRunRepeatedlyAndAfterErrors) {
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
    EXPECT_EQ(errorOf([&] { db->tableColumns("Teilnehmer"); }), err::ItemNotFound);
    EXPECT_TRUE(db->tableExists("PROBE") && !db->tableExists("Teilnehmer"));

    // A statement run while another one runs (here from inside an SQL function) leaves the
    // texts bound to the outer one alone.
    sqlite3_create_function(
        db->handle(), "nested", 0, SQLITE_UTF8, db.get(),
        [](sqlite3_context *context, int, sqlite3_value **) {
            static_cast<Database *>(sqlite3_user_data(context))->openRecordset("SELECT ?1", {QString(20, 'y')});
            sqlite3_result_int(context, 1);
        },
        nullptr, nullptr);
    EXPECT_EQ(db->openRecordset("SELECT nested(), ?1", {QString(20, 'x')}).field(1).toText(), QString(20, 'x'));
    EXPECT_EQ(select.query({"b"}).field(1).toText(), ort);

    // A statement that outlives its database reports instead of touching a closed connection.
    db->close();
    EXPECT_EQ(errorOf([&] { insert.execute({"C", 1, Value()}); }), err::ObjectNotSet);
    EXPECT_EQ(errorOf([&] { db->openRecordset("SELECT 1"); }), err::ObjectNotSet);
}

TEST(EngineCollation, EqualityIgnoresCaseOfEveryLetterButKeepsAccents) {
    // expected: the sign of compare(a, b)
    const struct { const char *a, *b; int expected; } cases[] = {
        {"Müller", "MÜLLER", 0},  {"ПЁТР", "пётр", 0},      {"Øre", "øre", 0},          {"", "", 0},
        {"Muller", "Müller", -1}, {"Mueller", "Muller", -1}, {"Mueller", "Müller", -1}, {"Strasse", "Straße", -1},
        {"eric", "Éric", -1},     {"Straße", "Strassf", -1}, {"Apfel", "ärger", -1},    {"ärger", "Arm", -1},
        {"Ärger", "Zebra", -1},   {"abc", "ABD", -1},        {"", "a", -1},             {"abc", "abcd", -1},
        {"abcZ", "ABCä", 1},      {"abcü", "ABCÜ", 0},       {"Zuname", "zuname ", -1}};
    for (const auto &c : cases) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(sign(compareGeneral(a, b)), c.expected) << c.a << " | " << c.b;
        EXPECT_EQ(sign(compareGeneral(b, a)), -c.expected) << c.a << " | " << c.b;
    }
}

// An index is only sound when the order is total and consistent: equal exactly when
// equal ignoring case, and transitive, across ASCII and non-ASCII letters alike.
TEST(EngineCollation, OrderIsConsistentOverMixedAlphabet) {
    const QString alphabet = QStringLiteral("aAäÄsSßẞeéz");
    QStringList texts{QString()};
    for (QChar x : alphabet) {
        texts << QString(x);
        for (QChar y : alphabet)
            texts << QString(x) + y;
    }
    const int n = int(texts.size());
    std::vector<std::vector<int>> cmp(n, std::vector<int>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            cmp[i][j] = sign(compareGeneral(texts[i], texts[j]));
            ASSERT_EQ(cmp[i][j] == 0, texts[i].compare(texts[j], Qt::CaseInsensitive) == 0)
                << qPrintable(texts[i] + " / " + texts[j]);
        }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                if (cmp[i][j] <= 0 && cmp[j][k] <= 0) {
                    ASSERT_LE(cmp[i][k], 0) << qPrintable(texts[i] + " " + texts[j] + " " + texts[k]);
                }
}

// Duplicates across case and umlauts in the real schema: the series-file tests.
TEST_F(Engine, KeysAndSortingInTheDatabaseFollowTheCollation) {
    auto db = createSample(path("k.mdb"));
    int nummer = 0;
    for (const char *name : {"Müller", "Zebra", "Muller", "Ärger", "MUELLER", "Apfel"})
        db->execute(kInsert, {name, ++nummer, Value()});
    EXPECT_EQ(errorOf([&] { db->execute(kInsert, {"MÜLLER", 2, Value()}); }), err::DuplicateKey);
    QStringList order;
    const Recordset sorted = db->openRecordset("SELECT Name FROM Probe ORDER BY Name");
    for (const auto &row : sorted.rows())
        order << row[0].toText();
    EXPECT_EQ(order, QStringList({"Apfel", "Ärger", "MUELLER", "Muller", "Müller", "Zebra"}));
    // A lookup in any case finds the stored spelling.
    EXPECT_EQ(db->openRecordset("SELECT Nummer FROM Probe WHERE Name = ?1", {"MÜLLER"}).field(0).toLong(), 1);
}

TEST_F(Engine, CompactionWritesANewSmallerFileWithTheSameRules) {
    fillSample("s.mdb");
    CompactDatabase(path("s.mdb"), path("s.mdb_new"));
    EXPECT_EQ(rowsIn("s.mdb_new"), 2000);
    EXPECT_LT(QFileInfo(path("s.mdb_new")).size(), QFileInfo(path("s.mdb")).size());
    auto copy = Database::open(path("s.mdb_new"));
    EXPECT_EQ(errorOf([&] { copy->execute(kInsert, {"LÄUFER 1", 1, Value()}); }), err::DuplicateKey);
    EXPECT_EQ(errorOf([&] { copy->execute(kInsert, {"", 1, Value()}); }), err::EmptyText);

    ASSERT_TRUE(QDir().mkpath(path("echt/unter")) && QDir().mkpath(path("echt/drin")));
    ASSERT_TRUE(QFile::link("echt/unter", path("lnk")));
    const struct { const char *source, *target; int error; } cases[] = {
        {"s.mdb", "s.mdb_new", err::DatabaseExists}, {"fehlt.mdb", "x_new", err::FileNotFound},
        {"s.mdb", "fehlt/x_new", err::InvalidPath},
        {"s.mdb", "lnk/../drin/s_new", 0}};  // the system reaches echt/drin; "drin" beside lnk is missing
    const QByteArray before = fileBytes(path("s.mdb_new"));
    for (const auto &c : cases)
        EXPECT_EQ(errorOf([&] { CompactDatabase(path(c.source), path(c.target)); }), c.error) << c.target;
    EXPECT_EQ(fileBytes(path("s.mdb_new")), before);
    EXPECT_FALSE(QFile::exists(path("x_new")));
    EXPECT_EQ(rowsIn("echt/drin/s_new"), 2000);
}

// A damaged series file is repaired through DB_Repair in the core tests: reported as 3049
// and left byte for byte as it was.
TEST_F(Engine, RepairRewritesAHealthyFileAndLeavesAFaultyOneAlone) {
    ASSERT_TRUE(QDir().mkpath(path("echt")));
    // The path repaired, the file the system opens for it, and the links on the way.
    const struct {
        const char *repaired, *file;
        std::vector<std::pair<const char *, const char *>> links;
    } healthy[] = {
        {"gut.mdb", "gut.mdb", {}},
        {"link.mdb", "echt/serie.mdb", {{"link.mdb", "echt/serie.mdb"}}},
        {"kette.mdb", "echt/ende.mdb", {{"kette.mdb", "echt/mitte.mdb"}, {"echt/mitte.mdb", "ende.mdb"}}}};
    const auto freePages = [&](const char *file) {
        return Database::open(path(file))->openRecordset("PRAGMA freelist_count").field(0).toLong();
    };
    for (const auto &c : healthy) {
        fillSample(c.file);
        for (const auto &[at, text] : c.links) ASSERT_TRUE(QFile::link(text, path(at)));
        ASSERT_GT(freePages(c.file), 0);
        RepairDatabase(path(c.repaired));
        // The rewritten series is in the file behind the links, and every link stays.
        EXPECT_EQ(freePages(c.file), 0) << c.repaired;
        EXPECT_EQ(rowsIn(c.repaired), 2000);
        for (const auto &link : c.links) EXPECT_TRUE(QFileInfo(path(link.first)).isSymLink()) << link.first;
    }
    writeFile(path("brief.mdb"), QByteArray(4096, 'x'));
    EXPECT_EQ(errorOf([&] { RepairDatabase(path("brief.mdb")); }), err::NotADatabase);
    EXPECT_EQ(fileBytes(path("brief.mdb")), QByteArray(4096, 'x'));
    EXPECT_EQ(errorOf([&] { RepairDatabase(path("fehlt.mdb")); }), err::FileNotFound);
    // No half-written copies are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"brief.mdb", "gut.mdb", "kette.mdb", "link.mdb"}));
    EXPECT_EQ(QDir(path("echt")).entryList(QDir::Files), QStringList({"ende.mdb", "mitte.mdb", "serie.mdb"}));
}

}  // namespace

// Whole numbers as text, the small ones (formatted once) asked again and again.
TEST(EngineValue, WholeNumbersAsText) {
    const struct { std::int64_t n; const char *text; } cases[] = {
        {0, "0"},       {1, "1"},       {7, "7"},         {25, "25"},          {1982, "1982"},
        {4095, "4095"}, {4096, "4096"}, {-1, "-1"},       {-4096, "-4096"},    {99999, "99999"},
        {std::numeric_limits<std::int64_t>::max(), "9223372036854775807"},
    };
    for (int round = 0; round < 2; ++round)
        for (const auto &c : cases) {
            EXPECT_EQ(Value(c.n).toText(), QString::fromLatin1(c.text)) << c.n;
            EXPECT_EQ(Value(c.n).textOrEmpty(), QString::fromLatin1(c.text)) << c.n;
        }
}
