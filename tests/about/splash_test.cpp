// The splash window closes itself, shows what it should and leaves nothing running.
#include "about/forms/frmSplash.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>
#include <gmock/gmock.h>

using namespace tarnis;

TEST(Splash, ClosesItselfFadedWithItsTextsAndNoTimerLeft) {
    DeleteSetting(QStringLiteral("LastUser"), QStringLiteral("AppPath"));
    frmSplash splash(0);
    EXPECT_EQ(splash.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
              QStringLiteral("Version %1.%2.%3")
                  .arg(TARNIS_VERSION_MAJOR)
                  .arg(TARNIS_VERSION_MINOR)
                  .arg(TARNIS_VERSION_PATCH));
    EXPECT_EQ(splash.findChild<QLabel *>(QStringLiteral("lblProductName"))->text(), kAppTitle);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                    .match(splash.findChild<QLabel *>(QStringLiteral("lblFiletime"))->text())
                    .hasMatch());
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
