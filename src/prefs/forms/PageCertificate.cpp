#include "prefs/forms/PageCertificate.h"

#include "platform/qt/PreviewWidget.h"
#include "platform/ui/Ui.h"
#include "prefs/FieldRules.h"
#include "prefs/forms/PrefsWidgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>

namespace tarnis::prefs {

PageCertificate::PageCertificate(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageUrkundendruck"));
    auto *page = new QGridLayout(this);
    QGridLayout *g = nullptr;

    QGroupBox *count = framed(QStringLiteral("Urkunde"), g, this);
    edtUrkunde_ = namedEdit(QStringLiteral("edtUrkunde"), count);
    edtUrkunde_->setText(QStringLiteral("1"));
    edtUrkunde_->setMaximumWidth(50);
    cboSelZeile_ = new QComboBox(count);
    cboSelZeile_->setObjectName(QStringLiteral("cboSelZeile"));
    g->addWidget(new QLabel(QStringLiteral("Zeilen:"), count), 0, 0);
    g->addWidget(edtUrkunde_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("max 15"), count), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Zeile für Bearbeitung"), count), 1, 0, 1, 2);
    g->addWidget(cboSelZeile_, 1, 2);
    page->addWidget(count, 0, 0);

    QGroupBox *orientation = framed(QStringLiteral("Orientierung"), g, this);
    optHochformat_ = new QRadioButton(QStringLiteral("hoch"), orientation);
    optHochformat_->setObjectName(QStringLiteral("optHochformat"));
    optQuerformat_ = new QRadioButton(QStringLiteral("quer"), orientation);
    optQuerformat_->setObjectName(QStringLiteral("optQuerformat"));
    orientation_ = new QButtonGroup(this);
    orientation_->addButton(optHochformat_);
    orientation_->addButton(optQuerformat_);
    g->addWidget(optHochformat_, 0, 0);
    g->addWidget(optQuerformat_, 1, 0);
    page->addWidget(orientation, 0, 1);

    frames_ = new QStackedWidget(this);
    frames_->setObjectName(QStringLiteral("fraZeile"));
    for (int n = 0; n < kCertificateLines; ++n) {
        Line &l = lines_[n];
        QGroupBox *frame = framed(QStringLiteral("Zeile %1").arg(n + 1), g, frames_);
        frame->setObjectName(QStringLiteral("fraZeile_%1").arg(n));
        l.cboInhalt = new QComboBox(frame);
        l.cboInhalt->setObjectName(QStringLiteral("cboInhalt_%1").arg(n));
        l.cboInhalt->setEditable(true);
        l.cboInhalt->setInsertPolicy(QComboBox::NoInsert);
        l.cboInhalt->setCompleter(nullptr);
        l.edtText = namedEdit(QStringLiteral("edtText_%1").arg(n), frame);
        l.edtFontName = namedEdit(QStringLiteral("edtFontName_%1").arg(n), frame);
        l.edtGroesse = namedEdit(QStringLiteral("edtGroesse_%1").arg(n), frame);
        l.edtGroesse->setMaximumWidth(50);
        auto *font = new QPushButton(QStringLiteral("..."), frame);
        font->setObjectName(QStringLiteral("cmdSelectFont_%1").arg(n));
        font->setMaximumWidth(32);
        l.edtXPos = new SpinField(QStringLiteral("edtXPos_%1").arg(n), frame);
        l.edtYPos = new SpinField(QStringLiteral("edtYPos_%1").arg(n), frame);
        l.shaFarbe = new ColourSwatch(QStringLiteral("shaFarbe_%1").arg(n), frame);
        auto *colour = new QPushButton(QStringLiteral("..."), frame);
        colour->setObjectName(QStringLiteral("cmdSelectColor_%1").arg(n));
        colour->setMaximumWidth(32);
        g->addWidget(new QLabel(QStringLiteral("Feld der Datenbank"), frame), 0, 0);
        g->addWidget(l.cboInhalt, 0, 1, 1, 3);
        g->addWidget(new QLabel(QStringLiteral("Text:"), frame), 1, 0);
        g->addWidget(l.edtText, 1, 1, 1, 3);
        g->addWidget(new QLabel(QStringLiteral("Font:"), frame), 2, 0);
        g->addWidget(l.edtFontName, 2, 1);
        g->addWidget(l.edtGroesse, 2, 2);
        g->addWidget(font, 2, 3);
        g->addWidget(new QLabel(n == 0 ? QStringLiteral("X-Position    0 = Zentriert") : QStringLiteral("X-Position"),
                                frame), 3, 0);
        g->addWidget(l.edtXPos, 3, 1);
        g->addWidget(new QLabel(QStringLiteral("Y-Position"), frame), 4, 0);
        g->addWidget(l.edtYPos, 4, 1);
        g->addWidget(new QLabel(QStringLiteral("Farbe:"), frame), 5, 0);
        g->addWidget(l.shaFarbe, 5, 1);
        g->addWidget(colour, 5, 2);
        g->setRowStretch(6, 1);
        frames_->addWidget(frame);

        // Typing in the content combo copies its whole text; a pick copies nothing.
        connect(l.cboInhalt->lineEdit(), &QLineEdit::textEdited, this,
                [this, n] { lines_[n].edtText->setText(lines_[n].cboInhalt->currentText()); });
        for (QLineEdit *e : {l.edtText, l.edtFontName, l.edtGroesse, l.edtXPos->edit(), l.edtYPos->edit()})
            connect(e, &QLineEdit::textChanged, this, &PageCertificate::redrawNeeded);
        connect(font, &QPushButton::clicked, this, [this, n] { cmdSelectFont_Click(n); });
        connect(colour, &QPushButton::clicked, this, [this, n] { cmdSelectColor_Click(n); });
        connect(l.edtXPos, &SpinField::upClicked, this, [this, n] { positionSpin(n, true, 50); });
        connect(l.edtXPos, &SpinField::downClicked, this, [this, n] { positionSpin(n, true, -50); });
        connect(l.edtYPos, &SpinField::upClicked, this, [this, n] { positionSpin(n, false, 50); });
        connect(l.edtYPos, &SpinField::downClicked, this, [this, n] { positionSpin(n, false, -50); });
    }
    page->addWidget(frames_, 1, 0, 1, 2);

    QGroupBox *background = framed(QStringLiteral("Hintergrundbild"), g, this);
    edtBackground_ = namedEdit(QStringLiteral("edtBackground"), background);
    auto *cmdSelectName = new QToolButton(background);
    cmdSelectName->setObjectName(QStringLiteral("cmdSelectName"));
    cmdSelectName->setText(QStringLiteral("..."));
    g->addWidget(edtBackground_, 0, 0);
    g->addWidget(cmdSelectName, 0, 1);
    page->addWidget(background, 2, 0, 1, 2);

    auto *cmdPreview = new QPushButton(QStringLiteral("&Vorschau"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    auto *cmdPrint = new QPushButton(QStringLiteral("&Drucken"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    page->addWidget(cmdPreview, 3, 0);
    page->addWidget(cmdPrint, 3, 1);
    page->setRowStretch(1, 1);

    vsPrinter1_ = new print::PreviewWidget;
    vsPrinter1_->setObjectName(QStringLiteral("vsPrinter1"));
    vsPrinter1_->setZoom(55);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(vsPrinter1_);
    scroll->setAlignment(Qt::AlignCenter);
    page->addWidget(scroll, 0, 2, 4, 1);
    page->setColumnStretch(2, 1);

    connect(edtUrkunde_, &QLineEdit::textChanged, this, &PageCertificate::lineCountEdited);
    connect(cboSelZeile_, &QComboBox::activated, this, [this] { cboSelZeile_Click(); });
    connect(cmdSelectName, &QToolButton::clicked, this, [this] { cmdSelectName_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, &PageCertificate::redrawNeeded);
    connect(cmdPrint, &QPushButton::clicked, this, &PageCertificate::printRequested);
}

void PageCertificate::showLayout(const CertificatePage &p, const QStringList &kinds) {
    QSignalBlocker quiet(this);  // one drawing after the load, not one per field
    count_ = p.mUrkundenzeilen;
    edtBackground_->setText(p.background);
    orientation_->setExclusive(false);
    optHochformat_->setChecked(p.hochformat);
    optQuerformat_->setChecked(p.querformat);
    orientation_->setExclusive(true);
    for (int n = 0; n < count_ && n < kCertificateLines; ++n) {
        const CertificateLine &src = p.lines[n];
        Line &l = lines_[n];
        l.edtXPos->edit()->setText(src.xPos);
        l.edtYPos->edit()->setText(src.yPos);
        l.edtFontName->setText(src.fontName);
        l.edtGroesse->setText(src.fontSize);
        l.edtText->setText(src.text);
        l.shaFarbe->setColour(src.colour);
        l.cboInhalt->clear();
        l.cboInhalt->addItems(kinds);
        l.cboInhalt->setCurrentIndex(0);
        l.cboInhalt->setEditText(src.inhalt);
    }
    cboSelZeile_->clear();
    for (int n = 1; n <= count_; ++n) cboSelZeile_->addItem(QString::number(n));
    cboSelZeile_->setCurrentIndex(count_ > 0 ? 0 : -1);
    cboSelZeile_Click();
}

void PageCertificate::read(CertificatePage &p) const {
    p.edtUrkunde = edtUrkunde_->text();
    p.mUrkundenzeilen = count_;
    p.background = edtBackground_->text();
    p.hochformat = optHochformat_->isChecked();
    p.querformat = optQuerformat_->isChecked();
    for (int n = 0; n < kCertificateLines; ++n) {
        const Line &l = lines_[n];
        p.lines[n] = {l.edtFontName->text(), l.edtGroesse->text(), l.edtXPos->edit()->text(),
                      l.edtYPos->edit()->text(), l.cboInhalt->currentText(), l.edtText->text(),
                      l.shaFarbe->colour()};
    }
}

void PageCertificate::cboSelZeile_Click() {
    const int k = cboSelZeile_->currentText().toInt();
    if (k >= 1 && k <= kCertificateLines) frames_->setCurrentIndex(k - 1);
}

void PageCertificate::cmdSelectFont_Click(int line) {
    pickFont(lines_[line].edtFontName, lines_[line].edtGroesse);
}

void PageCertificate::cmdSelectColor_Click(int line) {
    pickColour(lines_[line].shaFarbe);
    emit redrawNeeded();
}

void PageCertificate::cmdSelectName_Click() {
    const QString chosen =
        ui().openFileName({QString(), QStringLiteral("Bilder (*.bmp)"), edtBackground_->text(), QString()});
    if (!chosen.isEmpty()) edtBackground_->setText(chosen);
    emit redrawNeeded();
}

void PageCertificate::positionSpin(int line, bool x, int delta) {
    QLineEdit *edit = x ? lines_[line].edtXPos->edit() : lines_[line].edtYPos->edit();
    edit->setText(prefs::positionSpin(edit->text(), delta));
}

}  // namespace tarnis::prefs
