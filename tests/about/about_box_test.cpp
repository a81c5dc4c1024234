// The about box offscreen: its texts, its OK, and the system-information button with
// and without a program to start.
#include "about/forms/frmAbout.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;

namespace {

QString label(const QWidget &w, const char *name) { return w.findChild<QLabel *>(QLatin1String(name))->text(); }
QPushButton *button(const QWidget &w, const char *name) { return w.findChild<QPushButton *>(QLatin1String(name)); }

TEST(AboutBox, ShowsTheProgramAndClosesWithOk) {
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Über Lrv. Tarnis"));
    EXPECT_EQ(box.parentWidget(), nullptr);
    EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(label(box, "lblVersion"), QStringLiteral("Version %1.%2.%3")
                                            .arg(TARNIS_VERSION_MAJOR)
                                            .arg(TARNIS_VERSION_MINOR)
                                            .arg(TARNIS_VERSION_PATCH));
    EXPECT_FALSE(label(box, "lblTitle").isEmpty());
    EXPECT_EQ(label(box, "lblDisclaimer").split(u'\n').size(), 6);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                    .match(label(box, "lblFiletime"))
                    .hasMatch());
    EXPECT_EQ(button(box, "cmdCheckNewVersion")->text(), QStringLiteral("neue Version?"));
    EXPECT_EQ(button(box, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));

    box.show();
    button(box, "cmdOK")->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, SystemInformationStartsTheFirstProgramFound) {
    ScriptedUi ui;
    setUi(&ui);
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    auto fake = [&](const QString &name) {
        const QString script = bin.filePath(name);
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\necho started > \"$0.marker\"\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    };

    frmAbout box;
    button(box, "cmdSysInfo")->click();
    EXPECT_THAT(ui.messages(), ElementsAre("none\tSystem Information Is Unavailable At This Time"));
    EXPECT_EQ(ui.messageTitles().value(0), QString());  // the application title

    ui.clearRecords();
    fake(QStringLiteral("kinfocenter"));
    fake(QStringLiteral("gnome-system-monitor"));
    button(box, "cmdSysInfo")->click();
    const QString marker = bin.filePath(QStringLiteral("kinfocenter.marker"));
    QDeadlineTimer deadline(20000);  // generous: the machine may be busy
    while (!QFile::exists(marker) && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(bin.filePath(QStringLiteral("gnome-system-monitor.marker"))));
    EXPECT_TRUE(ui.messages().isEmpty());

    qputenv("PATH", oldPath);
    setUi(nullptr);
}

}  // namespace
