#include "db_support.h"

#include "core/dialogs/GetDatabase.h"
#include "core/dialogs/RaceSelection.h"
#include "core/dialogs/forms/Pickers.h"
#include "core/dialogs/forms/frmAlterklassen.h"
#include "core/dialogs/forms/frmGetDatabase.h"
#include "core/dialogs/forms/frmLaufauswahl.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::seriestest;
using ::testing::ElementsAre;

namespace {

QString labelText(const QWidget &form, const char *name) {
    const auto *label = form.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

QStringList items(const QComboBox &box) {
    QStringList list;
    for (int i = 0; i < box.count(); ++i) list << box.itemText(i);
    return list;
}

// Runs `act` on the modal window once it is shown.
void whenModal(std::function<void(QWidget *)> act) {
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_TRUE(modal);
        act(modal);
    });
}

}  // namespace

class SeriesDialogs : public SeriesTest {};

TEST_F(SeriesDialogs, RaceCountTexts) {
    const struct {
        const char *text;
        std::optional<int> races;
    } cases[] = {{"1", 1},         {"50", 50},         {"12abc", 12},       {"7.5", 8},          {"8.5", 8},
                 {"0.6", 1},       {"0", std::nullopt}, {"51", std::nullopt}, {"-3", std::nullopt}, {"", std::nullopt},
                 {"abc", std::nullopt}, {"0.4", std::nullopt}, {"0.5", std::nullopt}, {"50.2", std::nullopt}};
    for (const auto &c : cases) EXPECT_EQ(RaceCountFromText(QString::fromUtf8(c.text)), c.races) << c.text;
}

TEST_F(SeriesDialogs, DatabaseDialogTexts) {
    frmGetDatabase form;
    EXPECT_EQ(form.windowTitle(), "Datenbank Generator für Lorvane Tarnis");
    const struct {
        const char *label;
        QString text;
    } labels[] = {
        {"lblInfo1", "Bitte wählen Sie eine Lrv. Tarnis Datanbank aus. Sie können aber auch eine neu Datenbank "
                     "erstellen."},
        {"lblInfo2", "1. Im Reiter \"Datenbank\" einen Pfad incl. Dateinamen angeben."},
        {"lblInfo3", "2. Im Reiter \"Datenbank erstellen\" die Anzahl der Läufe eingeben, die Sie verwalten "
                     "möchten. Anschließend den Button \"Generieren\" betätigen"},
        {"lblInfo4", "3. Button \"Fertig\" drücken."},
        {"lblGetDatabase", "Wo ist die Datenbank ?"},
        {"Label1", "Datenbank auswählen oder Pfad der neue Datenbank eingeben."},
        {"lblMaxLaufErf", "Maximale Anzahl der Läufe, die mit der Datenbank verwaltet werden sollen, eingeben und "
                          "den Button \"Datenbank erstellen\" klicken. "},
    };
    for (const auto &l : labels) EXPECT_EQ(labelText(form, l.label), l.text);
    EXPECT_EQ(form.findChild<QGroupBox *>("fraMaxLaufErf")->title(), "Anzahl der Läufe");
    EXPECT_EQ(form.SSTab1->tabText(0), "Datenbank");
    EXPECT_EQ(form.SSTab1->tabText(1), "Generieren");
    EXPECT_EQ(form.cmdGenDatabase->text(), "Datenbank erstellen");
    EXPECT_EQ(form.cmdOK->text(), "&Fertig");
    EXPECT_TRUE(form.cmdSelDatabase->text().isEmpty());
}

TEST_F(SeriesDialogs, DatabaseDialogStoresOnlyWithFertig) {
    SaveSetting("LastUser", "Datenbank", "/daten/alt.mdb");
    // The file dialog offers the field's text; cancelling leaves the field alone.
    scripted.answer("file", "");
    scripted.answer("file", "gewaehlt.mdb");
    whenModal([this](QWidget *w) {
        auto *f = qobject_cast<frmGetDatabase *>(w);
        EXPECT_EQ(f->edtMaxLaufErf->text(), "3");
        f->cmdSelDatabase->click();
        EXPECT_EQ(f->edtDatabase->text(), "/daten/alt.mdb");
        f->cmdSelDatabase->click();
        EXPECT_EQ(f->edtDatabase->text(), path("gewaehlt.mdb"));
        f->edtMaxLaufErf->setText(" zehn");
        f->close();
    });
    EXPECT_FALSE(ShowDatabaseDialog());
    EXPECT_EQ(GetSetting("LastUser", "Datenbank"), "/daten/alt.mdb");
    EXPECT_EQ(GetSetting("LastUser", "MaxLaufErf", "-"), "-");
    ASSERT_EQ(scripted.fileRequests().size(), 2);
    EXPECT_EQ(scripted.fileRequests().front().fileName, "/daten/alt.mdb");
    EXPECT_EQ(scripted.fileRequests().front().filter, "Access (*.mdb)");

    // "&Fertig" stores both fields as typed; an empty path too, so that the load
    // sequence comes back to the dialog.
    for (const QString &chosen : {path("gewaehlt.mdb"), QString()}) {
        whenModal([chosen](QWidget *w) {
            auto *f = qobject_cast<frmGetDatabase *>(w);
            f->edtDatabase->setText(chosen);
            f->edtMaxLaufErf->setText(" zehn");
            f->cmdOK->click();
        });
        EXPECT_TRUE(ShowDatabaseDialog());
        EXPECT_EQ(GetSetting("LastUser", "Datenbank", "-"), chosen);
        EXPECT_EQ(GetSetting("LastUser", "MaxLaufErf"), " zehn");
    }
    EXPECT_FALSE(QFile::exists(path("gewaehlt.mdb")));
}

TEST_F(SeriesDialogs, GenerateChecksTheCountAndFillsTheDefaultPath) {
    qputenv("TARNIS_PROGRAM_DIR", dir.path().toUtf8());
    frmGetDatabase form;
    form.edtDatabase->setText("   ");
    for (const char *bad : {"0.4", "51"}) {
        form.edtMaxLaufErf->setText(bad);
        form.cmdGenDatabase->click();
    }
    EXPECT_EQ(form.edtDatabase->text(), path("Tarnis.mdb"));
    EXPECT_FALSE(QFile::exists(path("Tarnis.mdb")));
    scripted.answer("ok");
    form.edtMaxLaufErf->setText("7.5");
    form.cmdGenDatabase->click();
    qunsetenv("TARNIS_PROGRAM_DIR");
    EXPECT_EQ(Database::open(path("Tarnis.mdb"))->tableColumns("Teilnehmer").size(), 7 + 4 * 8);
    EXPECT_THAT(scripted.messages(),
                ElementsAre("information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!",
                            "information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!",
                            "information\tDatenbank  : <work>/Tarnis.mdb\\nerfolgreich angelegt !"));
    // Creating stores nothing; the dialog stays open.
    EXPECT_EQ(GetSetting("LastUser", "Datenbank"), "");
    EXPECT_TRUE(form.result() != QDialog::Accepted);
}

TEST_F(SeriesDialogs, RacePickerListAndAnswer) {
    const struct {
        int maxRace;
        QStringList offered;
    } cases[] = {{5, {"1", "2", "3", "4", "5"}}, {1, {"1"}}, {0, {}}, {-2, {}}};
    for (const auto &c : cases) {
        frmLaufauswahl form(c.maxRace);
        EXPECT_EQ(items(*form.cboLaufAuswahl), c.offered) << c.maxRace;
        EXPECT_EQ(form.cboLaufAuswahl->currentIndex(), -1);
    }
    frmLaufauswahl form(5);
    EXPECT_EQ(form.windowTitle(), "Lrv. Tarnis");
    EXPECT_EQ(labelText(form, "lblInfo1"), "Welchen Lauf wollen Sie erfassen? Bitte wählen Sie einen Lauf aus.");
    EXPECT_EQ(form.cmdWeiter->text(), "Weiter");

    // Through the real window: a choice, "Weiter" without one, and the close box.
    whenModal([](QWidget *w) {
        auto *f = qobject_cast<frmLaufauswahl *>(w);
        f->cboLaufAuswahl->setCurrentIndex(2);
        f->cmdWeiter->click();
    });
    EXPECT_EQ(showRacePicker(5), 3);
    whenModal([](QWidget *w) { qobject_cast<frmLaufauswahl *>(w)->cmdWeiter->click(); });
    EXPECT_EQ(showRacePicker(0), 0);
    whenModal([](QWidget *w) { w->close(); });
    EXPECT_EQ(showRacePicker(5), std::nullopt);
}

TEST_F(SeriesDialogs, SelectRaceStoresThePrefixOnlyWhenConfirmed) {
    SaveSetting("LastUser", "MaxLaufErf", "4");
    scripted.answer("race", "3");
    EXPECT_EQ(SelectRace(), 3);
    EXPECT_EQ(GetSetting("LastUser", "erfassen"), "Lauf_3");
    scripted.answer("race", "");  // closed
    EXPECT_EQ(SelectRace(), std::nullopt);
    EXPECT_EQ(GetSetting("LastUser", "erfassen"), "Lauf_3");

    const struct {
        const char *stored;
        int maximum;
    } maxima[] = {{"1", 1}, {"", 0}, {"abc", 0}, {"99999999999", 0}, {"12", 12}, {"2000000000", 50}};
    for (const auto &m : maxima) {
        SaveSetting("LastUser", "MaxLaufErf", m.stored);
        EXPECT_EQ(RacePickerMaximum(), m.maximum) << m.stored;
    }
}

TEST_F(SeriesDialogs, AgeClassPickerTextsAndAnswers) {
    frmAlterklassen form({"M40", "W35"});
    EXPECT_EQ(form.windowTitle(), "Lrv. Tarnis");
    EXPECT_EQ(labelText(form, "lblInfo1"), "Bitte wählen Sie eine Altersklasse aus. ");
    EXPECT_EQ(labelText(form, "Label2"), "Altersklasse auswählen");
    EXPECT_EQ(form.cmdAbbruch->text(), "&Abbrechen");
    EXPECT_EQ(form.cmdOK->text(), "&Ausgeben");
    EXPECT_EQ(form.size(), QSize(248, 205));
    EXPECT_LT(form.cmdAbbruch->x(), form.cmdOK->x());

    const struct {
        const char *what;
        std::function<void(frmAlterklassen *)> act;
        QString answer;
    } cases[] = {
        {"no selection", [](frmAlterklassen *f) { f->cmdOK->click(); }, ""},
        {"selected", [](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(1); f->cmdOK->click(); }, "W35"},
        {"double click",
         [](frmAlterklassen *f) { emit f->lisAltersgruppen->itemDoubleClicked(f->lisAltersgruppen->item(0)); }, "M40"},
        {"cancel", [](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(1); f->cmdAbbruch->click(); }, ""},
        {"close box", [](frmAlterklassen *f) { f->lisAltersgruppen->setCurrentRow(0); f->close(); }, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        whenModal([&c](QWidget *w) { c.act(qobject_cast<frmAlterklassen *>(w)); });
        EXPECT_EQ(showAgeClassPicker({"M40", "W35"}), c.answer);
    }
}

TEST_F(SeriesDialogs, AgeClassListsAndSelection) {
    Database &database = openSeries(1);
    database.execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('W35', 0), ('M40', 2), ('Jug', 2)");
    addParticipant("Abel", "M45");
    addParticipant("Bauer", "Ältere");
    addParticipant("Coen", "m45");
    EXPECT_THAT(AgeClassesBySortIndex(), ElementsAre("W35", "Jug", "M40"));
    EXPECT_THAT(AgeClassesOfParticipants(), ElementsAre("Ältere", "M45"));

    scripted.answer("class", "M40");
    EXPECT_EQ(SelectAgeClass(), "M40");
    scripted.answer("class", "");
    EXPECT_EQ(SelectAgeClass(), std::nullopt);
    scripted.answer("class", " ");
    EXPECT_EQ(SelectAgeClass({" ", "M40"}), std::nullopt);
    EXPECT_TRUE(scripted.failures().isEmpty());
}
