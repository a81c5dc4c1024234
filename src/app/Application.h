#pragma once
// The program's application object: the last line of defence of the event loop.
// An exception that escapes any event handler is shown in the error dialog and the
// loop goes on; its "&beenden" ends the program as everywhere else.
#include <QApplication>

namespace tarnis {

class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The procedure the error dialog names for an event of `receiver`: the form and the
// control as far as they are named ("frmGetDatabase.cmdGenDatabase"), else its class.
QString eventProcedure(const QObject *receiver);

}  // namespace tarnis
