#include "core/dialogs/forms/frmGetDatabase.h"

#include "core/dialogs/GetDatabase.h"
#include "core/dialogs/forms/InfoBand.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarnis {

namespace {

QLabel *wrappedLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmGetDatabase::frmGetDatabase(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmGetDatabase"));
    setWindowTitle(QStringLiteral("Datenbank Generator für Lorvane Tarnis"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);

    // Instruction area on a white band.
    const auto [Picture1, Picture2] = makeInfoBand(this, QStyle::SP_DriveHDIcon);
    auto *band = new QHBoxLayout(Picture1);
    band->addWidget(Picture2);
    auto *texts = new QVBoxLayout;
    texts->addWidget(wrappedLabel(
        QStringLiteral("lblInfo1"),
        QStringLiteral("Bitte wählen Sie eine Lrv. Tarnis Datanbank aus. Sie können aber auch eine neu Datenbank "
                       "erstellen."),
        Picture1));
    texts->addWidget(wrappedLabel(QStringLiteral("lblInfo2"),
                                  QStringLiteral("1. Im Reiter \"Datenbank\" einen Pfad incl. Dateinamen angeben."),
                                  Picture1));
    texts->addWidget(wrappedLabel(
        QStringLiteral("lblInfo3"),
        QStringLiteral("2. Im Reiter \"Datenbank erstellen\" die Anzahl der Läufe eingeben, die Sie verwalten "
                       "möchten. Anschließend den Button \"Generieren\" betätigen"),
        Picture1));
    texts->addWidget(
        wrappedLabel(QStringLiteral("lblInfo4"), QStringLiteral("3. Button \"Fertig\" drücken."), Picture1));
    band->addLayout(texts, 1);
    layout->addWidget(Picture1);

    auto *Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::HLine);
    layout->addWidget(Frame1);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    // Tab "Datenbank": the path of the file.
    auto *SSFrame1 = new QFrame;
    SSFrame1->setObjectName(QStringLiteral("SSFrame1"));
    auto *dbLayout = new QVBoxLayout(SSFrame1);
    auto *lblGetDatabase = new QLabel(QStringLiteral("Wo ist die Datenbank ?"), SSFrame1);
    lblGetDatabase->setObjectName(QStringLiteral("lblGetDatabase"));
    QFont bold = lblGetDatabase->font();
    bold.setBold(true);
    lblGetDatabase->setFont(bold);
    dbLayout->addWidget(lblGetDatabase);
    dbLayout->addWidget(wrappedLabel(QStringLiteral("Label1"),
                                     QStringLiteral("Datenbank auswählen oder Pfad der neue Datenbank eingeben."),
                                     SSFrame1));
    auto *pathRow = new QHBoxLayout;
    edtDatabase = new QLineEdit(SSFrame1);
    edtDatabase->setObjectName(QStringLiteral("edtDatabase"));
    pathRow->addWidget(edtDatabase, 1);
    cmdSelDatabase = new QToolButton(SSFrame1);
    cmdSelDatabase->setObjectName(QStringLiteral("cmdSelDatabase"));
    cmdSelDatabase->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    pathRow->addWidget(cmdSelDatabase);
    dbLayout->addLayout(pathRow);
    dbLayout->addStretch(1);
    SSTab1->addTab(SSFrame1, QStringLiteral("Datenbank"));

    // Tab "Generieren": the number of races of a new file.
    auto *genPage = new QWidget;
    auto *genLayout = new QVBoxLayout(genPage);
    auto *fraMaxLaufErf = new QGroupBox(QStringLiteral("Anzahl der Läufe"), genPage);
    fraMaxLaufErf->setObjectName(QStringLiteral("fraMaxLaufErf"));
    auto *fraLayout = new QVBoxLayout(fraMaxLaufErf);
    fraLayout->addWidget(wrappedLabel(
        QStringLiteral("lblMaxLaufErf"),
        QStringLiteral("Maximale Anzahl der Läufe, die mit der Datenbank verwaltet werden sollen, eingeben und den "
                       "Button \"Datenbank erstellen\" klicken. "),
        fraMaxLaufErf));
    auto *countRow = new QHBoxLayout;
    edtMaxLaufErf = new QLineEdit(fraMaxLaufErf);
    edtMaxLaufErf->setObjectName(QStringLiteral("edtMaxLaufErf"));
    edtMaxLaufErf->setMaximumWidth(80);
    countRow->addWidget(edtMaxLaufErf);
    cmdGenDatabase = new QPushButton(QStringLiteral("Datenbank erstellen"), fraMaxLaufErf);
    cmdGenDatabase->setObjectName(QStringLiteral("cmdGenDatabase"));
    cmdGenDatabase->setAutoDefault(false);
    countRow->addWidget(cmdGenDatabase);
    countRow->addStretch(1);
    fraLayout->addLayout(countRow);
    genLayout->addWidget(fraMaxLaufErf);
    genLayout->addStretch(1);
    SSTab1->addTab(genPage, QStringLiteral("Generieren"));
    layout->addWidget(SSTab1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("&Fertig"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);

    resize(520, 420);

    // Form_Load
    edtDatabase->setText(GetSetting(QStringLiteral("LastUser"), QStringLiteral("Datenbank"), QString()));
    edtMaxLaufErf->setText(GetSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QStringLiteral("3")));

    connect(cmdSelDatabase, &QToolButton::clicked, this, &frmGetDatabase::cmdSelDatabase_Click);
    connect(cmdGenDatabase, &QPushButton::clicked, this, &frmGetDatabase::cmdGenDatabase_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmGetDatabase::cmdOK_Click);
}

void frmGetDatabase::cmdSelDatabase_Click() {
    try {
        edtDatabase->setText(ChooseDatabaseFile(edtDatabase->text()));
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("cmdSelDatabase_Click"));
    }
}

void frmGetDatabase::cmdGenDatabase_Click() {
    // Whatever fails is reported here: the dialog stays open with what was typed.
    try {
        const QString path = DatabasePathOrDefault(edtDatabase->text());
        if (path != edtDatabase->text()) {
            edtDatabase->setText(path);
            edtDatabase->repaint();
        }
        GenerateDatabase(edtDatabase->text(), edtMaxLaufErf->text());
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("cmdGenDatabase_Click"));
    }
}

void frmGetDatabase::cmdOK_Click() {
    try {
        StoreDatabaseChoice(edtDatabase->text(), edtMaxLaufErf->text());
    } catch (const AppError &error) {
        // Not stored: the dialog stays open, so that the choice is not taken as made.
        ShowError(error, QString(), QStringLiteral("cmdOK_Click"));
        return;
    }
    accept();
}

bool ShowDatabaseDialog(QWidget *owner) {
    frmGetDatabase dialog(owner ? owner : QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarnis
