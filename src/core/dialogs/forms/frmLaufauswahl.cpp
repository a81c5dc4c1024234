#include "core/dialogs/forms/frmLaufauswahl.h"

#include "core/dialogs/forms/InfoBand.h"

#include "platform/settings/Settings.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tarnis {

frmLaufauswahl::frmLaufauswahl(int maxRace, QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmLaufauswahl"));
    setWindowTitle(kAppTitle);
    setModal(true);

    auto *layout = new QVBoxLayout(this);

    const auto [Picture1, Picture2] = makeInfoBand(this, QStyle::SP_FileDialogDetailedView);
    auto *band = new QHBoxLayout(Picture1);
    band->addWidget(Picture2);
    auto *lblInfo1 =
        new QLabel(QStringLiteral("Welchen Lauf wollen Sie erfassen? Bitte wählen Sie einen Lauf aus."), Picture1);
    lblInfo1->setObjectName(QStringLiteral("lblInfo1"));
    lblInfo1->setWordWrap(true);
    band->addWidget(lblInfo1, 1);
    layout->addWidget(Picture1);

    auto *Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(Frame1);
    // Not editable: the stored prefix always names a race of the list.
    cboLaufAuswahl = new QComboBox(Frame1);
    cboLaufAuswahl->setObjectName(QStringLiteral("cboLaufAuswahl"));
    for (int n = 1; n <= maxRace; ++n) cboLaufAuswahl->addItem(QString::number(n));
    cboLaufAuswahl->setCurrentIndex(-1);
    row->addWidget(cboLaufAuswahl, 1);
    cmdWeiter = new QPushButton(QStringLiteral("Weiter"), Frame1);
    cmdWeiter->setObjectName(QStringLiteral("cmdWeiter"));
    row->addWidget(cmdWeiter);
    layout->addWidget(Frame1);

    connect(cmdWeiter, &QPushButton::clicked, this, &frmLaufauswahl::cmdWeiter_Click);
}

void frmLaufauswahl::cmdWeiter_Click() {
    chosen_ = cboLaufAuswahl->currentText().toInt();
    accept();
}

}  // namespace tarnis
