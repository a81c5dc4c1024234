#include "core/dialogs/forms/frmAlterklassen.h"

#include "core/dialogs/forms/InfoBand.h"

#include "platform/settings/Settings.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace tarnis {

namespace {

// The window is laid out in twips; 15 twips to the pixel at 96 dpi.
constexpr int px(int twips) { return (twips + 7) / 15; }

}  // namespace

frmAlterklassen::frmAlterklassen(const QStringList &classes, QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAlterklassen"));
    setWindowTitle(kAppTitle);
    setModal(true);
    setFixedSize(px(3720), px(3075));

    const auto [Picture1, Picture2] = makeInfoBand(this, QStyle::SP_FileDialogListView);
    Picture1->setGeometry(0, 0, px(3735), px(735));
    Picture2->setGeometry(px(120), px(120), 32, 32);
    auto *lblInfo1 = new QLabel(QStringLiteral("Bitte wählen Sie eine Altersklasse aus. "), Picture1);
    lblInfo1->setObjectName(QStringLiteral("lblInfo1"));
    lblInfo1->setWordWrap(true);
    lblInfo1->setGeometry(px(840), px(120), px(2800), px(500));

    auto *SSFrame1 = new QFrame(this);
    SSFrame1->setObjectName(QStringLiteral("SSFrame1"));
    SSFrame1->setFrameShape(QFrame::Panel);
    SSFrame1->setFrameShadow(QFrame::Raised);
    SSFrame1->setGeometry(0, px(735), px(3720), px(3075 - 735));

    auto *Label2 = new QLabel(QStringLiteral("Altersklasse auswählen"), SSFrame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont heading(QStringLiteral("MS Sans Serif"), 12);
    heading.setBold(true);
    Label2->setFont(heading);
    Label2->setGeometry(px(98), px(60), px(3525), px(330));

    lisAltersgruppen = new QListWidget(SSFrame1);
    lisAltersgruppen->setObjectName(QStringLiteral("lisAltersgruppen"));
    lisAltersgruppen->setSelectionMode(QAbstractItemView::SingleSelection);
    lisAltersgruppen->addItems(classes);
    lisAltersgruppen->setGeometry(px(98), px(420), px(3525), px(1230));

    cmdAbbruch = new QPushButton(QStringLiteral("&Abbrechen"), SSFrame1);
    cmdAbbruch->setObjectName(QStringLiteral("cmdAbbruch"));
    cmdAbbruch->setAutoDefault(false);
    cmdAbbruch->setGeometry(px(98), px(1800), px(1356), px(348));
    cmdOK = new QPushButton(QStringLiteral("&Ausgeben"), SSFrame1);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdOK->setGeometry(px(3623 - 1356), px(1800), px(1356), px(348));

    connect(cmdOK, &QPushButton::clicked, this, &frmAlterklassen::cmdOK_Click);
    connect(cmdAbbruch, &QPushButton::clicked, this, &frmAlterklassen::cmdAbbruch_Click);
    connect(lisAltersgruppen, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        lisAltersgruppen->setCurrentItem(item);
        cmdOK_Click();
    });
}

void frmAlterklassen::cmdOK_Click() {
    const QListWidgetItem *item = lisAltersgruppen->currentItem();
    answer_ = item && item->isSelected() ? item->text() : QString();
    accept();
}

void frmAlterklassen::cmdAbbruch_Click() {
    answer_.clear();
    reject();
}

}  // namespace tarnis
