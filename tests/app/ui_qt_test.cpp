// The real user interface under the offscreen platform: message boxes, file dialogs,
// the error dialog, the progress window, the import note and the busy pointer.
#include "core/import/EI_Import.h"
#include "core/import/forms/frmImport.h"
#include "core/services/forms/frmShowError.h"
#include "core/services/forms/frmWorking.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QAbstractProxyModel>
#include <QBackingStore>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gmock/gmock.h>

using namespace tarnis;

namespace {

// Runs `act` on the modal window as soon as it is open.
void whenModalOpens(std::function<void(QWidget *)> act) {
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(5);
}

class QtUiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installGermanTranslation(*qApp); }
    void SetUp() override { setUi(&ui); }
    void TearDown() override { setUi(nullptr); }
    QtUi ui;
};

TEST_F(QtUiTest, MessageBoxInGermanUnderTheProgramTitle) {
    QStringList buttons;
    whenModalOpens([&](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Lrv. Tarnis");
        EXPECT_EQ(box->text(), "Erste Zeile\nZweite\nDritte");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        for (QAbstractButton *b : box->buttons())
            buttons << b->text().remove('&');
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui.message("Erste Zeile\rZweite\r\nDritte", MsgButtons::YesNo, MsgIcon::Exclamation), MsgAnswer::No);
    EXPECT_THAT(buttons, ::testing::UnorderedElementsAre("Ja", "Nein"));
}

// A refused list with more lines to mend than its text names shows every one of them under
// "Details einblenden...", from the import's own message.
TEST_F(QtUiTest, RefusedListShowsEveryNamedLineInItsDetails) {
    QTemporaryDir dir;
    const QString list = dir.filePath("lauf.txt");
    QString text = "Stadtpark\r\n05.12.2026\r\nM40 - 10 km Lauf\r\n";
    for (int i = 1; i <= 7; ++i)
        text += QString::number(i) + ". " + QString("Lecœur, Jean").leftJustified(28) + "75 " + QString("RC").leftJustified(25) + " 35:12\r\n";
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    QString boxText, details;
    whenModalOpens([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        whenModalOpens([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            boxText = box->text();
            details = box->detailedText();
            box->button(QMessageBox::Ok)->click();
        });
        dialog->selectFile(list);
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_FALSE(EI_Import());
    EXPECT_THAT(boxText.toStdString(), ::testing::HasSubstr("\"œ\" und 2 weitere Zeilen."));
    EXPECT_THAT(details.split('\n'), ::testing::ElementsAre("Zeilen, die die Umwandlung falsch speichern würde:",
                                                            "Zeile 4, Spalte 7 (Name): \"œ\"", "Zeile 5, Spalte 7 (Name): \"œ\"",
                                                            "Zeile 6, Spalte 7 (Name): \"œ\"", "Zeile 7, Spalte 7 (Name): \"œ\"",
                                                            "Zeile 8, Spalte 7 (Name): \"œ\"", "Zeile 9, Spalte 7 (Name): \"œ\"",
                                                            "Zeile 10, Spalte 7 (Name): \"œ\""));
}

// The dialog is Qt's own, never asks about overwriting, shows German dates and
// opens wide enough for its German column names and what they show.
TEST_F(QtUiTest, SaveDialogIsOwnGermanAndNeverAsksAboutOverwriting) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("da.txt");
    {
        QFile file(existing);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(2560, 'x'));
        file.flush();
        file.setFileTime(QDateTime(QDate(2026, 12, 6), QTime(9, 30)), QFileDevice::FileModificationTime);
    }
    QDir(dir.path()).mkdir("Ordner");
    bool ownAndQuiet = false;
    QString filter, date, size;
    QStringList clipped;
    whenModalOpens([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        ownAndQuiet = dialog->testOption(QFileDialog::DontUseNativeDialog) &&
                      dialog->testOption(QFileDialog::DontConfirmOverwrite);
        filter = dialog->nameFilters().join(";;");
        auto *files = dialog->findChild<QFileSystemModel *>();
        auto *view = dialog->findChild<QTreeView *>("treeView");
        ASSERT_TRUE(files && view);
        const auto shown = [&](int column = 3) {
            const QModelIndex at = files->index(existing, column);
            return view->model()->data(dialog->proxyModel() ? dialog->proxyModel()->mapFromSource(at) : at).toString();
        };
        // The folder is read in the background.
        for (int i = 0; i < 200 && shown().isEmpty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        date = shown();
        size = shown(1);
        QCoreApplication::processEvents();
        for (int c = 0; c < files->columnCount(); ++c) {
            const int needed = std::max(view->header()->sectionSizeHint(c), static_cast<QAbstractItemView *>(view)->sizeHintForColumn(c));
            if (!view->isColumnHidden(c) && view->columnWidth(c) < needed)
                clipped << files->headerData(c, Qt::Horizontal).toString();
        }
        dialog->selectFile(existing);
        static_cast<QDialog *>(dialog)->accept();
    });
    EXPECT_EQ(ui.saveFileName({QString(), "Datei (*.log *.txt)", "da.txt", dir.path()}), existing);
    EXPECT_TRUE(ownAndQuiet);
    EXPECT_EQ(filter, "Datei (*.log *.txt)");
    EXPECT_THAT(date.toStdString(), ::testing::StartsWith("06.12.26"));
    EXPECT_EQ(size, "2,50 KiB");
    EXPECT_EQ(clipped.join(", ").toStdString(), "");
    whenModalOpens([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    EXPECT_EQ(ui.openFileName({}), QString());
}

// Asked to, the save dialog puts its own German question before an existing file.
TEST_F(QtUiTest, SaveDialogAsksBeforeAnExistingFileWhenRequested) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("print.pdf");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString question;
    whenModalOpens([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        whenModalOpens([&](QWidget *box) {
            if (auto *asking = qobject_cast<QMessageBox *>(box)) {
                question = asking->text();
                asking->button(QMessageBox::Yes)->click();
            }
        });
        dialog->selectFile(existing);
        static_cast<QDialog *>(dialog)->accept();
    });
    FileDialogRequest request{QString(), "PDF-Datei (*.pdf)", "print.pdf", dir.path()};
    request.confirmOverwrite = true;
    EXPECT_EQ(ui.saveFileName(request), existing);
    EXPECT_THAT(question.toStdString(), ::testing::HasSubstr("existiert bereits"));
}

// Only a click on "&beenden" ends the program: Return goes on wherever the focus is,
// also on a text reached with Tab or the mouse to copy it, and on "&beenden" itself.
TEST_F(QtUiTest, ErrorDialogIsModalAndAnswersWithTheButton) {
    enum Act { Click, TabThenReturn, MouseThenReturn };
    struct Case {
        const char *target;
        Act act;
        ErrorChoice choice;
    };
    const Case cases[] = {
        {"cmdWeiter", Click, ErrorChoice::Continue},
        {"cmdEnde", Click, ErrorChoice::EndProgram},
        {"cmdWeiter", TabThenReturn, ErrorChoice::Continue},
        {"cmdEnde", TabThenReturn, ErrorChoice::Continue},
        {"lblError", TabThenReturn, ErrorChoice::Continue},
        {"lblZusatzText", MouseThenReturn, ErrorChoice::Continue},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.act == Click ? " click" : c.act == TabThenReturn ? " Tab" : " mouse"));
        bool modal = false, closed = false;
        whenModalOpens([&](QWidget *w) {
            modal = qobject_cast<frmShowError *>(w) && w->parentWidget() == nullptr;
            auto *target = w->findChild<QWidget *>(c.target);
            if (c.act == Click) {
                qobject_cast<QPushButton *>(target)->click();
                closed = true;
                return;
            }
            if (c.act == MouseThenReturn) target->setFocus(Qt::MouseFocusReason);
            for (int tabs = 0; tabs < 10 && w->focusWidget() != target; ++tabs) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QApplication::sendEvent(w->focusWidget(), &tab);
            }
            ASSERT_EQ(w->focusWidget(), target);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            closed = !w->isVisible();
            if (!closed) qobject_cast<QDialog *>(w)->reject();
        });
        const ErrorChoice choice = ui.errorDialog({AppError(5, "x", "y"), {}, {}});
        EXPECT_TRUE(modal);
        EXPECT_TRUE(closed);
        EXPECT_EQ(choice, c.choice);
    }
}

TEST_F(QtUiTest, ProgressWindowImportNoteAndBusyPointerComeFreshAndGo) {
    ui.showProgress(2);
    frmWorking *window = ui.progressWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->findChild<QLabel *>("lblCaption")->text(), "Bearbeitung läuft ...");
    for (int i = 0; i < 3; ++i)
        ui.stepProgress();
    EXPECT_EQ(window->bar()->value(), 2);  // full, not beyond
    ui.showProgress(5);
    EXPECT_EQ(ui.progressWindow()->bar()->value(), 0);
    ui.hideProgress();
    EXPECT_EQ(ui.progressWindow(), nullptr);
    ui.hideProgress();

    ui.showImportNote();
    ui.setImportNoteLine(12);
    ASSERT_NE(importNoteWindow(), nullptr);
    EXPECT_TRUE(importNoteWindow()->lblInfo->text().endsWith("12"));
    ui.hideImportNote();
    EXPECT_EQ(importNoteWindow(), nullptr);

    // The busy pointer does not stack.
    ui.setBusy(true);
    ui.setBusy(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.setBusy(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The operations do not return to the event loop while they run: the progress window is
// on the screen with its text at once and its bar grows, although no event is let in
// (the main window's handlers must not run in the middle of a command). It stands
// whole inside its owner, also one beside the screen's centre or narrower than the
// window. After its area was drawn over (the main window restored or uncovered), one
// step that grows the bar draws it whole again; when it goes, the owner draws its area.
TEST_F(QtUiTest, ProgressWindowDrawsAtOnceAndLetsNoEventsIn) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char *what;
        QRect owner;
        bool centred;  // on the screen
    };
    const Case cases[] = {
        {"over the screen's centre", {screen.topLeft(), QSize(700, 500)}, true},
        {"beside the screen's centre", {screen.center() + QPoint(20, 20), QSize(360, 200)}, false},
        {"narrower than the window", {screen.topLeft() + QPoint(50, 50), QSize(300, 200)}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QWidget owner;
        owner.setGeometry(c.owner);
        QWidget inner(&owner);  // an opaque part under the panel, as the grid is
        QPalette ownColour = inner.palette();
        ownColour.setColor(QPalette::Window, QColor(0, 128, 128));
        inner.setPalette(ownColour);
        inner.setAutoFillBackground(true);
        inner.setGeometry(QRect(QPoint(), c.owner.size()));
        owner.show();
        QCoreApplication::processEvents();  // the main window is on the screen before any command
        bool eventLetIn = false;
        QTimer::singleShot(0, &owner, [&] { eventLetIn = true; });

        auto window = std::make_unique<frmWorking>(&owner);
        window->start(10);
        const QRect onScreen(window->mapToGlobal(QPoint()), window->size());
        QProgressBar *bar = window->bar();
        const QRect barOnScreen(bar->mapToGlobal(QPoint()), bar->size());
        const auto shot = [&](const QRect &r) {
            return owner.screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
        };
        const QImage empty = shot(barOnScreen);
        for (int i = 0; i < 5; ++i) window->step();
        const QImage half = shot(barOnScreen);
        const QImage panel = shot(onScreen);

        EXPECT_TRUE(QRect(QPoint(), owner.size()).contains(window->geometry()));
        EXPECT_TRUE(onScreen.contains(barOnScreen));
        if (c.centred) {
            EXPECT_LE((onScreen.center() - screen.center()).manhattanLength(), 1);
        }
        ASSERT_FALSE(half.isNull() || panel.isNull());
        EXPECT_EQ(panel.pixelColor(panel.width() - 8, panel.height() / 2), QColor(Qt::white));
        int captionInk = 0;  // "Bearbeitung läuft ..." above the bar
        const QLabel *caption = window->findChild<QLabel *>("lblCaption");
        const QPoint captionAt = caption->mapTo(window.get(), QPoint());
        for (int x = 0; x < caption->width(); ++x)
            for (int y = 0; y < caption->height(); ++y)
                if (panel.pixelColor(captionAt + QPoint(x, y)).lightness() < 128) ++captionInk;
        EXPECT_GT(captionInk, 100);
        const QPoint quarter(half.width() / 4, half.height() / 2), threeQuarters(half.width() * 3 / 4, half.height() / 2);
        EXPECT_EQ(empty.pixelColor(quarter), empty.pixelColor(threeQuarters));
        EXPECT_NE(half.pixelColor(quarter), half.pixelColor(threeQuarters));
        EXPECT_EQ(half.pixelColor(threeQuarters), empty.pixelColor(threeQuarters));

        // Drawn over as the window system leaves it after an exposure nobody answers.
        QBackingStore *store = owner.backingStore();
        const QRect area(window->mapTo(&owner, QPoint()), window->size());
        store->beginPaint(area);
        QPainter(store->paintDevice()).fillRect(area, Qt::black);
        store->endPaint();
        ASSERT_EQ(shot(onScreen).pixelColor(panel.width() - 8, panel.height() / 2), QColor(Qt::black));
        window->step();
        const QImage again = shot(onScreen);
        const QRect barInPanel = barOnScreen.translated(-onScreen.topLeft());
        int differing = 0;  // outside the bar, which has grown
        for (int x = 0; x < panel.width(); ++x)
            for (int y = 0; y < panel.height(); ++y)
                if (!barInPanel.contains(x, y) && again.pixel(x, y) != panel.pixel(x, y)) ++differing;
        EXPECT_EQ(differing, 0);

        window.reset();
        EXPECT_EQ(shot(onScreen).pixelColor(panel.width() - 8, panel.height() / 2), QColor(0, 128, 128));
        EXPECT_FALSE(eventLetIn);
    }
}

// Texts of data and from outside show as they are: no label of a message box, an
// input, the error dialog, the progress window or the import note renders mark-up.
TEST_F(QtUiTest, TextsShowAsPlainText) {
    const QString markup = QStringLiteral("3.1.0 <b>fett</b> <font color=red size=6>SICHER</font>");
    QStringList rich;
    const auto check = [&](const QString &what, QWidget *window) {
        for (QLabel *label : window->findChildren<QLabel *>())
            if (!label->text().isEmpty() && label->textFormat() != Qt::PlainText) rich << what + ": " + label->text();
    };
    whenModalOpens([&](QWidget *w) {
        check("message", w);
        qobject_cast<QMessageBox *>(w)->button(QMessageBox::Ok)->click();
    });
    ui.message(markup, MsgButtons::Ok, MsgIcon::Information);
    whenModalOpens([&](QWidget *w) {
        check("input", w);
        qobject_cast<QDialog *>(w)->reject();
    });
    ui.inputText(markup, QString(), QString());
    frmShowError error({AppError(5, markup, markup), QStringLiteral("1. <b>Fett</b>, <i>X</i>"), markup});
    check("error dialog", &error);
    ui.showProgress(2);
    check("progress", ui.progressWindow());
    ui.hideProgress();
    ui.showImportNote();
    check("import note", importNoteWindow());
    ui.hideImportNote();
    EXPECT_EQ(rich, QStringList());
}

// A long hint (or error text) is shown whole: its band and the window grow.
TEST_F(QtUiTest, ErrorDialogShowsTheWholeHint) {
    const QString hint = QStringLiteral(
        "Hallo Anwender: Bitte überprüfen Sie die Voreinstellungen unter dem Menüpunkt\r"
        "Einstellungen -> Voreinstallungen -> Grundeinstellungen -> Anzahl zu verwaltender Läufe !");
    const QString longText = QString(QStringLiteral("Eine lange Beschreibung des Fehlers. ")).repeated(12);
    struct Case {
        const char *what;
        ErrorReport report;
    } cases[] = {
        {"short", {AppError(5, "x", "y"), QStringLiteral("kurz"), QStringLiteral("P")}},
        {"long hint", {AppError(5, "x", "y"), hint, QStringLiteral("PL_PrintGruppe")}},
        {"long hint and error text", {AppError(5, "x", longText), hint + u'\r' + hint, QStringLiteral("P")}},
    };
    int designedHeight = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        frmShowError dialog(c.report);
        dialog.show();
        QCoreApplication::processEvents();
        if (designedHeight == 0) designedHeight = dialog.height();
        for (QLabel *label : {dialog.lblError, dialog.lblZusatzText}) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->objectName().toStdString();
            // Inside its band, not under the band below.
            const QRect inBand = QRect(label->mapTo(label->parentWidget(), QPoint()), label->size());
            EXPECT_TRUE(label->parentWidget()->rect().contains(inBand)) << label->objectName().toStdString();
        }
        for (QPushButton *button : {dialog.cmdEnde, dialog.cmdWeiter})
            EXPECT_TRUE(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint()), button->size())));
        if (qstrcmp(c.what, "short") == 0) EXPECT_EQ(dialog.height(), designedHeight);
        else EXPECT_GT(dialog.height(), designedHeight);
    }
}

}  // namespace
