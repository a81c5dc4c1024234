// "Grundeinstellungen" (tool 40030) from the offscreen main window: the preview is
// closed first, the dialog is modal over the window, and the load sequence runs
// after it, so a database path saved in the dialog is the one the window opens.
#include "core/db/Create.h"
#include "core/db/Globals.h"
#include "mainwin/InstanceLock.h"
#include "mainwin/forms/frmSerienwertung.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"
#include "prefs/forms/frmGrundEinst.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;

namespace {

// Records what the window looked like when the dialog had loaded, then lets the
// script click its tools.
class WatchingUi : public ScriptedUi {
public:
    std::function<void()> onDialog;
    bool drivePreferences(const std::function<bool(int)> &click) override {
        if (onDialog) onDialog();
        return ScriptedUi::drivePreferences(click);
    }
};

TEST(PrefsCommand, ClosesThePreviewShowsTheDialogModallyThenLoadsAgain) {
    QTemporaryDir config, program, runtime;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("TARNIS_PROGRAM_DIR", program.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    reloadSettings();
    ReleaseInstanceLock();
    WatchingUi ui;
    setUi(&ui);
    frmSerienwertung::setSplashHook([] {});
    frmSerienwertung::setDatabaseDialogHook([](QWidget *) { return false; });

    const QString first = program.filePath("erste.mdb"), second = program.filePath("zweite.mdb");
    CreateSeriesFile(first, 2);
    CreateSeriesFile(second, 4);
    SaveSetting("LastUser", "Datenbank", first);
    {
        frmSerienwertung window;
        ASSERT_TRUE(window.start());
        window.showPreview();

        bool previewShown = true;
        QString modalName;
        QWidget *owner = nullptr;
        ui.onDialog = [&] {
            previewShown = window.previewVisible();
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            modalName = modal->objectName();
            owner = modal->parentWidget();
            modal->findChild<QLineEdit *>("edtDatabase")->setText(second);
        };
        ui.answer("prefs 20003");
        window.clickTool(40030);

        EXPECT_FALSE(previewShown);
        EXPECT_EQ(modalName, "frmGrundEinst");
        EXPECT_EQ(owner, &window);
        EXPECT_EQ(gDBPath, second);
        EXPECT_EQ(window.statusPanel(2), second);
        EXPECT_THAT(ui.failures(), ::testing::IsEmpty());
        EXPECT_THAT(ui.messages(), ::testing::IsEmpty());
    }
    gDB.reset();
    gDBPath.clear();
    frmSerienwertung::setSplashHook({});
    frmSerienwertung::setDatabaseDialogHook({});
    ReleaseInstanceLock();
    setUi(nullptr);
    qunsetenv("TARNIS_PROGRAM_DIR");
}

}  // namespace
