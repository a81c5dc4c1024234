#include "core/services/forms/frmShowError.h"

#include "core/services/Help.h"
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "platform/qt/CopyableText.h"
#include "platform/qt/DisplayText.h"
#include "platform/settings/Settings.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tarnis {

namespace {

QFont sansSerif(bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(9.75);
    font.setBold(bold);
    return font;
}

QGroupBox *band(QWidget *parent, const QString &title, int heightTwips, QVBoxLayout *into) {
    auto *box = new QGroupBox(title, parent);
    box->setFixedHeight(twipsToPixels(parent, heightTwips));
    into->addWidget(box);
    return box;
}

QLabel *bandLabel(QGroupBox *box, const QString &name) {
    auto *label = new QLabel(box);
    label->setObjectName(name);
    label->setWordWrap(true);
    // Texts from data (a result line, a file name) never render as mark-up.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QVBoxLayout(box);
    // the bands are low: the caption takes most of their margin
    layout->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(label);
    return label;
}

}  // namespace

frmShowError::frmShowError(const ErrorReport &report) : QDialog(nullptr), report_(report) {
    setObjectName(QStringLiteral("frmShowError"));
    setWindowTitle(kAppTitle);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(this, 4545), twipsToPixels(this, 5205));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *bands = new QVBoxLayout(this);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    fraInfo = band(this, QStringLiteral("Information"), 735, bands);
    fraInfo->setObjectName(QStringLiteral("fraInfo"));
    auto *info = new QHBoxLayout(fraInfo);
    info->setContentsMargins(6, 0, 6, 0);
    Picture1 = new QLabel(fraInfo);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(24, 24);
    Picture1->setPixmap(programIcon().pixmap(24, 24));
    edtInfo = new QLineEdit(fraInfo);
    edtInfo->setObjectName(QStringLiteral("edtInfo"));
    edtInfo->setReadOnly(true);
    edtInfo->setFrame(false);
    edtInfo->setFocusPolicy(Qt::NoFocus);
    info->addWidget(Picture1);
    info->addWidget(edtInfo, 1);

    lblFunction = bandLabel(band(this, QStringLiteral("Fehler In Funktion"), 555, bands),
                            QStringLiteral("lblFunction"));
    lblFunction->setFont(sansSerif(true));
    // The few spare pixels of the window go to this lowest band, so that the bold
    // name keeps its underscores.
    lblFunction->parentWidget()->setMinimumHeight(twipsToPixels(this, 555));
    lblFunction->parentWidget()->setMaximumHeight(QWIDGETSIZE_MAX);
    QGroupBox *fraError = band(this, QStringLiteral("Fehlerbeschreibung"), 1890, bands);
    fraError->setObjectName(QStringLiteral("fraError"));
    lblError = bandLabel(fraError, QStringLiteral("lblError"));
    lblZusatzText = bandLabel(band(this, QStringLiteral("Zusatzinformationen"), 1185, bands),
                              QStringLiteral("lblZusatzText"));

    // Selectable before the tab order is set, which puts them after the buttons; with
    // nothing selected Ctrl+C copies the report as "speichern" writes it.
    makeTextCopyable(this, {lblFunction, lblError, lblZusatzText},
                     [this] { return displayText(errorReportText(report_)); });

    QGroupBox *ssfControl = band(this, QString(), 735, bands);
    ssfControl->setObjectName(QStringLiteral("ssfControl"));
    auto *buttons = new QHBoxLayout(ssfControl);
    cmdEnde = new QPushButton(QStringLiteral("&beenden"), ssfControl);
    cmdEnde->setObjectName(QStringLiteral("cmdEnde"));
    Command1 = new QPushButton(QStringLiteral("&speichern"), ssfControl);
    Command1->setObjectName(QStringLiteral("Command1"));
    cmdWeiter = new QPushButton(QStringLiteral("&weiter"), ssfControl);
    cmdWeiter->setObjectName(QStringLiteral("cmdWeiter"));
    for (QPushButton *b : {cmdEnde, Command1, cmdWeiter}) {
        b->setFont(sansSerif(false));
        buttons->addWidget(b);
    }
    setTabOrder(cmdWeiter, cmdEnde);
    setTabOrder(cmdEnde, Command1);
    // Return goes on wherever the focus is, also on a text being copied: only a click
    // on "&beenden" (or Alt+B) ends the program.
    cmdWeiter->setDefault(true);
    cmdEnde->setAutoDefault(false);
    Command1->setAutoDefault(false);

    // What the error was is fixed when the dialog is made; later errors get a new dialog.
    lblError->setText(displayText(errorText(report.error)));
    lblZusatzText->setText(displayText(report.hint));
    lblFunction->setText(displayText(report.procedure));

    connect(cmdWeiter, &QPushButton::clicked, this, [this] {
        choice_ = ErrorChoice::Continue;
        accept();
    });
    connect(cmdEnde, &QPushButton::clicked, this, [this] {
        choice_ = ErrorChoice::EndProgram;
        accept();
    });
    connect(Command1, &QPushButton::clicked, this, [this] { SaveErrorReport(report_); });
}

void frmShowError::fitTexts() {
    layout()->activate();  // gives the labels their designed widths and heights
    int extra = 0;
    for (QLabel *label : {lblError, lblZusatzText}) {
        const int missing = label->heightForWidth(label->width()) - label->height();
        if (missing <= 0) continue;
        QWidget *band = label->parentWidget();
        band->setFixedHeight(band->height() + missing);
        extra += missing;
    }
    if (extra == 0) return;
    int height = this->height() + extra;
    if (const QScreen *screen = this->screen()) height = std::min(height, screen->availableGeometry().height());
    setFixedSize(width(), height);
    layout()->activate();
}

void frmShowError::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    activated();
    // Measured once the style has set the fonts and the bands their margins.
    fitTexts();
    cmdWeiter->setFocus();
}

void frmShowError::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activated();
}

void frmShowError::activated() {
    try {
        // The failing operation may have left the hourglass on.
        SetBusyPointer(false);
        ShowFormInfo(this);
        ApplyFormStyle(this);
    } catch (...) {
        // the dialog must open whatever its decoration does
    }
}

void ShowFormInfo(QWidget *form) {
    if (!form) return;
    try {
        form->repaint();
        const QString tag = form->property("tag").toString();
        if (auto *picture = form->findChild<QLabel *>(QStringLiteral("Picture1"))) picture->setToolTip(tag);
        if (auto *frame = form->findChild<QWidget *>(QStringLiteral("fraInfo")))
            frame->setFixedWidth(form->width());
        if (auto *info = form->findChild<QLineEdit *>(QStringLiteral("edtInfo"))) {
            QPalette pal = info->palette();
            pal.setColor(QPalette::Base, Qt::white);
            info->setPalette(pal);
            info->setText(GetHelpText(tag));
            info->repaint();
        }
    } catch (...) {
        // the info band is decoration only
    }
}

}  // namespace tarnis
