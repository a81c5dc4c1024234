// The program's application object as the last line of defence: an exception that
// escapes an event handler is shown in the error dialog and the loop goes on.
// A test program of its own, since it needs that object in place of the plain one.
#include "app/Application.h"
#include "platform/ui/ScriptedUi.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
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

class EventLoop : public ::testing::Test {
protected:
    void SetUp() override { setUi(&ui); }
    void TearDown() override { setUi(nullptr); }
    QStringList reports() const {
        QStringList out;
        for (const ErrorReport &r : ui.errorReports()) out << QStringLiteral("%1 %2").arg(r.error.number).arg(r.procedure);
        return out;
    }
    ScriptedUi ui;
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

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
