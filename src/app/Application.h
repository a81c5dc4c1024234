#pragma once
// The program's application object: the last line of defence of the event loop.
// An exception that escapes any event handler is logged, shown in the error dialog
// and the loop goes on; its "&beenden" ends the program as everywhere else. Handlers
// with an error path catch their own errors: an exception that unwinds through Qt's
// event code skips Qt's clean-up.
#include <QApplication>

namespace tarnis {

class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    // A report is open: a handler that fails again and again (a timer, a paint) is
    // only logged instead of nesting dialog after dialog. Touched on the GUI thread only.
    bool reporting_ = false;
};

// The procedure the error dialog names for an event of `receiver`: the form and the
// control as far as they are named ("frmGetDatabase.cmdGenDatabase"), else its class.
QString eventProcedure(const QObject *receiver);

}  // namespace tarnis
