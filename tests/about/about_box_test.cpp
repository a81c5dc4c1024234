// The about box offscreen: its file time, its OK, and the system-information button
// with and without a program to start.
#include "about/forms/frmAbout.h"
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

QString label(const QWidget &w, const char *name) { return w.findChild<QLabel *>(name)->text(); }
QPushButton *button(const QWidget &w, const char *name) { return w.findChild<QPushButton *>(name); }

// The texts are the form's own; the file time is read from the program file.
TEST(AboutBox, ShowsTheFileTimeAndClosesWithOk) {
    frmAbout box;
    EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"))
                    .match(label(box, "lblFiletime"))
                    .hasMatch());
    // The product name and the texts of the program never render as mark-up.
    for (QLabel *l : box.findChildren<QLabel *>()) {
        if (!l->text().isEmpty()) {
            EXPECT_EQ(l->textFormat(), Qt::PlainText) << l->objectName().toStdString();
        }
    }
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
        QFile f(bin.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("#!/bin/sh\necho started > \"$0.marker\"\n") > 0);
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
