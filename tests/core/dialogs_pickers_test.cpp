// The database selection and creation dialog and the race and age-class pickers,
// as windows under the offscreen platform and as the logic behind them.
#include "import_support.h"

#include "core/dialogs/GetDatabase.h"
#include "core/dialogs/RaceSelection.h"
#include "core/dialogs/forms/Pickers.h"
#include "core/dialogs/forms/frmAlterklassen.h"
#include "core/dialogs/forms/frmGetDatabase.h"
#include "core/dialogs/forms/frmLaufauswahl.h"

#include <QtWidgets>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

// The window title (empty name), a label's or button's text, a frame's title or a tab bar's texts.
QString textOf(const QWidget &form, const char *name) {
    if (!*name) return form.windowTitle();
    const QObject *child = form.findChild<QObject *>(QString::fromLatin1(name));
    if (auto *label = qobject_cast<const QLabel *>(child)) return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(child)) return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(child)) return frame->title();
    if (auto *tabs = qobject_cast<const QTabWidget *>(child)) return tabs->tabText(0) + '|' + tabs->tabText(1);
    return QStringLiteral("<missing>");
}

// Runs `act` on the modal window once it is shown.
template <class Form> void whenModal(std::function<void(Form *)> act) {
    QTimer::singleShot(0, [act] {
        auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        act(form);
    });
}

using Dialogs = SeriesTest;

TEST_F(Dialogs, CaptionsLabelsAndButtons) {
    frmGetDatabase db;
    frmLaufauswahl race(5);
    frmAlterklassen classes({"M40", "W35"});
    const std::tuple<const QWidget *, const char *, QString> cases[] = {
        {&db, "", "Datenbank Generator für Lorvane Tarnis"},
        {&db, "lblInfo1", "Bitte wählen Sie eine Lrv. Tarnis Datanbank aus. Sie können aber auch eine neu Datenbank "
                          "erstellen."},
        {&db, "lblInfo2", "1. Im Reiter \"Datenbank\" einen Pfad incl. Dateinamen angeben."},
        {&db, "lblInfo3", "2. Im Reiter \"Datenbank erstellen\" die Anzahl der Läufe eingeben, die Sie verwalten "
                          "möchten. Anschließend den Button \"Generieren\" betätigen"},
        {&db, "lblInfo4", "3. Button \"Fertig\" drücken."},
        {&db, "lblGetDatabase", "Wo ist die Datenbank ?"},
        {&db, "Label1", "Datenbank auswählen oder Pfad der neue Datenbank eingeben."},
        {&db, "lblMaxLaufErf", "Maximale Anzahl der Läufe, die mit der Datenbank verwaltet werden sollen, eingeben "
                               "und den Button \"Datenbank erstellen\" klicken. "},
        {&db, "fraMaxLaufErf", "Anzahl der Läufe"}, {&db, "cmdGenDatabase", "Datenbank erstellen"},
        {&db, "cmdOK", "&Fertig"}, {&db, "cmdSelDatabase", ""}, {&db, "SSTab1", "Datenbank|Generieren"},
        {&race, "", "Lrv. Tarnis"}, {&race, "cmdWeiter", "Weiter"},
        {&race, "lblInfo1", "Welchen Lauf wollen Sie erfassen? Bitte wählen Sie einen Lauf aus."},
        {&classes, "", "Lrv. Tarnis"}, {&classes, "lblInfo1", "Bitte wählen Sie eine Altersklasse aus. "},
        {&classes, "Label2", "Altersklasse auswählen"}, {&classes, "cmdAbbruch", "&Abbrechen"},
        {&classes, "cmdOK", "&Ausgeben"},
    };
    for (const auto &[form, name, text] : cases) EXPECT_EQ(textOf(*form, name), text) << name;
}

TEST_F(Dialogs, DatabaseDialogStoresOnlyWithFertig) {
    auto stored = [] { return GetSetting("LastUser", "Datenbank") + '|' + GetSetting("LastUser", "MaxLaufErf", "-"); };
    SaveSetting("LastUser", "Datenbank", "/daten/alt.mdb");
    // The file dialog offers the field's text; cancelling leaves the field alone.
    ui.answer("file", "");
    ui.answer("file", "gewaehlt.mdb");
    whenModal<frmGetDatabase>([this](frmGetDatabase *f) {
        EXPECT_EQ(f->edtMaxLaufErf->text(), "3");
        f->cmdSelDatabase->click();
        EXPECT_EQ(f->edtDatabase->text(), "/daten/alt.mdb");
        f->cmdSelDatabase->click();
        EXPECT_EQ(f->edtDatabase->text(), path("gewaehlt.mdb"));
        f->edtMaxLaufErf->setText(" zehn");
        f->close();
    });
    EXPECT_FALSE(ShowDatabaseDialog());
    EXPECT_EQ(stored(), "/daten/alt.mdb|-");
    EXPECT_EQ(ui.fileRequests().value(0).fileName + '|' + ui.fileRequests().value(0).filter,
              "/daten/alt.mdb|Access (*.mdb)");

    // "&Fertig" stores both fields as typed; an empty path too, so that the load
    // sequence comes back to the dialog.
    for (const QString &chosen : {path("gewaehlt.mdb"), QString()}) {
        whenModal<frmGetDatabase>([chosen](frmGetDatabase *f) {
            f->edtDatabase->setText(chosen);
            f->edtMaxLaufErf->setText(" zehn");
            f->cmdOK->click();
        });
        EXPECT_TRUE(ShowDatabaseDialog());
        EXPECT_EQ(stored(), chosen + "| zehn");
    }
    EXPECT_FALSE(QFile::exists(path("gewaehlt.mdb")));

    // A choice that cannot be stored is reported, and the dialog stays open for another try.
    QFile::remove(settingsFilePath());
    ASSERT_TRUE(QDir().mkpath(settingsFilePath()));
    whenModal<frmGetDatabase>([this](frmGetDatabase *f) {
        f->edtDatabase->setText(path("neu.mdb"));
        f->cmdOK->click();
        EXPECT_TRUE(f->isVisible());
        EXPECT_TRUE(ui.messages().value(ui.messages().size() - 1).startsWith("error\t75\tcmdOK_Click"))
            << ui.messages().join('|').toStdString();
        QDir().rmdir(settingsFilePath());
        f->cmdOK->click();
    });
    EXPECT_TRUE(ShowDatabaseDialog());
    EXPECT_EQ(stored(), path("neu.mdb") + "| zehn");
}

TEST_F(Dialogs, GenerateChecksTheCountAndFillsTheDefaultPath) {
    const std::optional<int> no;
    const std::pair<const char *, std::optional<int>> counts[] = {
        {"1", 1},  {"50", 50}, {"12abc", 12}, {"7.5", 8},  {"8.5", 8},  {"0.6", 1},   {"0", no},
        {"51", no}, {"-3", no}, {"", no},      {"abc", no}, {"0.4", no}, {"0.5", no}, {"50.2", no},
        {"2147483648", no}, {"1e400", no}, {"-1e400", no}, {"1e-400", no}, {"NaN", no}, {"inf", no}};
    for (const auto &[text, races] : counts) EXPECT_EQ(RaceCountFromText(text), races) << text;

    // A new series goes to the per-user data folder, never beside the program.
    qputenv("TARNIS_PROGRAM_DIR", dir.filePath("programm").toUtf8());
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    frmGetDatabase form;
    form.edtDatabase->setText("   ");
    for (const char *count : {"0.4", "51", "7.5"}) {
        ui.answer("ok");
        form.edtMaxLaufErf->setText(count);
        form.cmdGenDatabase->click();
    }
    qunsetenv("TARNIS_PROGRAM_DIR");
    qputenv("XDG_DATA_HOME", data);
    EXPECT_EQ(form.edtDatabase->text(), path("Lrv. Tarnis/Tarnis.mdb"));
    EXPECT_EQ(Database::open(path("Lrv. Tarnis/Tarnis.mdb"))->tableColumns("Teilnehmer").size(), 7 + 4 * 8);
    EXPECT_THAT(ui.messages(),
                ElementsAre("information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!",
                            "information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!",
                            "information\tDatenbank  : <work>/Lrv. Tarnis/Tarnis.mdb\\nerfolgreich angelegt !"));
    // Creating stores nothing; the dialog stays open.
    EXPECT_EQ(GetSetting("LastUser", "Datenbank"), "");
    EXPECT_NE(form.result(), QDialog::Accepted);
}

// A count beyond any range is refused like 51: the dialog stays open with what was
// typed, and a count typed after it creates the series.
TEST_F(Dialogs, CountsBeyondAnyRangeGetTheMessageAndKeepTheDialog) {
    const char *const counts[] = {"1e400", "-1e400", "1e-400", "NaN", "inf"};
    for (int n = 0; n <= 5; ++n) ui.answer("ok");
    whenModal<frmGetDatabase>([&](frmGetDatabase *f) {
        f->edtDatabase->setText(path("neu.mdb"));
        for (const char *count : counts) {
            f->edtMaxLaufErf->setText(count);
            f->cmdGenDatabase->click();
            EXPECT_TRUE(f->isVisible()) << count;
            EXPECT_EQ(f->edtMaxLaufErf->text() + '|' + f->edtDatabase->text(), count + ('|' + path("neu.mdb")));
        }
        f->edtMaxLaufErf->setText("4");
        f->cmdGenDatabase->click();
        f->cmdOK->click();
    });
    EXPECT_TRUE(ShowDatabaseDialog());
    const QString refused = "information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!";
    EXPECT_THAT(ui.messages(), ElementsAre(refused, refused, refused, refused, refused,
                                           "information\tDatenbank  : <work>/neu.mdb\\nerfolgreich angelegt !"));
    EXPECT_EQ(Database::open(path("neu.mdb"))->tableColumns("Teilnehmer").size(), 7 + 4 * 4);
}

TEST_F(Dialogs, PickersOfferAndAnswer) {
    // The race picker offers races 1..max, none chosen.
    const std::pair<int, int> offered[] = {{5, 5}, {1, 1}, {0, 0}, {-2, 0}};
    for (const auto &[maxRace, count] : offered) {
        frmLaufauswahl form(maxRace);
        EXPECT_EQ(form.cboLaufAuswahl->count(), count) << maxRace;
        EXPECT_EQ(form.cboLaufAuswahl->itemText(count - 1), count ? QString::number(count) : QString());
        EXPECT_EQ(form.cboLaufAuswahl->currentIndex(), -1);
    }
    // Through the real window: a choice, "Weiter" without one, and the close box.
    const std::tuple<int, std::function<void(frmLaufauswahl *)>, std::optional<int>> runs[] = {
        {5, [](frmLaufauswahl *f) { f->cboLaufAuswahl->setCurrentIndex(2); f->cmdWeiter->click(); }, 3},
        {0, [](frmLaufauswahl *f) { f->cmdWeiter->click(); }, 0},
        {5, [](frmLaufauswahl *f) { f->close(); }, std::nullopt}};
    for (const auto &[maxRace, act, answer] : runs) {
        whenModal(act);
        EXPECT_EQ(showRacePicker(maxRace), answer);
    }
    // The logic: the prefix is stored only when a race was chosen.
    SaveSetting("LastUser", "MaxLaufErf", "4");
    ui.answer("race", "3");
    EXPECT_EQ(SelectRace(), 3);
    ui.answer("race", "");  // closed
    EXPECT_EQ(SelectRace(), std::nullopt);
    EXPECT_EQ(GetSetting("LastUser", "erfassen"), "Lauf_3");
    const std::pair<const char *, int> maxima[] = {{"1", 1},           {"", 0},  {"abc", 0},
                                                   {"99999999999", 0}, {"12", 12}, {"2000000000", 50},
                                                   {"1e400", 0}, {"-1e400", 0}, {"1e-400", 0}, {"NaN", 0}, {"inf", 0}};
    for (const auto &[stored, maximum] : maxima) {
        SaveSetting("LastUser", "MaxLaufErf", stored);
        EXPECT_EQ(RacePickerMaximum(), maximum) << stored;
    }

    // The age-class picker through its window: no selection, a selection, a double
    // click, cancel and the close box; then the classes it offers and its logic.
    const std::pair<std::function<void(frmAlterklassen *)>, QString> cases[] = {
        {[](frmAlterklassen *f) { f->cmdOK->click(); }, ""},
        {[](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(1); f->cmdOK->click(); }, "W35"},
        {[](frmAlterklassen *f) { emit f->lisAltersgruppen->itemDoubleClicked(f->lisAltersgruppen->item(0)); }, "M40"},
        {[](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(1); f->cmdAbbruch->click(); }, ""},
        {[](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(0); f->close(); }, ""},
    };
    for (const auto &[act, answer] : cases) {
        whenModal(act);
        EXPECT_EQ(showAgeClassPicker({"M40", "W35"}), answer);
    }

    openSeries(1);
    gDB->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('W35', 0), ('M40', 2), ('Jug', 2)");
    addParticipants({"M45", "Ältere", "m45"});
    EXPECT_THAT(AgeClassesBySortIndex(), ElementsAre("W35", "Jug", "M40"));
    EXPECT_THAT(AgeClassesOfParticipants(), ElementsAre("Ältere", "M45"));
    ui.answer("class", "M40");
    EXPECT_EQ(SelectAgeClass(), "M40");
    ui.answer("class", "");
    EXPECT_EQ(SelectAgeClass(), std::nullopt);
    ui.answer("class", " ");
    EXPECT_EQ(SelectAgeClass({" ", "M40"}), std::nullopt);
}

}  // namespace
