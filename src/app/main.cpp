// The program: the window side of the platform, then the main window, which runs
// its load sequence (database dialog, second-copy test) before it is shown;
// "--version" and "--help" are answered without either.
#include "about/ProgramCommandLine.h"
#include "app/Application.h"
#include "app/QtUi.h"
#include "mainwin/forms/frmSerienwertung.h"
#include "platform/qt/KeyState.h"
#include "platform/settings/Settings.h"
#include "platform/text/Locale.h"

int main(int argc, char **argv) {
    // Answered before any window, display or lock is needed.
    if (const auto code = tarnis::AnswerInfoArguments(argc, argv)) return *code;
    // Whatever an event handler lets escape is reported, and the program goes on.
    tarnis::Application app(argc, argv);
    QApplication::setApplicationName(tarnis::kAppTitle);
    // The program ends through the main window's shutdown, not when a dialog closes.
    QApplication::setQuitOnLastWindowClosed(false);
    tarnis::UseGermanLocale();
    tarnis::installGermanTranslation(app);
    tarnis::installKeyStateQuery();

    tarnis::QtUi qtUi;
    tarnis::setUi(&qtUi);

    tarnis::frmSerienwertung window;
    qtUi.setMainWindow(&window);
    if (!window.start()) return 0;
    return app.exec();
}
