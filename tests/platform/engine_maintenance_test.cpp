// Compaction into a new file and repair in place; a failure leaves every file as it was.
#include "engine_support.h"

#include <QDir>

using namespace tarnis;
using namespace tarnis::enginetest;

namespace {

class EngineMaintenance : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    // A file of several pages, so that damage inside it leaves the header readable.
    void fillSample(const char *file) {
        auto db = createSample(path(file));
        db->beginTrans();
        Statement insert = db->prepare(kInsert);
        for (int i = 0; i < 3000; ++i)
            insert.execute({QStringLiteral("Läufer %1").arg(i), i, QStringLiteral("Ort %1").arg(i % 7)});
        db->commitTrans();
        db->execute("DELETE FROM Probe WHERE Nummer % 3 = 0");  // leaves free pages to compact away
    }
    int rowsIn(const char *file) {
        return int(Database::open(path(file))->openRecordset("SELECT count(*) FROM Probe").field(0).toLong());
    }
};

TEST_F(EngineMaintenance, CompactionWritesANewSmallerFileWithTheSameRules) {
    fillSample("s.mdb");
    CompactDatabase(path("s.mdb"), path("s.mdb_new"));
    EXPECT_EQ(rowsIn("s.mdb_new"), 2000);
    EXPECT_LT(QFileInfo(path("s.mdb_new")).size(), QFileInfo(path("s.mdb")).size());
    auto copy = Database::open(path("s.mdb_new"));
    EXPECT_EQ(errorOf([&] { copy->execute(kInsert, {"LÄUFER 1", 1, Value()}); }), err::DuplicateKey);
    EXPECT_EQ(errorOf([&] { copy->execute(kInsert, {"", 1, Value()}); }), err::EmptyText);

    const struct {
        const char *source, *target;
        int error;
    } cases[] = {{"s.mdb", "s.mdb_new", err::DatabaseExists},
                 {"fehlt.mdb", "x_new", err::FileNotFound},
                 {"s.mdb", "fehlt/x_new", err::InvalidPath}};
    const QByteArray before = fileBytes(path("s.mdb_new"));
    for (const auto &c : cases)
        EXPECT_EQ(errorOf([&] { CompactDatabase(path(c.source), path(c.target)); }), c.error) << c.target;
    EXPECT_EQ(fileBytes(path("s.mdb_new")), before);
    EXPECT_FALSE(QFile::exists(path("x_new")));
}

TEST_F(EngineMaintenance, RepairRewritesAHealthyFileAndLeavesAFaultyOneAlone) {
    fillSample("gut.mdb");
    RepairDatabase(path("gut.mdb"));
    EXPECT_EQ(rowsIn("gut.mdb"), 2000);

    fillSample("kaputt.mdb");
    QByteArray damaged = fileBytes(path("kaputt.mdb"));
    ASSERT_GT(damaged.size(), 40000);
    for (int i = 8192; i < 8192 + 4096; ++i)  // the third page and beyond: table and index pages
        damaged[i] = char(0xA5 ^ i);
    writeFile(path("kaputt.mdb"), damaged);
    writeFile(path("brief.mdb"), QByteArray(4096, 'x'));
    const struct {
        const char *file;
        int error;
    } cases[] = {{"kaputt.mdb", err::DamagedDatabase}, {"brief.mdb", err::NotADatabase}, {"fehlt.mdb", err::FileNotFound}};
    for (const auto &c : cases) {
        const QByteArray before = fileBytes(path(c.file));
        EXPECT_EQ(errorOf([&] { RepairDatabase(path(c.file)); }), c.error) << c.file;
        EXPECT_EQ(fileBytes(path(c.file)), before) << c.file;
    }
    // No half-written copies are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"brief.mdb", "gut.mdb", "kaputt.mdb"}));
}

}  // namespace
