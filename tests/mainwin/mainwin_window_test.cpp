// The main window under the offscreen platform: start-up paths, the grid, reload,
// shutdown and the restored placement, and what tool clicks do to the window.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "core/dialogs/GetDatabase.h"
#include "mainwin/InstanceLock.h"
#include "mainwin/ToolRegistry.h"
#include "core/services/forms/GridStyleView.h"
#include "mainwin/forms/frmSerienwertung.h"
#include "platform/qt/PrinterOutput.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QImage>
#include <QLockFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        reloadSettings();
        qputenv("TARNIS_PROGRAM_DIR", program_.path().toUtf8());
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        qunsetenv("TARNIS_TEST_MODIFIERS");
        ReleaseInstanceLock();
        setUi(&ui_);
        frmSerienwertung::setSplashHook([this] { ++splashes_; });
        frmSerienwertung::setDatabaseDialogHook([this](QWidget *) {
            ++dialogs_;
            return onDialog_ && onDialog_();
        });
    }
    void TearDown() override {
        window_.reset();
        frmSerienwertung::setSplashHook({});
        frmSerienwertung::setDatabaseDialogHook({});
        qunsetenv("TARNIS_TEST_MODIFIERS");
        ReleaseInstanceLock();
    }

    QString series(int races, const QString &name = QStringLiteral("series.mdb")) {
        const QString path = program_.filePath(name);
        if (!QFile::exists(path)) CreateSeriesFile(path, races);
        return path;
    }
    void storeSeries(const QString &path) { SaveSetting("LastUser", "Datenbank", path); }
    void addRunner(const char *name, const char *club, int total) {
        Database::open(series(1))->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, "
                                           "Endwertung, Zwischenwertung) VALUES (?1, 'X', 1980, 'M40', ?2, ?3, 0)",
                                           {Value(name), Value(club), Value(total)});
    }
    // A new window, as a new run of the program: the old one gone, its lock given up.
    bool start() {
        window_.reset();
        ReleaseInstanceLock();
        window_ = std::make_unique<frmSerienwertung>();
        return window_->start();
    }
    bool startOnOneRace() {
        storeSeries(series(1));
        return start();
    }
    QStringList names() {
        QStringList out;
        for (int r = 0; r < window_->gridRowCount(); ++r) out << window_->gridCell(r, 0);
        return out;
    }
    QStringList reports() {
        QStringList out;
        for (const ErrorReport &r : ui_.errorReports()) out << QString::number(r.error.number) + ' ' + r.procedure;
        return out;
    }
    QString layoutFile() const { return data_.filePath("Lrv. Tarnis/USERLAYOUT.TB"); }
    void writeLayout(const QByteArray &bytes) {
        QDir().mkpath(data_.filePath("Lrv. Tarnis"));
        QFile layout(layoutFile());
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(bytes);
    }

    QTemporaryDir config_, program_, data_, runtime_;
    ScriptedUi ui_;
    std::unique_ptr<frmSerienwertung> window_;
    std::function<bool()> onDialog_;
    int dialogs_ = 0, splashes_ = 0;
};

// A second copy is told and ends; a dialog that keeps getting paths that do not open
// ends when closed; a fresh start chooses a database, then loads, and reloads.
TEST_F(MainWindowTest, StartUpPaths) {
    QLockFile first(InstanceLockPath());
    ASSERT_TRUE(first.tryLock(0));
    EXPECT_FALSE(start());
    EXPECT_THAT(ui_.messages(), ElementsAre(QString::fromUtf8("information\tLrv. Tarnis läuft bereits !")));
    EXPECT_EQ(ui_.endProgramCalls(), 1);
    EXPECT_EQ(dialogs_, 0);
    EXPECT_EQ(GetSetting("LastUser", "AppPath", "-"), "-");
    first.unlock();

    onDialog_ = [this] {
        storeSeries(program_.filePath("fehlt.mdb"));
        return dialogs_ < 3;
    };
    EXPECT_FALSE(start());
    EXPECT_EQ(dialogs_, 3);
    EXPECT_TRUE(window_->programEnded());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(gDB, nullptr);

    dialogs_ = splashes_ = 0;
    onDialog_ = [this] {
        storeSeries(series(3));
        return true;
    };
    ASSERT_TRUE(start());
    EXPECT_EQ(window_->windowTitle(), "Lrv. Tarnis V1.0.0");
    EXPECT_EQ(window_->gridCaption(), QString::fromUtf8("0 erfaßte Teilnehmer"));
    EXPECT_EQ(window_->statusPanel(2), series(3));
    EXPECT_EQ(GetSetting("LastUser", "AppPath"), program_.path());
    EXPECT_EQ(gRaceCount, 3);
    EXPECT_EQ(window_->recordSource(),
              "select * from Teilnehmer  order by Jahrgang, Altersklasse, Zuname, Vorname ASC");
    addRunner("Adler", "LG Nord", 30);
    window_->reload();  // reads the file again; no splash, no dialog
    EXPECT_EQ(window_->gridCaption(), QString::fromUtf8("1 erfaßte Teilnehmer"));
    EXPECT_EQ(splashes_, 1);
    EXPECT_EQ(dialogs_, 1);
    EXPECT_TRUE(ui_.errorReports().isEmpty());
}

// A stored series path whose links loop or lead nowhere is named so before the database
// dialog opens; a plain missing file opens the dialog without a word.
TEST_F(MainWindowTest, AStoredPathWhoseLinksLeadNowhereIsNamedAtStart) {
    ui_.setWorkFolder(program_.path());
    ASSERT_TRUE(QFile::link("weg.mdb", program_.filePath("lose.mdb")));
    ASSERT_TRUE(QFile::link("kreis.mdb", program_.filePath("kreis.mdb")));
    ASSERT_TRUE(QFile::link("weg", program_.filePath("ordner")));
    const struct {
        const char *stored, *message;
    } cases[] = {
        {"lose.mdb", "exclamation\tDer Pfad '<work>/lose.mdb' ist eine symbolische Verknüpfung auf die fehlende "
                     "Datei '<work>/weg.mdb'."},
        {"kreis.mdb", "exclamation\tDie symbolischen Verknüpfungen im Pfad '<work>/kreis.mdb' verweisen im Kreis "
                      "oder sind mehr als 40 hintereinander."},
        {"ordner/serie.mdb", "exclamation\tDer Pfad '<work>/ordner/serie.mdb' führt über eine symbolische "
                             "Verknüpfung zum fehlenden Ordner '<work>/weg'."},
        {"fehlt.mdb", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        ui_.clearRecords();
        dialogs_ = 0;
        storeSeries(program_.filePath(c.stored));
        onDialog_ = [this] {
            storeSeries(series(1));
            return true;
        };
        ASSERT_TRUE(start());
        EXPECT_EQ(dialogs_, 1);
        EXPECT_EQ(ui_.messages(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_TRUE(ui_.errorReports().isEmpty());
    }
}

// What writes killed half-way left beside the series file is gone after the start;
// other files of the folder, another series' files, other programs' temporaries and
// the series' own journal stay. A series opened through a link has its leftovers beside
// the file the link points to, and those of its day backups and compaction beside the
// path as stored, each in the folder the system reaches; a name the writer would
// shorten is shortened here too.
TEST_F(MainWindowTest, AStartRemovesWhatKilledWritesLeftBesideTheSeries) {
    const QString longName = QString(192, u's') + ".mdb";  // its day backups' names are over 200 bytes
    const struct {
        const char *name;
        QString opened, file;  // the series as stored, and where its file lies
        QStringList left, kept;
        // where and what the links hold; without, a link at opened holds file
        std::vector<std::pair<QString, QString>> links = {};
    } cases[] = {
        {"plain",
         "series.mdb",
         "series.mdb",
         {".series.mdb_07.12.2026.tmp-a1B2c3", ".series.mdb.tmp-Q1w2E3", "series.mdb_new.tmp",
          "series.mdb_new.tmp-journal", ".series.mdb_new.tmp-AbC123"},
         {"other.mdb-journal", "other.mdb_new.tmp", ".notiz.tmp-abcde", ".notiz.tmp-abc-ef", "notiz.tmp-abcdef",
          ".notiz.tmp-abcdefg", ".notizen.txt.tmp-Xy12Zz", ".Endwertung.htm.tmp-Zz9yX1", "series.mdb-journal",
          ".series.mdb.tmp-AbC123\n", ".series.mdb_07.12.2026x.tmp-a1B2c3"}},
        {"through a link", "link.mdb", "echt/link.mdb", {"echt/.link.mdb.tmp-AbC123"}, {".link.mdb.tmp-AbC123"}},
        {"long name", longName, longName, {"." + QString(60, u's') + ".tmp-AbC123"}, {}},
        // lnk → echt/unter, lnk/a.mdb → ../c.mdb: the system reads echt/c.mdb
        {"through a folder link",
         "lnk/a.mdb",
         "echt/c.mdb",
         {"echt/.c.mdb.tmp-AbC123", "echt/unter/.a.mdb_07.12.2026.tmp-a1B2c3", "echt/unter/a.mdb_new.tmp"},
         {".c.mdb.tmp-AbC123", "echt/unter/.a.mdb.tmp-AbC123", "echt/.a.mdb_07.12.2026.tmp-a1B2c3"},
         {{"lnk", "echt/unter"}, {"echt/unter/a.mdb", "../c.mdb"}}},
    };
    // Every entry of the folder, links not followed.
    const auto entriesOf = [](const QDir &folder) {
        QStringList found;
        for (QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            found << folder.relativeFilePath(it.next());
        found.sort();
        return found;
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QDir folder(program_.filePath(c.name));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(folder.filePath(c.file)).absolutePath()));
        CreateSeriesFile(folder.filePath(c.file), 1);
        auto links = c.links;
        if (links.empty() && c.opened != c.file) links.emplace_back(c.opened, c.file);
        for (const auto &[at, text] : links) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(folder.filePath(at)).absolutePath()));
            ASSERT_TRUE(QFile::link(text, folder.filePath(at)));
        }
        storeSeries(folder.filePath(c.opened));
        ASSERT_TRUE(folder.mkdir(".ordner.tmp-abcdef"));
        ASSERT_TRUE(QFile::link("notiz.tmp-abcdef", folder.filePath(".series.mdb.tmp-L1nk00")));
        QStringList expected = entriesOf(folder) + c.kept;
        for (const QString &name : c.left + c.kept) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(name == "series.mdb-journal" ? QByteArray(1, '\0') : QByteArray("x"));
        }
        ASSERT_TRUE(start());
        expected.sort();
        EXPECT_EQ(entriesOf(folder), expected);
    }
}

TEST_F(MainWindowTest, HeldKeysAtStart) {
    // Keys held, the answer to "Menu-Einstellungen löschen?", whether the layout file is
    // kept, how often the dialog shows, and whether it is left with "&Fertig" or closed.
    const std::tuple<const char *, const char *, bool, int, bool> cases[] = {
        {"ctrl", "yes", false, 0, true}, {"ctrl", "no", true, 0, true},
        {"shift", nullptr, true, 1, true},   // the dialog even with a good database
        {"shift", nullptr, true, 1, false},  // closed: the stored database still loads
        {"ctrl,shift", "no", true, 1, true},
    };
    ASSERT_TRUE(startOnOneRace());
    window_->clickTool(20010);
    QFile saved(layoutFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray layoutBytes = saved.readAll();
    for (const auto &[keys, answer, layoutKept, dialogs, fertig] : cases) {
        SCOPED_TRACE(keys);
        ui_.clearRecords();
        dialogs_ = 0;
        writeLayout(layoutBytes);
        qputenv("TARNIS_TEST_MODIFIERS", keys);
        if (answer) ui_.answer(QString::fromUtf8(answer), QString());
        // The keys are let go while the dialog is open.
        onDialog_ = [fertig = fertig] {
            qunsetenv("TARNIS_TEST_MODIFIERS");
            return fertig;
        };
        ASSERT_TRUE(start());
        EXPECT_EQ(dialogs_, dialogs);
        EXPECT_EQ(QFile::exists(layoutFile()), layoutKept);
        EXPECT_EQ(ui_.messages(), answer ? QStringList{QString::fromUtf8("question\tMenu-Einstellungen löschen?")}
                                          : QStringList{});
        EXPECT_TRUE(ui_.leftoverAnswers().isEmpty());
        qunsetenv("TARNIS_TEST_MODIFIERS");
    }
}

// Which columns each mode shows is the grid setup's table; here the window applies it,
// and a reload onto another series recounts the races even when a later step fails.
TEST_F(MainWindowTest, GridColumnsByModeAndAfterASwitchToAnotherSeries) {
    SaveSetting("LastUser", "Modus", "Z");
    ASSERT_TRUE(startOnOneRace());
    EXPECT_FALSE(window_->gridColumnVisible(9));
    EXPECT_TRUE(window_->gridColumnVisible(10));

    SaveSetting("LastUser", "Modus", "P");
    storeSeries(series(4, "vier.mdb"));
    writeLayout("kaputt\n");
    window_->reload();
    EXPECT_THAT(reports(), ElementsAre(QString::number(err::LayoutDamaged) + " Form_Load"));
    EXPECT_EQ(gDB->path(), series(4, "vier.mdb"));
    EXPECT_EQ(gRaceCount, 4);
    EXPECT_EQ(window_->gridColumnCount(), 23);
    EXPECT_TRUE(window_->gridColumnVisible(21) && window_->gridColumnCaption(21) == "4");
}

// "Datenbank erstellen" with a new file of five races while one of three is open: the
// window goes over to the new file at once, so the lists read the races it holds.
TEST_F(MainWindowTest, NewSeriesFromTheDatabaseDialogIsOpenedAtOnce) {
    const QString three = series(3, "drei.mdb"), five = program_.filePath("fuenf.mdb");
    {
        const auto old = Database::open(three);
        old->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Zwischenwertung) "
                     "VALUES ('Adler', 'X', 1980, 'M40', 'LG', 25)");
        old->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 1)");
    }
    storeSeries(three);
    SaveSetting("LastUser", "MaxLaufErf", "3");
    ASSERT_TRUE(start());
    onDialog_ = [&] {
        GenerateDatabase(five, "5");
        StoreDatabaseChoice(five, "5");
        return true;
    };
    ui_.answer("ok");  // the creation's own message
    window_->clickTool(20043);
    EXPECT_EQ(gDB->path(), five);
    EXPECT_EQ(window_->statusPanel(2), five);
    EXPECT_EQ(window_->gridCaption(), QString::fromUtf8("0 erfaßte Teilnehmer"));
    EXPECT_EQ(gRaceCount, 5);
    EXPECT_EQ(window_->gridColumnCaption(window_->gridColumnCount() - 2), "5");

    ui_.clearRecords();
    ui_.answer("ok");
    window_->clickTool(30061);  // the intermediate list of the new, empty series
    EXPECT_TRUE(reports().isEmpty());
    EXPECT_THAT(ui_.messages(), ElementsAre(QString::fromUtf8("information\tKeine Teilnehmer in der Endwertung !!!")));
    EXPECT_TRUE(ui_.leftoverAnswers().isEmpty());
}

TEST_F(MainWindowTest, ClubFilterFinalOnlyAndHeaderSort) {
    addRunner("Adler", "O'Brien's Lauftreff", 30);
    addRunner("Berg", "TV Süd", 0);
    addRunner("Claus", "o'brien's lauftreff", 0);  // the same club: case does not count
    ASSERT_TRUE(startOnOneRace());
    QComboBox *clubs = window_->clubFilter();
    ASSERT_EQ(clubs->count(), 3);  // "alle" and two clubs
    EXPECT_EQ(clubs->itemText(0), "alle");
    EXPECT_EQ(window_->gridCaption(), QString::fromUtf8("3 erfaßte Teilnehmer"));
    EXPECT_EQ(window_->gridFieldName(5), "Endwertung");
    EXPECT_EQ(window_->gridValue(0, 5), Value(30));
    EXPECT_TRUE(window_->gridValue(0, 7).isNull());

    clubs->setCurrentIndex(clubs->findText("O'Brien's Lauftreff", Qt::MatchFixedString));
    EXPECT_THAT(names(), ElementsAre("Adler", "Claus"));
    window_->finalOnlyBox()->click();
    EXPECT_THAT(names(), ElementsAre("Adler"));
    window_->finalOnlyBox()->click();

    // Header clicks keep the club and flip the direction, first descending.
    QHeaderView *header = window_->grid()->horizontalHeader();
    emit header->sectionClicked(0);
    EXPECT_THAT(names(), ElementsAre("Claus", "Adler"));
    emit header->sectionClicked(0);
    EXPECT_THAT(names(), ElementsAre("Adler", "Claus"));

    // The filter survives a reload, the club list goes back to "alle".
    window_->finalOnlyBox()->click();
    window_->reload();
    EXPECT_EQ(clubs->currentText(), "alle");
    EXPECT_THAT(names(), ElementsAre("Adler"));
    EXPECT_TRUE(ui_.errorReports().isEmpty());
}

TEST_F(MainWindowTest, ShutdownStoresWhatTheNextStartRestores) {
    for (const auto &[key, value] : {std::pair{"LastHeight", "9000"}, {"LastWidth", "12000"}, {"LastLeftPos", "1500"},
                                     {"LastTopPos", "3000"}})
        SaveSetting("LastUser", key, value);
    SaveSetting("Grid", "ColWith10", "900");  // a hidden time column in points mode
    ASSERT_TRUE(startOnOneRace());
    EXPECT_EQ(window_->frameGeometry(), QRect(100, 200, 800, 600));

    window_->move(300, 150);
    window_->closeAndShutdown();
    EXPECT_EQ(gDB, nullptr);
    EXPECT_TRUE(QFile::exists(layoutFile()));
    EXPECT_EQ(GetSetting("LastUser", "LastTopPos"), "2250");
    EXPECT_EQ(GetSetting("LastUser", "LastLeftPos"), "4500");
    EXPECT_EQ(GetSetting("LastUser", "SizeOfGridCol0"), "2000");
    EXPECT_EQ(GetSetting("Grid", "ColWith10"), "900");
    EXPECT_EQ(GetSetting("Grid", "ColWith5"), "600");

    ASSERT_TRUE(start());
    EXPECT_EQ(window_->frameGeometry(), QRect(300, 150, 800, 600));
}

// A failing activation is reported and uncovers the grid; a style that keeps
// failing is not reported at every activation after that.
TEST_F(MainWindowTest, FailingActivationIsReported) {
    storeSeries(series(1));
    for (const auto &[key, value] : {std::pair{"LastUser", "LastHeight"}, {"Grid", "FontSize"}}) {
        SCOPED_TRACE(key);
        SaveSetting(key, value, "hoch");
        ui_.clearRecords();
        ASSERT_TRUE(start());
        EXPECT_THAT(reports(), ElementsAre("13 Form_Activate"));
        EXPECT_FALSE(window_->findChild<QFrame *>("fraMantel")->isVisible());
        DeleteSetting(key, value);
    }
    SaveSetting("Grid", "FontSize", "klein");
    onDialog_ = [] { return true; };
    window_->clickTool(20043);
    window_->clickTool(20043);
    EXPECT_EQ(dialogs_, 2);
    EXPECT_THAT(reports(), ElementsAre("13 Form_Activate", "13 Form_Activate"));  // once after the first dialog
    EXPECT_NE(gDB, nullptr);  // the database dialog alone does not reload
}

// A stored setting of the activation that does not convert, a window size below the
// window's minimum and a position that leaves its title bar on no screen take their
// default: the placement, the captions, the hidden columns, the widths, the rows at
// their height whatever the font, the other style keys and the gradient strip are set
// up as with a good value, and the key is told once however often the window is
// activated; the placement keys, set in no dialog, with the settings file. The shutdown
// stores the widths the grid loaded.
TEST_F(MainWindowTest, ABadGridSettingIsToldOnceAndTheSetupFinishes) {
    struct Case {
        const char *section, *key, *value;
        const char *told;  // number and description
        bool namesFile;
    };
    const Case cases[] = {
        {"LastUser", "SizeOfGridCol1", "breit", "13 Typen unverträglich (LastUser/SizeOfGridCol1 = \"breit\")", false},
        {"Grid", "BackColorOdd", "breit", "13 Typen unverträglich (Grid/BackColorOdd = \"breit\")", false},
        {"LastUser", "LastHeight", "breit", "13 Typen unverträglich (LastUser/LastHeight = \"breit\")", true},
        {"LastUser", "LastHeight", "0", "380 Ungültiger Eigenschaftswert (LastUser/LastHeight = \"0\")", true},
        // 400 pixels, below the menu's width; as a number of twips above it
        {"LastUser", "LastWidth", "6000", "380 Ungültiger Eigenschaftswert (LastUser/LastWidth = \"6000\")", true},
        // 1000 pixels wide, its right edge 300 pixels left of the only screen
        {"LastUser", "LastLeftPos", "-19500",
         "380 Ungültiger Eigenschaftswert (LastUser/LastLeftPos = \"-19500\", LastUser/LastTopPos = \"100\")", true},
    };
    addRunner("Adler", "LG Nord", 30);
    addRunner("Berg", "LG Nord", 20);
    for (const auto &[section, key, value, told, namesFile] : cases) {
        SCOPED_TRACE(std::string(key) + " = " + value);
        QFile::remove(settingsFilePath());
        reloadSettings();
        SaveSetting("Grid", "FontSize", "11");    // read before BackColorOdd
        SaveSetting("Grid", "ForeColor", "255");  // read after it
        SaveSetting("LastUser", "SizeOfGridCol3", "2600");
        SaveSetting("Grid", "ColWith9", "900");
        SaveSetting(section, key, value);
        ui_.clearRecords();
        ASSERT_TRUE(startOnOneRace());
        QEvent activate(QEvent::WindowActivate);  // as when the error dialog closes
        QApplication::sendEvent(window_.get(), &activate);

        ASSERT_EQ(ui_.errorReports().size(), 1);
        const ErrorReport &report = ui_.errorReports()[0];
        EXPECT_EQ(report.procedure, "Form_Activate");
        EXPECT_EQ(QString::number(report.error.number) + ' ' + report.error.description, QString::fromUtf8(told));
        EXPECT_EQ(report.hint, namesFile ? "Einstellungsdatei: \"" + settingsFilePath() + '"' : QString());
        EXPECT_EQ(window_->frameGeometry(), QRect(7, 7, 1000, 667));  // 100, 100, 15000, 10000 twips
        QTableView *grid = window_->grid();
        QStringList captions;
        for (int c = 0; c <= 9; ++c)
            captions << (grid->isColumnHidden(c) ? "-" : grid->model()->headerData(c, Qt::Horizontal).toString());
        EXPECT_EQ(captions.join(u','), "Name,Vorname,JG,Altersklasse,Verein,EW,ZW,-,-,1");
        EXPECT_EQ(grid->columnWidth(1), grid->columnWidth(0));  // both 2000 twips
        EXPECT_EQ(grid->rowViewportPosition(1) - grid->rowViewportPosition(0),
                  std::lround(239 * grid->logicalDpiY() / 1440.0));
        EXPECT_EQ(grid->font().pointSizeF(), 11);
        EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_NE(window_->findChild<QWidget *>("picBottom")->palette().brush(QPalette::Window).gradient(), nullptr);

        window_->closeAndShutdown();
        QStringList stored;
        for (const auto &[s, k] : {std::pair{"LastUser", "LastHeight"}, {"LastUser", "SizeOfGridCol3"},
                                   {"Grid", "ColWith3"}, {"Grid", "ColWith9"}})
            stored << GetSetting(s, k);
        EXPECT_EQ(stored.join(u' '), "10000 2600 2600 900");
    }
}

// The preview takes the grid's place until closed; the hardcopy goes to the printer;
// every click saves the layout first, and one that cannot be saved is told.
TEST_F(MainWindowTest, ToolClicksPreviewPrintAndSaveTheLayout) {
    addRunner("Adler", "LG Nord", 30);
    Database::open(series(1))->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 1)");
    ASSERT_TRUE(startOnOneRace());
    const auto child = [this](const char *name) { return window_->findChild<QWidget *>(name); };
    QWidget *filterBar = child("fraMain"), *grid = child("dbgTeilnehmer"), *preview = child("vsPrinter"),
            *previewBar = child("fraEinstellungen");
    window_->clickTool(30071);  // the final standings, in preview mode
    ASSERT_TRUE(window_->previewVisible());
    EXPECT_EQ(preview->geometry(), grid->geometry());
    EXPECT_TRUE(filterBar->isHidden() && !previewBar->isHidden());
    window_->resize(window_->width() + 150, window_->height() + 90);  // followed while shown
    EXPECT_EQ(preview->size(), grid->size());
    window_->closePreview();
    EXPECT_FALSE(window_->previewVisible());
    EXPECT_TRUE(!filterBar->isHidden() && previewBar->isHidden());

    const QString pdf = program_.filePath("hardcopy.pdf");
    qputenv("TARNIS_PRINT_PDF", pdf.toUtf8());
    window_->clickTool(30020);
    qunsetenv("TARNIS_PRINT_PDF");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    // Without a printer the hardcopy goes to a PDF file the user names.
    print::PrinterOutput::setPrinterQuery([] { return false; });
    ui_.answer("file", program_.filePath("fenster.pdf"));
    window_->clickTool(30020);
    print::PrinterOutput::setPrinterQuery({});
    ASSERT_EQ(ui_.fileRequests().size(), 1);
    EXPECT_EQ(ui_.fileRequests()[0].fileName, "Hardcopy.pdf");
    EXPECT_GT(QFileInfo(program_.filePath("fenster.pdf")).size(), 0);
    EXPECT_TRUE(ui_.errorReports().isEmpty());

    QFile::remove(layoutFile());
    window_->clickTool(20010);  // only opens a menu: the layout is written all the same
    EXPECT_TRUE(QFile::exists(layoutFile()));
    QFile::remove(layoutFile());
    ASSERT_TRUE(QDir().mkdir(layoutFile()));
    window_->clickTool(30012);  // the command runs anyway
    EXPECT_THAT(ui_.messages(), ElementsAre(QString::fromUtf8("information\tMenüeinstellungen konnten nicht gespeichert werden!")));
    EXPECT_TRUE(window_->printDirect());
}

// Another program holds the series file locked: a name sort empties the grid and
// cannot read it again. That is told under the sort's name; dropped, the grid would pass
// for a series without participants.
TEST_F(MainWindowTest, ASortThatCannotReadTheSeriesIsReported) {
    addRunner("Adler", "LG Nord", 30);
    ASSERT_TRUE(startOnOneRace());
    {
        const auto other = Database::open(series(1));
        other->execute("BEGIN EXCLUSIVE");
        window_->clickTool(1);
        other->execute("ROLLBACK");
    }
    ASSERT_EQ(ui_.errorReports().size(), 1);
    EXPECT_EQ(ui_.errorReports()[0].procedure, "mnuSortAsc");
    EXPECT_EQ(window_->gridRowCount(), 0);
    window_->clickTool(2);  // free again
    EXPECT_THAT(names(), ElementsAre("Adler"));
    EXPECT_EQ(ui_.errorReports().size(), 1);
}

// The grid style serves other grids too (the preferences show their own).
TEST(GridStyleTest, AnyGridTakesFontsAndRowColours) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    reloadSettings();
    // Colours are stored blue-green-red: green for even rows, red for odd ones.
    for (const auto &[key, value] : {std::pair{"FontSize", "11"}, {"BackColorEven", "65280"}, {"BackColorOdd", "255"}})
        SaveSetting("Grid", key, value);
    QStandardItemModel model(3, 2);
    QTableView grid;
    grid.setModel(&model);
    grid.resize(300, 200);
    SetGridStyle(grid);
    EXPECT_EQ(grid.font().pointSizeF(), 11);
    const QImage shot = grid.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(grid.columnViewportPosition(1) + 20, grid.rowViewportPosition(0) + 5), QColor(0, 255, 0));
    EXPECT_EQ(shot.pixelColor(grid.columnViewportPosition(1) + 20, grid.rowViewportPosition(1) + 5), QColor(255, 0, 0));

    // A size that is no number changes nothing.
    SaveSetting("Grid", "FontSize", "klein");
    EXPECT_THROW(SetGridStyle(grid), AppError);
    EXPECT_EQ(grid.font().pointSizeF(), 11);
}

}  // namespace
