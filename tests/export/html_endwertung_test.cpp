// The final standings page and its command: places and classes, the messages of the
// empty and the refused page, failures and the viewer. Whole pages byte for byte are
// the season case's.
#include "export/FinalStandingsHtml.h"
#include "html_support.h"

#include <QRegularExpression>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;
using testing::ElementsAre;

namespace {

class Endwertung : public HtmlSeries {
protected:
    // The table captions and the rows of a written page, one text per table row.
    QStringList tables(const QString &file) {
        const QString page = QString::fromLatin1(readBytes(file));
        QStringList out;
        static const QRegularExpression item(QStringLiteral("<H2>(.*)</H2>|<TR>\\r\\n<TD>((?:.|\\r\\n)*?)</TD>\\r\\n</TR>"));
        for (auto it = item.globalMatch(page); it.hasNext();) {
            const auto m = it.next();
            out << (m.captured(1).isNull() ? m.captured(2).replace(QStringLiteral("</TD>\r\n<TD>"), QStringLiteral("|"))
                                           : QStringLiteral("# ") + m.captured(1));
        }
        return out;
    }
};

TEST_F(Endwertung, PlacesClassesAndOrder) {
    struct Case {
        const char *name;
        const char *modus;
        bool pointsTable;  // place 1 earns more than place 2
        std::vector<Runner> runners;
        QStringList expected;
    };
    const Case cases[] = {
        {"without a points table lower totals come first", "P", false,
         {{"A", "a", 1980, "M40", "V", 3}, {"B", "b", 1980, "M40", "V", 7}},
         {"# M40", "1|A|a|1980|V|3", "2|B|b|1980|V|7"}},
        {"time mode: lowest first, no limit of 16 bits or 24 hours", "Z", true,
         {{"A", "a", 1980, "M40", "V", 90000}, {"B", "b", 1980, "M40", "V", 32768}, {"C", "c", 1980, "M40", "V", 3725}},
         {"# M40", "1|C|c|1980|V|01:02:05", "2|B|b|1980|V|09:06:08", "3|A|a|1980|V|25:00:00"}},
        {"long classes are told apart by their full name", "P", true,
         {{"A", "a", 1980, "Hauptklasse Männer Abteilung A", "V", 5},
          {"B", "b", 1980, "Hauptklasse Männer Abteilung B", "V", 4}},
         {"# Hauptklasse Männer A", "1|A|a|1980|V|5", "# Hauptklasse Männer A", "1|B|b|1980|V|4"}},
        {"equal totals in a fixed order, long fields cut", "P", true,
         {{"Zorn", "b", 19801, "M40", "V", 9}, {"Adler", "z", 1980, "M40", "Verein mit einem sehr langen Namen e.V.", 9}},
         {"# M40", "1|Adler|z|1980|Verein mit einem sehr langen N|9", "1|Zorn|b|1980|V|9"}},
        {"a class missing from the order is left out", "P", true,
         {{"A", "a", 1980, "M40", "V", 9}, {"B", "b", 1980, "M99", "V", 8}},
         {"# M40", "1|A|a|1980|V|9"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        gDB->execute(QStringLiteral("DELETE FROM Teilnehmer"));
        gDB->execute(QStringLiteral("DELETE FROM AKLSortIndex"));
        gDB->execute(QStringLiteral("DELETE FROM Punkteverteilung"));
        set("LastUser", "Modus", QString::fromUtf8(c.modus));
        if (c.pointsTable) {
            addPoints(1, 10);
            addPoints(2, 8);
        }
        int index = 0;
        for (const char *k : {"W35", "M40", "Hauptklasse Männer Abteilung A", "Hauptklasse Männer Abteilung B"})
            addClass(QString::fromUtf8(k), ++index);
        for (const Runner &r : c.runners) add(r);
        const QString file = path(QStringLiteral("%1.html").arg(&c - cases));
        HTML_ExportEndwertung(file);
        EXPECT_EQ(tables(file).join(u'\n').toStdString(), c.expected.join(u'\n').toStdString());
        EXPECT_TRUE(scripted.messages().isEmpty()) << scripted.messages().join(u'\n').toStdString();
    }
}

TEST_F(Endwertung, NoFinishersTouchNoFileAndARefusedPageIsReported) {
    const QString file = path(QStringLiteral("Endwertung.html"));
    writeBytes(file, "last year's page");
    addClass(QStringLiteral("M40"), 1);
    add({"A", "a", 1980, "M40", "V", 0});
    HTML_ExportEndwertung(file);
    EXPECT_EQ(readBytes(file), QByteArray("last year's page"));

    add({"B", "b", 1980, "M40", "V", 5});
    scripted.answer(QStringLiteral("no"));
    HTML_ExportEndwertung(file);
    EXPECT_EQ(readBytes(file), QByteArray("last year's page"));
    ASSERT_EQ(scripted.messages().size(), 3);
    EXPECT_EQ(scripted.messages()[0],
              QStringLiteral("information\tKeine Teilnehmer in der Endwertungoder kein AKL Sortier Index !!!"));
    EXPECT_TRUE(scripted.messages()[1].startsWith(QStringLiteral("critical\tEs gibt schon ein HTML File !!!")));
    EXPECT_EQ(scripted.messages()[2], QStringLiteral("critical\tHTML-Datei konnte nicht erstellt werden!"));
    EXPECT_TRUE(scripted.progressCalls().isEmpty());
}

TEST_F(Endwertung, AFailureHalfWayIsReportedAndKeepsTheOldPage) {
    const QString file = path(QStringLiteral("Endwertung.html"));
    writeBytes(file, "last year's page");
    addClass(QStringLiteral("M40"), 1);
    add({"A", "a", 1980, "M40", "V", 5});
    set("HTML Listen", "Tabelle", QStringLiteral("grün"));  // read first at the table start
    scripted.answer(QStringLiteral("yes"));
    HTML_ExportEndwertung(file);

    EXPECT_EQ(readBytes(file), QByteArray("last year's page"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Endwertung")).size(), 1);
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].error.number, err::TypeMismatch);
    EXPECT_EQ(scripted.errorReports()[0].hint, QStringLiteral("There was a problem printing to your printer."));
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("HTML_ExportEndwertung"));
    EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));
}

class RecordingStarter : public ProgramStarter {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override {
        calls << (QStringList{program} + arguments);
        return succeed;
    }
    QList<QStringList> calls;
    bool succeed = true;
};

TEST_F(Endwertung, CommandAsksForTheFileAndShowsThePage) {
    RecordingStarter starter;
    setProgramStarter(&starter);
    addClass(QStringLiteral("M40"), 1);
    add({"Adler", "Eva", 1987, "M40", "TV Süd", 18});
    const struct {
        const char *anzeigen;
        const char *viewer;
        const char *message;  // nullptr: none
        QStringList started;
    } cases[] = {
        {nullptr, nullptr, nullptr, {}},
        {"-1", "", "information\tKein HTML-Anzeiger ausgewählt!", {}},
        {"-1", "firefox -new-window", nullptr, {"firefox", "-new-window", "<page>"}},
        {"True", "\"/opt/mein browser/bin\"", nullptr, {"/opt/mein browser/bin", "<page>"}},
    };
    const QString page = path(QStringLiteral("mein Ordner/End wertung.html"));
    QDir(dir.path()).mkdir(QStringLiteral("mein Ordner"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.viewer ? c.viewer : "(no setting)");
        QFile::remove(page);
        scripted.clearRecords();
        starter.calls.clear();
        if (c.anzeigen) set("HTML Listen", "Anzeigen", QString::fromUtf8(c.anzeigen));
        if (c.viewer) set("HTML Listen", "Anzeigeprog", QString::fromUtf8(c.viewer));
        scripted.answer(QStringLiteral("file"), page);
        CommandHtmlEndwertung();
        ASSERT_EQ(scripted.fileRequests().size(), 1);
        EXPECT_EQ(scripted.fileRequests()[0].fileName, QStringLiteral("Endwertung.html"));
        EXPECT_TRUE(readBytes(page).contains("<TD>Adler</TD>"));
        EXPECT_THAT(scripted.progressCalls(), ElementsAre("show 1", "step 1", "hide"));
        EXPECT_EQ(scripted.messages(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        QStringList expected = c.started;
        expected.replaceInStrings(QStringLiteral("<page>"), page);
        EXPECT_EQ(starter.calls, expected.isEmpty() ? QList<QStringList>{} : QList<QStringList>{expected});
    }

    scripted.clearRecords();
    scripted.answer(QStringLiteral("file"), QString());
    CommandHtmlEndwertung();
    EXPECT_THAT(scripted.messages(), ElementsAre("information\tBitte einen Dateinamen angeben!"));

    // A viewer that does not start is reported; the page stays.
    starter.succeed = false;
    QFile::remove(page);
    scripted.answer(QStringLiteral("file"), page);
    CommandHtmlEndwertung();
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("mnuEWHTMLReport"));
    EXPECT_TRUE(scripted.errorReports()[0].error.description.contains(QStringLiteral("nicht gestartet")));
    EXPECT_TRUE(readBytes(page).contains("<TD>Adler</TD>"));
    setProgramStarter(nullptr);
}

}  // namespace
