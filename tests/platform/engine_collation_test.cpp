#include "engine_support.h"
#include "platform/engine/Collation.h"

#include <gtest/gtest.h>

using namespace tarnis;
using namespace tarnis::enginetest;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

struct OrderCase {
    const char *a;
    const char *b;
    int expected;  // sign of compare(a, b)
};

}  // namespace

TEST(EngineCollation, EqualityIgnoresCaseOfEveryLetterButKeepsAccents) {
    const OrderCase cases[] = {
        {"Müller", "MÜLLER", 0},      {"müller", "MüLLER", 0},      {"ÄRGER", "ärger", 0},
        {"STRAẞE", "straße", 0},      {"ПЁТР", "пётр", 0},          {"ÉRIC", "éric", 0},
        {"Øre", "øre", 0},            {"a", "A", 0},                {"", "", 0},
        {"Muller", "Müller", -1},     {"Mueller", "Muller", -1},    {"Mueller", "Müller", -1},
        {"Strasse", "Straße", -1},    {"eric", "Éric", -1},         {"Straße", "Strassf", -1},
        {"Apfel", "ärger", -1},       {"ärger", "Arm", -1},         {"Ärger", "Zebra", -1},
        {"abc", "ABD", -1},           {"", "a", -1},                {"abc", "abcd", -1},
        {"abcZ", "ABCä", 1},          {"abcü", "ABCÜ", 0},          {"Zuname", "zuname ", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 | %2").arg(QString::fromUtf8(c.a), QString::fromUtf8(c.b)).toStdString());
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(sign(compareGeneral(a, b)), c.expected);
        EXPECT_EQ(sign(compareGeneral(b, a)), -c.expected);
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
    auto folded = [](const QString &s) {
        QString f;
        for (QChar c : s)
            f += QChar(char16_t(QChar::toCaseFolded(c.unicode())));
        return f;
    };
    std::vector<std::vector<int>> cmp(std::size_t(texts.size()), std::vector<int>(std::size_t(texts.size())));
    for (int i = 0; i < texts.size(); ++i) {
        for (int j = 0; j < texts.size(); ++j) {
            cmp[i][j] = sign(compareGeneral(texts[i], texts[j]));
            ASSERT_EQ(cmp[i][j] == 0, folded(texts[i]) == folded(texts[j]))
                << texts[i].toStdString() << " / " << texts[j].toStdString();
        }
    }
    for (std::size_t i = 0; i < cmp.size(); ++i)
        for (std::size_t j = 0; j < cmp.size(); ++j)
            for (std::size_t k = 0; k < cmp.size(); ++k)
                if (cmp[i][j] <= 0 && cmp[j][k] <= 0) {
                    ASSERT_LE(cmp[i][k], 0) << texts[int(i)].toStdString() << " " << texts[int(j)].toStdString()
                                            << " " << texts[int(k)].toStdString();
                }
}

TEST(EngineCollation, KeysAndSortingInTheDatabaseFollowTheOrder) {
    QTemporaryDir dir;
    auto db = createSample(dir.filePath("k.mdb"));
    db->execute(kInsert, {"Müller", 1, Value()});
    const struct {
        const char *name;
        int error;
    } inserts[] = {{"MÜLLER", err::DuplicateKey}, {"müller", err::DuplicateKey}, {"Muller", 0},
                   {"MUELLER", 0},                {"Ärger", 0},                  {"ärger", err::DuplicateKey},
                   {"Zebra", 0},                  {"Apfel", 0}};
    for (const auto &c : inserts) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { db->execute(kInsert, {c.name, 2, Value()}); }), c.error);
    }
    QStringList order;
    const Recordset rs = db->openRecordset(QStringLiteral("SELECT Name FROM Probe ORDER BY Name"));
    for (const auto &row : rs.rows())
        order << row[0].toText();
    EXPECT_EQ(order, QStringList({"Apfel", "Ärger", "MUELLER", "Muller", "Müller", "Zebra"}));
    // A lookup in any case finds the stored spelling.
    const Recordset hit = db->openRecordset(QStringLiteral("SELECT Nummer FROM Probe WHERE Name = ?1"), {"MÜLLER"});
    ASSERT_EQ(hit.recordCount(), 1);
    EXPECT_EQ(hit.field(0).toLong(), 1);
}
