// Shared main of the test programs: a QApplication on the offscreen platform,
// private settings and data folders, the program's name and locale, then GoogleTest.
#include "platform/settings/Settings.h"
#include "platform/text/Locale.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(tarnis::kAppTitle);
    tarnis::UseGermanLocale();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
