// The preferences dialog offscreen: what its closes leave in the settings store,
// the certificate line count, the designer's preview, its choosers and failures.
#include "prefs_dialog_support.h"

#include "common/DiskFull.h"
#include "platform/printing/PageDump.h"
#include "platform/qt/QtTextMetrics.h"
#include "prefs/CertificateDesigner.h"
#include "prefs/PrefsSave.h"
#include "print/CertificateLayout.h"
#include "prefs/forms/PageCertificate.h"
#include "prefs/forms/PageGeneral.h"
#include "prefs/TableModels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tarnis;
using namespace tarnis::prefs;
using namespace tarnis::testing;

namespace {

// Every default the save writes is the season case's; here the keys and the series
// path that case cannot show.
TEST_F(PrefsDialogTest, FreshStoreOpensOnTheCertificatesAndClosesOnlyWithATool) {
    frmGrundEinst dialog;
    dialog.Form_Load();
    EXPECT_EQ(dialog.tabs()->tabText(dialog.tabs()->currentIndex()), "Urkundendruck");
    EXPECT_EQ(dialog.certificatePage()->lineSelector()->count(), 5);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &escape);
    EXPECT_TRUE(dialog.isOpen());  // the dialog has no cancel key
    dialog.toolClick(20003);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(GetSetting("LastUser", "Datenbank"), "/tarnis/Tarnis.mdb");
}

TEST_F(PrefsDialogTest, FullStoreRoundTripsThroughTheCloseBox) {
    const QStringList full = expectedFile("full_store.txt");
    store(full);
    frmGrundEinst dialog;
    dialog.Form_Load();
    EXPECT_EQ(dialog.certificatePage()->lineSelector()->count(), 3);
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isOpen());
    // The bold flags are never read back: they store what the font buttons set.
    QStringList expected = full;
    for (QString &line : expected)
        if (line.startsWith("Grid\tFontBold\t") || line.startsWith("Grid\tHeadFontBold\t"))
            line = line.left(line.lastIndexOf('\t') + 1);
    EXPECT_EQ(listing(), expected);
}

TEST_F(PrefsDialogTest, CancelLeavesTheStoreButKeepsGridEdits) {
    store(expectedFile("full_store.txt"));
    const QByteArray before = fileBytes(settingsFilePath());
    frmGrundEinst dialog;
    dialog.Form_Load();
    child<QRadioButton>(dialog, "optZeit")->setChecked(true);
    child<QLineEdit>(dialog, "edtKopfzeile")->setText("geändert");
    child<QLineEdit>(dialog, "edtUrkunde")->setText("2");  // stored at once under LastUser
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "2");
    // The grids' editors take whole numbers only.
    QTableView *grid = dialog.generalPage()->pointsGrid();
    QWidget *editor = grid->itemDelegate()->createEditor(grid->viewport(), {}, grid->model()->index(0, 1));
    int at = 0;
    QString typed = "12a";
    ASSERT_TRUE(qobject_cast<QLineEdit *>(editor) && qobject_cast<QLineEdit *>(editor)->validator());
    EXPECT_EQ(qobject_cast<QLineEdit *>(editor)->validator()->validate(typed, at), QValidator::Invalid);
    delete editor;
    PointsModel *points = dialog.generalPage()->pointsModel();
    ASSERT_TRUE(points->setData(points->index(points->rowCount() - 1, 0), "1", Qt::EditRole));

    // With points equal to the place (stored so here) the points grid is out of use.
    EXPECT_FALSE(grid->isEnabled());
    child<QCheckBox>(dialog, "SSCPlPu")->click();
    EXPECT_TRUE(grid->isEnabled());

    dialog.toolClick(20001);
    EXPECT_FALSE(dialog.isOpen());
    // No mode message; the stored picture that is missing is reported once for all redraws.
    EXPECT_THAT(ui.messages(), ElementsAre("error\t53\tPrintPreview\t"));
    EXPECT_EQ(fileBytes(settingsFilePath()), before);
    EXPECT_THAT(rows("SELECT Platz FROM Punkteverteilung"), ElementsAre("1"));
}

TEST_F(PrefsDialogTest, LineCountFieldRulesTheDesigner) {
    {
        // The count the designer stores while loading goes again on a cancel when
        // it was not stored before.
        frmGrundEinst dialog;
        dialog.Form_Load();
        EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "5");
        dialog.toolClick(20001);
        EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen", "fehlt"), "fehlt");
    }
    {
        // A count changed outside the program: no more lines than the designer has.
        SaveSetting("Urkundendruck", "Urkundenzeilen", "1");
        SaveSetting("LastUser", "Urkundenzeilen", "40");
        frmGrundEinst dialog;
        dialog.Form_Load();
        EXPECT_EQ(dialog.certificatePage()->lineSelector()->count(), 15);
        dialog.toolClick(20001);
    }
    // The count of section Urkundendruck wins over the designer's own copy.
    SaveSetting("Urkundendruck", "Urkundenzeilen", "3");
    SaveSetting("LastUser", "Urkundenzeilen", "5");
    frmGrundEinst dialog;
    dialog.Form_Load();
    QComboBox *selector = dialog.certificatePage()->lineSelector();
    EXPECT_EQ(selector->count(), 3);
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "3");

    QLineEdit *count = dialog.certificatePage()->countField();
    count->clear();
    keyClicks(count, "1");
    EXPECT_EQ(selector->count(), 1);
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "1");
    ui.answer("ok");
    keyClicks(count, "6");
    EXPECT_EQ(count->text(), "");
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "1");
    keyClicks(count, "x");
    EXPECT_EQ(count->text(), "");
    EXPECT_THAT(ui.messages(), ElementsAre("critical\tWert für Urkundenzeilen zu groß !!!"));

    // An emptied field saves the count the designer shows, never an empty one.
    dialog.toolClick(20002);
    EXPECT_TRUE(dialog.isOpen());
    EXPECT_EQ(GetSetting("Urkundendruck", "Urkundenzeilen"), "1");
    EXPECT_EQ(GetSetting("Urkundendruck", "Zeile 0 Inhalt"), "Text");
    EXPECT_EQ(GetSetting("Urkundendruck", "Zeile 1 Inhalt", "ungespeichert"), "ungespeichert");

    // A cancel after that save puts back the count the save stored, not the opening's:
    // both copies keep one count.
    keyClicks(count, "2");
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "2");
    dialog.toolClick(20001);
    EXPECT_EQ(GetSetting("LastUser", "Urkundenzeilen"), "1");
    EXPECT_EQ(GetSetting("Urkundendruck", "Urkundenzeilen"), "1");
}

// A new line count keeps the lines being designed; only lines shown for the first
// time come from the store.
TEST_F(PrefsDialogTest, NewLineCountKeepsTheDesignersWork) {
    SaveSetting("Urkundendruck", "Urkundenzeilen", "2");
    SaveSetting("Urkundendruck", "Zeile 0 Text", "Gespeichert");
    SaveSetting("Urkundendruck", "Zeile 2 Text", "Dritte");
    frmGrundEinst dialog;
    dialog.Form_Load();
    PageCertificate *designer = dialog.certificatePage();
    CertificatePage page;
    designer->read(page);
    ASSERT_EQ(page.lines[0].text, "Gespeichert");
    page.lines[0].text = "URKUNDE";
    page.lines[1].xPos = "0";
    page.background = "/bilder/rahmen.bmp";
    page.hochformat = false;
    page.querformat = true;
    designer->showLayout(page, designerContentKinds());

    QLineEdit *count = designer->countField();
    count->clear();
    keyClicks(count, "3");
    CertificatePage shown;
    designer->read(shown);
    EXPECT_EQ(shown.mUrkundenzeilen, 3);
    EXPECT_EQ(shown.lines[0].text, "URKUNDE");
    EXPECT_EQ(shown.lines[1].xPos, "0");
    EXPECT_EQ(shown.lines[2].text, "Dritte");
    EXPECT_EQ(shown.background, "/bilder/rahmen.bmp");
    EXPECT_TRUE(shown.querformat);

    // Fewer lines and back again: the hidden line kept its work too.
    count->clear();
    keyClicks(count, "1");
    count->clear();
    keyClicks(count, "2");
    designer->read(shown);
    EXPECT_EQ(shown.lines[1].xPos, "0");
    dialog.toolClick(20001);
}

TEST_F(PrefsDialogTest, PreviewCentresAndTurnsAndKeepsLinesWithoutAPicture) {
    SaveSetting("Urkundendruck", "Urkundenzeilen", "2");
    SaveSetting("Urkundendruck", "Zeile 0 X-Pos", "0");
    SaveSetting("Urkundendruck", "Zeile 0 Text", "Urkunde");
    SaveSetting("Urkundendruck", "Zeile 1 X-Pos", "-100");
    SaveSetting("Urkundendruck", "Zeile 1 Y-Pos", "2000");
    SaveSetting("Urkundendruck", "Zeile 1 Text", "%s Platz");
    const QString picture = path("bild.bmp");
    QImage image(20, 30, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    ASSERT_TRUE(image.save(picture, "BMP"));
    SaveSetting("Urkundendruck", "Background Picture", picture);

    frmGrundEinst dialog;
    dialog.Form_Load();
    auto doc = dialog.previewDocument();
    ASSERT_TRUE(doc);
    EXPECT_LT(doc->width, doc->height);
    const print::QtTextMetrics metrics;
    const double centred = certificate::centredX(doc->width, metrics.width({"Arial", 12}, "Urkunde"));
    ASSERT_EQ(doc->pages.size(), 1u);
    const auto &ops = doc->pages[0].ops;
    ASSERT_EQ(ops.size(), 3u);
    const auto *background = std::get_if<print::PictureOp>(&ops[0]);
    ASSERT_TRUE(background);
    EXPECT_EQ(background->rect, QRectF(0, 0, doc->width, doc->height));
    EXPECT_EQ(print::dumpPages(*doc),
              QStringLiteral("page 1\n%1\t1000\tUrkunde\n-100\t2000\t%s Platz\n").arg(std::llround(centred)));

    // "quer" draws at the next drawing, not at the click.
    child<QRadioButton>(dialog, "optQuerformat")->click();
    EXPECT_EQ(dialog.previewDocument(), doc);
    child<QPushButton>(dialog, "cmdPreview")->click();
    EXPECT_GT(dialog.previewDocument()->width, dialog.previewDocument()->height);

    // A picture that cannot be loaded is reported once; the lines are still drawn.
    QLineEdit *background2 = dialog.certificatePage()->backgroundField();
    background2->setText(path("fehlt.bmp"));
    child<QLineEdit>(dialog, "edtText_1")->setText("zweite");
    child<QLineEdit>(dialog, "edtText_1")->setText("Zeile");
    EXPECT_THAT(reports(), ElementsAre("53 PrintPreview "));
    EXPECT_EQ(dialog.previewDocument()->pages[0].ops.size(), 2u);

    // An emptied Y position draws where the certificate prints it, at the default.
    child<QLineEdit>(dialog, "edtYPos_1")->setText("");
    EXPECT_TRUE(print::dumpPages(*dialog.previewDocument()).endsWith("-100\t1000\tZeile\n"))
        << print::dumpPages(*dialog.previewDocument()).toStdString();
    dialog.toolClick(20001);
}

TEST_F(PrefsDialogTest, ChoosersKeepTheFieldsOnCancel) {
    frmGrundEinst dialog;
    dialog.Form_Load();
    // The grid colour buttons preset their own swatch; a cancel keeps it.
    ui.answer("colour");
    child<QPushButton>(dialog, "cmdSelect_0")->click();
    ui.answer("colour 255");
    child<QPushButton>(dialog, "cmdSelect_2")->click();
    EXPECT_THAT(ui.colourPresets(), ElementsAre(0xFFFFFFu, 0x8000000Fu));

    // A list font size that is no number is reported and presets 12.
    child<QLineEdit>(dialog, "edtGroesse_103")->setText("x");
    ui.answer("ok");
    ui.answer("font Liberation Serif|10.5");
    child<QToolButton>(dialog, "cmdSelect_103")->click();
    EXPECT_EQ(ui.fontPresets().last().size, 12);
    EXPECT_EQ(child<QLineEdit>(dialog, "edtFontName_103")->text(), "Liberation Serif");
    EXPECT_EQ(child<QLineEdit>(dialog, "edtGroesse_103")->text(), "10.5");

    // The heading font of the grids takes the bold flag too.
    ui.answer("font Arial|9|bold");
    child<QPushButton>(dialog, "cmdSelectFont_15")->click();
    EXPECT_EQ(child<QLineEdit>(dialog, "edtFontBold_15")->text(), "True");

    // Typing into a content combo copies its whole text; picking copies nothing.
    QComboBox *kind = child<QComboBox>(dialog, "cboInhalt_0");
    kind->setEditText(QString());
    keyClicks(kind->lineEdit(), "Verein");
    EXPECT_EQ(child<QLineEdit>(dialog, "edtText_0")->text(), "Verein");
    kind->setCurrentIndex(1);
    EXPECT_EQ(child<QLineEdit>(dialog, "edtText_0")->text(), "Verein");

    ui.answer("ok");
    dialog.toolClick(20050);
    EXPECT_EQ(ui.messages().last(), "none\tToolID nicht definiert !!!");
    dialog.toolClick(20003);
    EXPECT_EQ(GetSetting("Grid", "BackColorEven"), "16777215");
    EXPECT_EQ(GetSetting("Grid", "BackColor"), "255");
    EXPECT_EQ(GetSetting("Grid", "HeadFontBold"), "True");
    EXPECT_EQ(GetSetting("Urkundendruck", "Zeile 0 Text"), "Verein");
}

TEST_F(PrefsDialogTest, EnterInAFieldPressesNoButton) {
    // Shown, a dialog would make its first button the default for Enter: here that
    // is "&Datenbank erstellen" (a new series file) or "&Drucken".
    frmGrundEinst dialog;
    dialog.Form_Load();
    dialog.show();
    const QString fresh = path("neu.mdb");
    child<QLineEdit>(dialog, "edtDatabase")->setText(fresh);
    for (const char *name : {"edtJahrhundert", "edtDatabase", "edtText_0", "edtHeader_1"}) {
        QLineEdit *field = child<QLineEdit>(dialog, name);
        QWidget *page = field;
        while (page && dialog.tabs()->indexOf(page) < 0) page = page->parentWidget();
        dialog.tabs()->setCurrentWidget(page);
        field->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
    }
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_TRUE(dialog.isOpen());
    dialog.toolClick(20001);
}

TEST_F(PrefsDialogTest, ACellStillBeingEditedIsSaved) {
    // The menu and the close box leave the editor open: its text still counts.
    frmGrundEinst dialog;
    dialog.Form_Load();
    dialog.show();
    const auto typeInto = [&](QTableView *view, int row, int column, const QString &text) {
        dialog.tabs()->setCurrentIndex(view->objectName() == "dbgCaptions" ? 4 : 0);
        const QModelIndex cell = view->model()->index(row, column);
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    };
    typeInto(child<QTableView>(dialog, "dbgCaptions"), 0, 1, "Stadtpark");
    dialog.toolClick(20002);
    EXPECT_EQ(GetSetting("Grid", "Caption1"), "Stadtpark");

    QTableView *points = dialog.generalPage()->pointsGrid();
    typeInto(points, points->model()->rowCount() - 1, 0, "7");
    EXPECT_TRUE(dialog.close());
    EXPECT_THAT(rows("SELECT Platz FROM Punkteverteilung"), ElementsAre("7"));
    EXPECT_THAT(ui.messages(), IsEmpty());
}

TEST_F(PrefsDialogTest, BothOrientationsStoredTrueShowAndSaveLandscape) {
    SaveSetting("Urkundendruck", "Hochformat", "True");
    SaveSetting("Urkundendruck", "Querformat", "True");
    frmGrundEinst dialog;
    dialog.Form_Load();
    EXPECT_FALSE(child<QRadioButton>(dialog, "optHochformat")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "optQuerformat")->isChecked());
    dialog.toolClick(20003);
    EXPECT_EQ(GetSetting("Urkundendruck", "Hochformat") + "/" + GetSetting("Urkundendruck", "Querformat"),
              "False/True");
}

TEST_F(PrefsDialogTest, CancelWritesACellStillBeingEditedInTheTables) {
    // The tables write every edit at once, so the one still open is written too.
    gDB->execute("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES ('M40', 2)");
    const struct {
        QTableView *(PageGeneral::*grid)() const;
        int column;
        const char *typed, *query, *stored;
    } cases[] = {
        {&PageGeneral::pointsGrid, 0, "7", "SELECT Platz FROM Punkteverteilung", "7"},
        {&PageGeneral::ageClassGrid, 1, "9", "SELECT \"Index\" FROM AKLSortIndex", "9"},
    };
    for (const auto &c : cases) {
        frmGrundEinst dialog;
        dialog.Form_Load();
        dialog.show();
        dialog.tabs()->setCurrentIndex(0);
        QTableView *view = (dialog.generalPage()->*c.grid)();
        const QModelIndex cell = view->model()->index(view->model()->rowCount() - 1, c.column);
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(cell));
        ASSERT_NE(editor, nullptr) << c.query;
        editor->setText(c.typed);
        dialog.toolClick(20001);
        EXPECT_FALSE(dialog.isOpen());
        EXPECT_THAT(rows(c.query), ElementsAre(c.stored));
    }
    EXPECT_THAT(ui.messages(), IsEmpty());
}

TEST_F(PrefsDialogTest, APictureThatIsNoFileIsReportedNotRead) {
    // A named pipe would block whoever reads it until something writes to it.
    const QString pipe = path("bild.bmp");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    SaveSetting("Urkundendruck", "Background Picture", pipe);
    std::atomic<bool> done{false}, readerSeen{false};
    std::thread unblock([&] {
        // A reader waiting on the pipe lets this open succeed; closing gives it an end.
        while (!done) {
            const int fd = ::open(pipe.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                readerSeen = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    {
        frmGrundEinst dialog;
        dialog.Form_Load();
        dialog.toolClick(20001);
    }
    done = true;
    unblock.join();
    EXPECT_FALSE(readerSeen);
    EXPECT_THAT(reports(), ElementsAre("481 PrintPreview "));
}

TEST_F(PrefsDialogTest, APressCountTooLargeIsRefusedLikeTheLineCount) {
    frmGrundEinst dialog;
    dialog.Form_Load();
    QLineEdit *press = child<QLineEdit>(dialog, "edtPresseAnzTn");
    const struct {
        const char *typed, *shown;
        bool refused;
    } cases[] = {{"1e400", "", true}, {"3000000000", "", true}, {"2147483647", "2147483647", false}, {"12", "12", false}};
    for (const auto &c : cases) {
        if (c.refused) ui.answer("ok");
        press->setText(c.typed);
        EXPECT_EQ(press->text(), c.shown) << c.typed;
    }
    EXPECT_THAT(ui.messages(), ElementsAre("critical\tWert für Teilnehmer in der Liste zu groß !!!",
                                           "critical\tWert für Teilnehmer in der Liste zu groß !!!"));
    ui.answer("ok");
    keyClicks(press, "e400");
    dialog.toolClick(20003);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(GetSetting("Presseliste", "AnzTn"), "0");
    EXPECT_THAT(reports(), IsEmpty());
}

TEST_F(PrefsDialogTest, OnAFullDiskASaveStoresNothingAndACancelStillCloses) {
    store(expectedFile("full_store.txt"));
    SaveSetting("Urkundendruck", "Background Picture", "");
    {
        // Stored once as the dialog stores it, so that opening it again changes nothing.
        frmGrundEinst dialog;
        dialog.Form_Load();
        dialog.toolClick(20003);
    }
    const QByteArray before = fileBytes(settingsFilePath());
    const std::string answer = inChild(
        [&] {
            frmGrundEinst dialog;
            dialog.Form_Load();
            QLineEdit *count = dialog.certificatePage()->countField();
            count->clear();
            keyClicks(count, "2");  // stored at once, the file no larger
            child<QLineEdit>(dialog, "edtKopfzeile")->setText(QString(400, u'x'));
            child<QRadioButton>(dialog, "optPunkte")->setChecked(true);  // not stored, so not told
            dialog.toolClick(20002);
            const std::string afterSave = GetSetting("Listendruck", "Headertext").toStdString();
            dialog.toolClick(20001);
            return afterSave + " " + (dialog.isOpen() ? "open" : "closed") + " " +
                   ui.messages().join(u'|').toStdString();
        },
        rlim_t(before.size() + 100));
    EXPECT_EQ(answer, "Stadtlauf-Cup 2026 closed error\t75\tSaveEinstellungen\tDie Einstellungen konnten nicht "
                      "gespeichert werden.");
    EXPECT_EQ(fileBytes(settingsFilePath()), before);
}

// Each way that saves: with the settings file write-protected the save fails and a
// changed scoring mode is not announced; writable again, the same way stores it and
// then tells of it.
TEST_F(PrefsDialogTest, AModeChangeIsToldOnlyWhenTheSaveWasStored) {
    SaveSetting("LastUser", "Modus", "P");
    {
        frmGrundEinst dialog;  // every key stored once, so that opening writes nothing
        dialog.Form_Load();
        dialog.toolClick(20003);
    }
    const QString file = settingsFilePath();
    const QString modeMessage = "information\t" + modeChangeMessage().replace('\r', "\\n");
    const struct {
        const char *way;
        std::function<void(frmGrundEinst &)> save;
        bool closes;
    } ways[] = {
        {"&Speichern", [](frmGrundEinst &d) { d.toolClick(20002); }, false},
        {"&Beenden", [](frmGrundEinst &d) { d.toolClick(20003); }, true},
        {"close box", [](frmGrundEinst &d) { d.close(); }, true},
    };
    for (const auto &w : ways) {
        SCOPED_TRACE(w.way);
        ui.clearRecords();
        frmGrundEinst dialog;
        dialog.Form_Load();
        child<QRadioButton>(dialog, "optZeit")->setChecked(true);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
        w.save(dialog);
        EXPECT_THAT(ui.messages(), ElementsAre("error\t75\tSaveEinstellungen\tDie Einstellungen konnten nicht "
                                               "gespeichert werden."));
        EXPECT_TRUE(dialog.isOpen());
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_EQ(GetSetting("LastUser", "Modus"), "P");

        ui.clearRecords();
        ui.answer("ok");
        w.save(dialog);
        EXPECT_THAT(ui.messages(), ElementsAre(modeMessage));
        EXPECT_EQ(GetSetting("LastUser", "Modus"), "Z");
        EXPECT_EQ(dialog.isOpen(), !w.closes);
        if (dialog.isOpen()) dialog.toolClick(20001);
        SaveSetting("LastUser", "Modus", "P");
    }
}

TEST_F(PrefsDialogTest, FailuresAreReportedAndKeepTheDialogOpen) {
    // A series the grids cannot read: reported, grids out of use, the pages still work.
    gDB.reset();
    frmGrundEinst dialog;
    dialog.Form_Load();
    EXPECT_THAT(reports(), ElementsAre("91 Form_Load "));
    EXPECT_FALSE(dialog.generalPage()->pointsGrid()->isEnabled());

    // A store that cannot be written stops the save; neither close goes through.
    QFile::remove(settingsFilePath());
    QDir().mkpath(settingsFilePath());
    reloadSettings();
    dialog.toolClick(20003);
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isOpen());
    const QString notSaved = "75 SaveEinstellungen Die Einstellungen konnten nicht gespeichert werden.";
    EXPECT_THAT(reports(), ElementsAre("91 Form_Load ", notSaved, notSaved));
    QDir().rmdir(settingsFilePath());
    reloadSettings();
    dialog.toolClick(20003);
    EXPECT_FALSE(dialog.isOpen());
}

}  // namespace
