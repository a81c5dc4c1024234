// The splash window closes itself and leaves nothing running.
#include "about/forms/frmSplash.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <gmock/gmock.h>

using namespace tarnis;

// The program folder is stored for the other parts on the way.
TEST(Splash, ClosesItselfFadedAndLeavesNoTimer) {
    DeleteSetting(QStringLiteral("LastUser"), QStringLiteral("AppPath"));
    frmSplash splash(0);
    EXPECT_EQ(GetSetting(QStringLiteral("LastUser"), QStringLiteral("AppPath")), ProgramFolder());

    EXPECT_EQ(splash.exec(), QDialog::Accepted);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_NEAR(splash.windowOpacity(), 5 / 255.0, 0.002);  // never fully transparent
    EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(&splash).isEmpty());
}

TEST(Splash, DestroyedBeforeItsFadeStartsLeavesNothingBehind) {
    {
        frmSplash splash(0);
        splash.show();  // queues the fade
    }
    QCoreApplication::processEvents();  // the queued fade must not touch the gone window
    FadeOut(nullptr, 100);
    SUCCEED();
}
