// The real user interface under the offscreen platform: message boxes, file dialogs,
// the error dialog, the progress window, the import note and the busy pointer.
#include "core/import/forms/frmImport.h"
#include "core/services/forms/frmShowError.h"
#include "core/services/forms/frmWorking.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
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

TEST_F(QtUiTest, ErrorDialogIsModalAndAnswersWithTheButton) {
    for (const char *button : {"cmdWeiter", "cmdEnde"}) {
        bool modal = false;
        whenModalOpens([&](QWidget *w) {
            modal = qobject_cast<frmShowError *>(w) && w->parentWidget() == nullptr;
            w->findChild<QPushButton *>(button)->click();
        });
        const ErrorChoice choice = ui.errorDialog({AppError(5, "x", "y"), {}, {}});
        EXPECT_TRUE(modal);
        EXPECT_EQ(choice, qstrcmp(button, "cmdEnde") == 0 ? ErrorChoice::EndProgram : ErrorChoice::Continue);
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

}  // namespace
