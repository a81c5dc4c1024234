// The final standings page and its command: order, the messages of the empty and the
// refused page, failures and the viewer. Whole pages byte for byte are the season case's.
#include "export/FinalStandingsHtml.h"
#include "common/DiskFull.h"
#include "html_support.h"

#include <QRegularExpression>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;
using ::testing::ElementsAre;

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

// Points mode without a points table; equal totals in a fixed order and long fields
// cut. Classes in the stored order, ties, time mode and a class missing from the
// order are the season case's pages; long class names the shared numbering's tests.
TEST_F(Endwertung, PlacesAndOrder) {
    addClass("M40", 1);
    for (const Runner &r : {Runner{"A", "a", 1980, "M40", "V", 3}, {"B", "b", 1980, "M40", "V", 7}}) add(r);
    HTML_ExportEndwertung(path("1.html"));
    EXPECT_THAT(tables(path("1.html")), ElementsAre("# M40", "1|A|a|1980|V|3", "2|B|b|1980|V|7"));

    gDB->execute(QStringLiteral("DELETE FROM Teilnehmer"));
    addPoints(1, 10);
    addPoints(2, 8);
    add({"Zorn", "b", 19801, "M40", "V", 9});
    add({"Adler", "z", 1980, "M40", "Verein mit einem sehr langen Namen e.V.", 9});
    add({"Ta\tb", "\r\nc", 1980, "M40", "V\x01W", 7});  // control characters in data show as blanks
    HTML_ExportEndwertung(path("2.html"));
    EXPECT_THAT(tables(path("2.html")), ElementsAre("# M40", "1|Adler|z|1980|Verein mit einem sehr langen N|9",
                                                    "1|Zorn|b|1980|V|9", "3|Ta b|c|1980|V W|7"));
    EXPECT_TRUE(scripted.messages().isEmpty());
}

// Last year's page stays when there is no finisher, when the overwrite is refused,
// and when the page fails half way (a colour that is no number, read at the table start).
TEST_F(Endwertung, OldPageStaysWithoutFinishersRefusedOrFailing) {
    const QString file = path("Endwertung.html");
    writeBytes(file, "last year's page");
    addClass("M40", 1);
    add({"A", "a", 1980, "M40", "V", 0});
    HTML_ExportEndwertung(file);
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

    set("HTML Listen", "Tabelle", QStringLiteral("grün"));
    scripted.answer(QStringLiteral("yes"));
    HTML_ExportEndwertung(file);
    EXPECT_EQ(readBytes(file), QByteArray("last year's page"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Endwertung")).size(), 1);
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].error.number, err::TypeMismatch);
    EXPECT_TRUE(scripted.errorReports()[0].error.description.contains(QStringLiteral("\"Tabelle\" im Abschnitt")));
    EXPECT_EQ(scripted.errorReports()[0].hint, QStringLiteral("There was a problem printing to your printer."));
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("HTML_ExportEndwertung"));
    EXPECT_EQ(scripted.progressCalls().last(), QStringLiteral("hide"));

    // The disk fills up while the page is written.
    set("HTML Listen", "Tabelle", QStringLiteral("0"));
    const std::string answer = tarnis::testing::inChild(
        [&] {
            scripted.clearRecords();
            scripted.answer(QStringLiteral("yes"));
            HTML_ExportEndwertung(file);
            const auto &reports = scripted.errorReports();
            return reports.size() == 1 ? std::to_string(reports[0].error.number) + ' ' + reports[0].hint.toStdString()
                                       : std::string("no error dialog");
        },
        1000);
    EXPECT_EQ(answer, "57 There was a problem printing to your printer.");
    EXPECT_EQ(readBytes(file), QByteArray("last year's page"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Endwertung")).size(), 1);
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
    addClass("M40", 1);
    add({"Adler", "Eva", 1987, "M40", "TV Süd", 18});
    // No viewer set: nothing is started (a viewer not chosen is the season case's).
    const std::tuple<const char *, const char *, QStringList> cases[] = {
        {nullptr, nullptr, {}},
        {"-1", "firefox -new-window", {"firefox", "-new-window", "<page>"}},
        {"True", "\"/opt/mein browser/bin\"", {"/opt/mein browser/bin", "<page>"}},
    };
    const QString page = path(QStringLiteral("mein Ordner/End wertung.html"));
    QDir(dir.path()).mkdir(QStringLiteral("mein Ordner"));
    for (auto [anzeigen, viewer, started] : cases) {
        SCOPED_TRACE(viewer ? viewer : "(no setting)");
        QFile::remove(page);
        scripted.clearRecords();
        starter.calls.clear();
        if (anzeigen) set("HTML Listen", "Anzeigen", QString::fromUtf8(anzeigen));
        if (viewer) set("HTML Listen", "Anzeigeprog", QString::fromUtf8(viewer));
        scripted.answer(QStringLiteral("file"), page);
        CommandHtmlEndwertung();
        ASSERT_EQ(scripted.fileRequests().size(), 1);
        EXPECT_EQ(scripted.fileRequests()[0].fileName, QStringLiteral("Endwertung.html"));
        EXPECT_TRUE(readBytes(page).contains("<TD>Adler</TD>"));
        EXPECT_THAT(scripted.progressCalls(), ElementsAre("show 1", "step 1", "hide"));
        EXPECT_TRUE(scripted.messages().isEmpty());
        started.replaceInStrings(QStringLiteral("<page>"), page);
        EXPECT_EQ(starter.calls, started.isEmpty() ? QList<QStringList>{} : QList<QStringList>{started});
    }

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
