#include "app/Application.h"

#include "core/services/ShowError.h"

#include <QPointer>
#include <QThread>
#include <QWidget>

namespace tarnis {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

QString eventProcedure(const QObject *receiver) {
    if (!receiver) return QStringLiteral("notify");
    // The nearest named object is the control; the window it sits in is the form.
    const QObject *control = receiver;
    while (control && control->objectName().isEmpty()) control = control->parent();
    QString name = control ? control->objectName() : QString();
    if (const auto *widget = qobject_cast<const QWidget *>(receiver)) {
        const QWidget *form = widget->window();
        if (form != control && !form->objectName().isEmpty())
            name = name.isEmpty() ? form->objectName() : form->objectName() + u'.' + name;
    }
    return name.isEmpty() ? QString::fromLatin1(receiver->metaObject()->className()) : name;
}

bool Application::notify(QObject *receiver, QEvent *event) {
    // The handler may delete its own object before it throws.
    const QPointer<QObject> target(receiver);
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const AppError error = toAppError(std::current_exception());
        const QString procedure = target ? eventProcedure(target) : QStringLiteral("notify");
        qCritical("Fehler %d in %s: %s", error.number, qUtf8Printable(procedure), qUtf8Printable(error.description));
        // Widgets and the report flag belong to the GUI thread: an escape elsewhere is
        // only logged, and the thread is tested before the flag is read.
        if (QThread::currentThread() != thread() || reporting_ || !uiAvailable()) return false;
        reporting_ = true;
        try {
            ShowError(error, QString(), procedure);
        } catch (...) {
            qCritical("Der Fehlerdialog konnte nicht gezeigt werden.");
        }
        reporting_ = false;
        return false;
    }
}

}  // namespace tarnis
