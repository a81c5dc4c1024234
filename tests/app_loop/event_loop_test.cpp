// The program's application object as the last line of defence: an exception that
// escapes an event handler is logged and shown in the error dialog, one at a time and
// on the GUI thread only, and the loop goes on.
// A test program of its own, since it needs that object in place of the plain one.
#include "app/Application.h"
#include "platform/ui/ScriptedUi.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gmock/gmock.h>
#include <stdexcept>

using namespace tarnis;
using ::testing::ElementsAre;

namespace {

// A click as the window system delivers it: press and release through the application.
void click(QWidget *button) {
    const QPointF at = QRectF(button->rect()).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
}

QStringList gLog;

void keepCritical(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtCriticalMsg) gLog << text;
}

// When `modal`, the error dialog runs the event loop while it is open, as the real one does.
class ModalScriptedUi : public ScriptedUi {
public:
    bool modal = false;
    ErrorChoice errorDialog(const ErrorReport &report) override {
        if (!modal) return ScriptedUi::errorDialog(report);
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
        return ScriptedUi::errorDialog(report);
    }
};

class EventLoop : public ::testing::Test {
protected:
    void SetUp() override {
        setUi(&ui);
        gLog.clear();
        previousHandler = qInstallMessageHandler(keepCritical);
    }
    void TearDown() override {
        qInstallMessageHandler(previousHandler);
        setUi(nullptr);
    }
    QtMessageHandler previousHandler = nullptr;
    QStringList reports() const {
        QStringList out;
        for (const ErrorReport &r : ui.errorReports()) out << QStringLiteral("%1 %2").arg(r.error.number).arg(r.procedure);
        return out;
    }
    ModalScriptedUi ui;
};

TEST_F(EventLoop, WhatAHandlerLetsEscapeIsReportedAndTheDialogGoesOn) {
    QDialog form;
    form.setObjectName("frmProbe");
    auto *button = new QPushButton("Los", &form);
    button->setObjectName("cmdThrow");
    QObject::connect(button, &QPushButton::clicked,
                     [] { throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf")); });
    QObject unnamed;
    bool afterClick = false;
    QTimer::singleShot(0, &form, [&] {
        click(button);
        afterClick = true;
        QTimer::singleShot(0, &form, [] { throw std::runtime_error("kaputt"); });
        QTimer::singleShot(0, &unnamed, [] { throw 42; });
        QTimer::singleShot(20, &form, [&] { form.accept(); });
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(afterClick);
    EXPECT_THAT(reports(), ElementsAre("6 frmProbe.cmdThrow", QString("%1 frmProbe").arg(err::EngineGeneric),
                                       QString("%1 QObject").arg(err::EngineGeneric)));
    EXPECT_EQ(ui.errorReports().value(1).error.description, "kaputt");
    EXPECT_EQ(ui.endProgramCalls(), 0);
}

TEST_F(EventLoop, BeendenInTheErrorDialogStillEndsTheProgram) {
    ui.setErrorChoice(ErrorChoice::EndProgram);
    QObject target;
    target.setObjectName("Probe");
    QTimer::singleShot(0, &target, [] { throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf")); });
    QCoreApplication::processEvents();
    EXPECT_THAT(reports(), ElementsAre("6 Probe"));
    EXPECT_EQ(ui.endProgramCalls(), 1);
}

// A handler that fails again and again opens one report; what fails while it is open
// is logged only, and so is what fails on another thread.
TEST_F(EventLoop, OneReportAtATimeAndOnlyOnTheGuiThread) {
    ui.modal = true;
    QObject failing;
    failing.setObjectName("Uhr");
    int calls = 0;
    std::function<void()> fail = [&] {
        if (++calls < 5) QMetaObject::invokeMethod(&failing, fail, Qt::QueuedConnection);
        throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Aufruf %1").arg(calls));
    };
    QMetaObject::invokeMethod(&failing, fail, Qt::QueuedConnection);
    while (calls < 5) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_THAT(reports(), ElementsAre("6 Uhr"));
    EXPECT_EQ(gLog.size(), 5);
    EXPECT_EQ(gLog.value(4), "Fehler 6 in Uhr: Aufruf 5");

    gLog.clear();
    QThread worker;
    QObject away;
    away.setObjectName("Arbeiter");
    away.moveToThread(&worker);
    worker.start();
    std::atomic<bool> done = false;
    QMetaObject::invokeMethod(&away, [] { throw std::runtime_error("fern"); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&away, [&] { done = true; }, Qt::QueuedConnection);
    while (!done) QThread::msleep(1);
    worker.quit();
    worker.wait();
    EXPECT_THAT(reports(), ElementsAre("6 Uhr"));
    EXPECT_THAT(gLog, ElementsAre(QString("Fehler %1 in Arbeiter: fern").arg(err::EngineGeneric)));
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
