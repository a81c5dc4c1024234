#include "about/forms/frmAbout.h"

#include "about/AboutTexts.h"
#include "about/OnlineUpdate.h"
#include "about/SysInfo.h"
#include "about/forms/Logo.h"
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "platform/qt/DisplayText.h"
#include "platform/settings/Settings.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnis {

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    SSPanel1 = new QFrame(this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Image1 = new QLabel(SSPanel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logoPicture());
    Image1->setAlignment(Qt::AlignTop);

    lblTitle = new QLabel(SSPanel1);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(SSPanel1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblFiletime = new QLabel(SSPanel1);
    lblFiletime->setObjectName(QStringLiteral("lblFiletime"));
    lblDisclaimer = new QLabel(SSPanel1);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(false);
    for (QLabel *label : {lblTitle, lblVersion, lblFiletime, lblDisclaimer}) label->setTextFormat(Qt::PlainText);

    cmdOK = new QPushButton(QStringLiteral("OK"), SSPanel1);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), SSPanel1);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdCheckNewVersion = new QPushButton(QStringLiteral("neue Version?"), SSPanel1);
    cmdCheckNewVersion->setObjectName(QStringLiteral("cmdCheckNewVersion"));

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblFiletime);
    texts->addSpacing(12);
    auto *line = new QFrame(SSPanel1);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    texts->addWidget(line);
    texts->addWidget(lblDisclaimer);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdCheckNewVersion);
    buttons->addStretch();
    auto *panel = new QHBoxLayout(SSPanel1);
    panel->addWidget(Image1);
    panel->addSpacing(8);
    panel->addLayout(texts, 1);
    panel->addSpacing(8);
    panel->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(SSPanel1);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    connect(cmdCheckNewVersion, &QPushButton::clicked, this, [this] { cmdCheckNewVersion_Click(); });

    Form_Load();
}

void frmAbout::Form_Load() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    ApplyFormStyle(this);
    setWindowTitle(QStringLiteral("Über ") + kAppTitle);
    lblVersion->setText(ProgramVersionText());
    lblTitle->setText(ProgramProductName());
    lblDisclaimer->setText(displayText(ProgramDisclaimer()));
    lblFiletime->setText(ProgramFileTimeText());
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() { tarnis::StartSysInfo(); }

void frmAbout::cmdCheckNewVersion_Click() {
    try {
        const UpdateContext context = DefaultUpdateContext();
        tarnis::cmdCheckNewVersion_Click(context, IsUserAnAdmin(context.programFile));
    } catch (...) {
        try {
            ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("cmdCheckNewVersion_Click"));
        } catch (...) {
        }
    }
}

void ShowAboutBox() {
    frmAbout box;
    box.exec();
}

}  // namespace tarnis
