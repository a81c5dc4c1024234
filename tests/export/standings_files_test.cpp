// The grid page, the mail merge and the final press list: what a page or
// line shows for Nulls, odd totals and odd settings, and that a failure or a refusal
// keeps the old file. Whole files byte for byte are the season cases'.
#include "common/NullMainWindow.h"
#include "export/ClubHtml.h"
#include "export/GridHtml.h"
#include "export/IntermediateHtml.h"
#include "export/MailMerge.h"
#include "export/PressLists.h"
#include "html_support.h"

#include <QRegularExpression>
#include <functional>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;
using ::testing::ElementsAre;

namespace {

// The rows of a written page, one "a|b|c" text per table row (header cells included).
QStringList pageRows(const QByteArray &bytes) {
    const QString page = QString::fromLatin1(bytes);
    QStringList out;
    static const QRegularExpression row(QStringLiteral("<TR>\\r\\n((?:(?:<TD>|<TH ).*\\r\\n)+)</TR>"));
    static const QRegularExpression cell(QStringLiteral("(?:<TD>|<TH [^>]*><I>)(.*?)(?:</I>)?</T[DH]>"));
    for (auto it = row.globalMatch(page); it.hasNext();) {
        QStringList cells;
        for (auto c = cell.globalMatch(it.next().captured(1)); c.hasNext();) cells << c.next().captured(1);
        out << cells.join(u'|');
    }
    return out;
}

class FakeGrid : public tarnis::testing::NullMainWindow {
public:
    QStringList captions;
    QList<int> hidden;
    QList<QStringList> rows;
    int current = 7;
    int gridRowCount() const override { return int(rows.size()); }
    int gridColumnCount() const override { return int(captions.size()); }
    QString gridColumnCaption(int c) const override { return captions[c]; }
    bool gridColumnVisible(int c) const override { return !hidden.contains(c); }
    QString gridCell(int r, int c) const override { return rows[r][c]; }
    void setGridCurrentRow(int row) override { current = row; }
};

class Outputs : public HtmlSeries {
protected:
    void participant(const char *vorname, const char *klasse, const char *verein, const Value &ew, const Value &zw) {
        gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Endwertung, "
                     "Zwischenwertung) VALUES (?1, 'Eva', 1980, ?2, ?3, ?4, ?5)",
                     {vorname, klasse, verein, ew, zw});
    }
    QStringList lines(const QString &file) {
        QStringList out = QString::fromLatin1(readBytes(file)).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    }
};

// Null, empty and unreadable totals after an import show "-" and count 0 for the
// filter; time totals have no 9:06:07 limit; hidden, "***" and blank columns stay out.
TEST_F(Outputs, GridPageTotalsAndFilter) {
    FakeGrid grid;
    grid.captions = {"Name", "***", " ", "JG", "Verein", "EW", "ZW", "Lauf 1"};
    grid.hidden = {3};
    grid.rows = {{"Abel", "x", "x", "1980", "TV\tNord", "", "", "12"},
                 {"Berg", "x", "x", "1981", "LG", "32768", "0", "0"},
                 {"Cron", "x", "x", "1982", "LG", "abc", "5", " "}};
    const QString file = path(QStringLiteral("Anzeige.html"));
    set("LastUser", "Modus", QStringLiteral("Z"));
    HTML_ExportGrid(file, grid);
    EXPECT_THAT(pageRows(readBytes(file)), ElementsAre("Name|Verein|EW|ZW|Lauf 1", "Abel|TV Nord|-|-|12",
                                                       "Berg|LG|09:06:08|-|0", "Cron|LG|-|00:00:05|-"));
    EXPECT_EQ(grid.current, 0);

    const struct {
        const char *alle, *end, *zwischen;
        QStringList names;
    } filters[] = {
        {"0", "-1", "0", {"Berg"}},
        {"0", "", "True", {"Cron"}},  // stored empty: the default, off
        {"0", "0", "0", {}},
    };
    for (const auto &f : filters) {
        set("HTML Listen", "Alle TN", QString::fromLatin1(f.alle));
        set("HTML Listen", "Endwertung TN", QString::fromLatin1(f.end));
        set("HTML Listen", "Zwischenwertung TN", QString::fromLatin1(f.zwischen));
        QFile::remove(file);
        HTML_ExportGrid(file, grid);
        QStringList names;
        for (const QString &row : pageRows(readBytes(file)).mid(1)) names << row.section(u'|', 0, 0);
        EXPECT_EQ(names, f.names) << f.alle << f.end << f.zwischen;
    }
    EXPECT_EQ(scripted.errorReports().size(), 0);
}

// A page that fails half way (a table colour that is no number) is reported under
// the page's own name and hint, and the page written before stays.
TEST_F(Outputs, EveryPageReportsItsFailureAndKeepsTheOldPage) {
    FakeGrid grid;
    grid.captions = {"Name"};
    grid.rows = {{"Abel"}};
    addClass("M40", 1);
    participant("A", "M40", "LG", 10, 0);
    set("HTML Listen", "Tabelle", QStringLiteral("grün"));
    const QString file = path(QStringLiteral("Seite.html"));
    const struct {
        std::function<void()> run;
        QString procedure, hint;
    } pages[] = {
        {[&] { HTML_ExportGrid(file, grid); }, "HTML_ExportGrid", "There was a problem printing to your printer."},
        {[&] { HTML_ExportVereinswertung(file); }, "HTML_ExportVereinswertung",
         "There was a problem printing to your printer."},
        {[&] { HTML_ExportZwischenwertung(file); }, "HTML_ExportZwischenwertung", kAuthorHint},
        {[&] { HTML_ExportGruppe(file, QStringLiteral("M40")); }, "HTML_ExportGruppe",
         "There was a problem printing to your printer."},
    };
    for (const auto &page : pages) {
        writeBytes(file, "old");
        scripted.clearRecords();
        scripted.answer(QStringLiteral("yes"));
        page.run();
        EXPECT_EQ(readBytes(file), QByteArray("old")) << qPrintable(page.procedure);
        ASSERT_EQ(scripted.errorReports().size(), 1) << qPrintable(page.procedure);
        EXPECT_EQ(scripted.errorReports()[0].error.number, err::TypeMismatch);
        EXPECT_EQ(scripted.errorReports()[0].procedure, page.procedure);
        EXPECT_EQ(scripted.errorReports()[0].hint, page.hint);
        EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));
    }
}

// The mail merge: cancel ends silently; a declined question, an empty result after
// Yes and a failure part-way keep the old file; lines are 124 and 129 characters.
TEST_F(Outputs, MailMergeKeepsOldFileAndWritesFixedLines) {
    const QString file = path(QStringLiteral("Serienbrief.txt"));
    scripted.answer(QStringLiteral("file"), QString());
    EI_Export();
    EXPECT_TRUE(scripted.messages().isEmpty());
    EXPECT_EQ(scripted.fileRequests()[0].title, QStringLiteral("Serienbrief Datei ..."));
    EXPECT_EQ(scripted.fileRequests()[0].fileName, QStringLiteral("Serienbrief.txt"));

    writeBytes(file, "old");
    for (const char *reply : {"no", "yes"}) {
        scripted.answer(QStringLiteral("file"), file);
        scripted.answer(QString::fromLatin1(reply));
        if (QByteArray(reply) == "yes") scripted.answer(QStringLiteral("ok"));
        EI_Export();
        EXPECT_EQ(readBytes(file), QByteArray("old"));
    }
    EXPECT_TRUE(scripted.messages()[0].startsWith(QStringLiteral("critical\tEs gibt schon ein File!!!\\nSoll")));
    EXPECT_EQ(scripted.messages().last(), QStringLiteral("information\tKeine Daten für den Export gefunden ...\\n"
                                                         "Ursache: Keine Teilnehmer in der Endwertung"));

    participant("Sehr langer Name mit mehr als dreißig Zeichen", "Männliche Jugend U18 (5 km)", "LG", 40, 0);
    participant("Zorn", "Männliche Jugend U18 (10 km)", "LG", 50, 0);
    participant("Abel", "Männliche Jugend U18 (10 km)", "LG", 50, 0);
    participant("Kurz", "Männliche Jugend U18 (10 km)", "LG", 30, 0);
    addPoints(1, 10);
    addPoints(2, 8);
    scripted.answer(QStringLiteral("file"), file);
    scripted.answer(QStringLiteral("yes"));
    EI_Export();
    const QStringList out = lines(file);
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0].size(), 124);
    QStringList places;
    for (const QString &line : out.mid(1)) {
        EXPECT_EQ(line.size(), 129);
        places << line.left(5).trimmed() + u' ' + line.mid(5, 30).trimmed();
    }
    // Classes alike in their first 20 characters are numbered apart.
    EXPECT_THAT(places, ElementsAre("1 Abel", "1 Zorn", "3 Kurz", "1 Sehr langer Name mit mehr als"));
    EXPECT_EQ(out[1].mid(99, 20), QStringLiteral("Männliche Jugend U18"));

    // The file cannot be written: the error report, and no file.
    const QString nowhere = path(QStringLiteral("fehlt/Serienbrief.txt"));
    scripted.answer(QStringLiteral("file"), nowhere);
    EI_Export();
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("EI_Export"));
    EXPECT_EQ(scripted.errorReports()[0].hint, QString());
    EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));

    // A write-protected file: refused with the reason before the question, and kept.
    const QByteArray last = readBytes(file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    scripted.answer(QStringLiteral("file"), file);
    EI_Export();
    ASSERT_EQ(scripted.errorReports().size(), 2);
    EXPECT_TRUE(scripted.errorReports()[1].error.description.contains(QStringLiteral("ist schreibgeschützt")));
    EXPECT_EQ(readBytes(file), last);
    EXPECT_TRUE(scripted.failures().isEmpty());
}

// The final press list: no finisher is a message and no file; a stored empty AnzTn
// is the default 10, a wrong one is reported with the old list kept.
TEST_F(Outputs, FinalPressListSettingAndEmptyResult) {
    const QString file = path(QStringLiteral("Presseliste (EW).txt"));
    PRESSE_ExportEndwertung(file);
    EXPECT_THAT(scripted.messages(),
                ElementsAre("information\tKeine Teilnehmer in der Endwertungoder kein AKL Sortier Index !!!"));
    EXPECT_FALSE(QFile::exists(file));

    addClass("M40", 1);
    for (const char *name : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"})
        participant(name, "M40", "LG", 30, 0);
    set("Presseliste", "AnzTn", QString());
    PRESSE_ExportEndwertung(file);
    EXPECT_EQ(lines(file).size(), 11);

    const QByteArray before = readBytes(file);
    set("Presseliste", "AnzTn", QStringLiteral("zehn"));
    PRESSE_ExportEndwertung(file);
    EXPECT_EQ(readBytes(file), before);
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("PRESSE_ExportEndwertung"));
    EXPECT_EQ(scripted.errorReports()[0].hint, QStringLiteral("There was a problem printing to your printer."));
}

}  // namespace
