#include "prefs/forms/PageHtml.h"

#include "platform/ui/Ui.h"
#include "prefs/FieldRules.h"
#include "prefs/forms/PrefsWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tarnis::prefs {

PageHtml::PageHtml(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageHTMLListe"));
    auto *outer = new QGridLayout(this);
    QGridLayout *page = nullptr;
    QGroupBox *main = framed(QStringLiteral("Einstellungen für HTML-Listen"), page, this);
    outer->addWidget(main, 0, 0);
    outer->setRowStretch(1, 1);
    QGridLayout *g = nullptr;

    QGroupBox *who = framed(QStringLiteral("Auswahl der Teilnehmer"), g, main);
    selGroup_ = new QButtonGroup(this);
    const char *options[3] = {"Alle Teilnehmer", "nur mit Endwertung", "nur mit Zwischenwertung"};
    for (int i = 0; i < 3; ++i) {
        ssoSelTN_[i] = new QRadioButton(QString::fromUtf8(options[i]), who);
        ssoSelTN_[i]->setObjectName(QStringLiteral("ssoSelTN_%1").arg(i + 1));
        selGroup_->addButton(ssoSelTN_[i]);
        g->addWidget(ssoSelTN_[i], i, 0);
    }
    page->addWidget(who, 0, 0, 2, 1);

    const char *positions[3] = {"links Position:", "mittlere Position:", "rechte Position:"};
    for (int part = 0; part < 2; ++part) {
        QGroupBox *box = framed(part == 0 ? QStringLiteral("Kopfzeile") : QStringLiteral("Fußzeile"), g, main);
        for (int i = 0; i < 3; ++i) {
            QLineEdit *e = namedEdit(QStringLiteral("%1_%2").arg(part == 0 ? "edtHeader" : "edtFooter").arg(i + 1), box);
            (part == 0 ? edtHeader_ : edtFooter_)[i] = e;
            g->addWidget(new QLabel(QString::fromUtf8(positions[i]), box), i, 0);
            g->addWidget(e, i, 1);
        }
        page->addWidget(box, part, 1);
    }

    const struct {
        int index;
        const char *label;
    } colours[4] = {{111, "Dokument:"}, {112, "Tabellenüberschrift:"}, {113, "Tabelle:"}, {114, "normale Textstellen:"}};
    QGridLayout *bg = nullptr, *fg = nullptr;
    QGroupBox *back = framed(QStringLiteral("Hintergrundfarben"), bg, main);
    QGroupBox *fore = framed(QStringLiteral("Textfarben"), fg, main);
    for (int i = 0; i < 4; ++i) {
        QGridLayout *target = i < 3 ? bg : fg;
        QWidget *box = i < 3 ? back : fore;
        const int row = i < 3 ? i : 0;
        swatch_[i] = new ColourSwatch(QStringLiteral("shaFarbe_%1").arg(colours[i].index), box);
        auto *button = new QPushButton(QStringLiteral("..."), box);
        button->setObjectName(QStringLiteral("cmdSelectColor_%1").arg(colours[i].index));
        button->setMaximumWidth(32);
        target->addWidget(new QLabel(QString::fromUtf8(colours[i].label), box), row, 0);
        target->addWidget(swatch_[i], row, 1);
        target->addWidget(button, row, 2);
        const int index = colours[i].index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmdSelectColor_Click(index); });
    }
    page->addWidget(back, 2, 0);
    page->addWidget(fore, 2, 1);

    QGroupBox *viewer = framed(QString(), g, main);
    edtHTMLAnzeiger_ = namedEdit(QStringLiteral("edtHTMLAnzeiger"), viewer);
    auto *select = new QPushButton(QStringLiteral("..."), viewer);
    select->setObjectName(QStringLiteral("cmdSelHTMLAnzeiger"));
    select->setMaximumWidth(32);
    sscHTMLAnzeiger_ = new QCheckBox(QStringLiteral("HTML-Datei nach Erstellung  anzeigen mit ..."), viewer);
    sscHTMLAnzeiger_->setObjectName(QStringLiteral("sscHTMLAnzeiger"));
    g->addWidget(sscHTMLAnzeiger_, 0, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("HTML Anzeigeprogram:"), viewer), 1, 0);
    g->addWidget(edtHTMLAnzeiger_, 1, 1);
    g->addWidget(select, 1, 2);
    page->addWidget(viewer, 3, 0, 1, 2);
    connect(select, &QPushButton::clicked, this, [this] { cmdSelHTMLAnzeiger_Click(); });
}

void PageHtml::load(const HtmlPage &p) {
    // A store may leave all three off: the group lets go while they are set.
    selGroup_->setExclusive(false);
    for (int i = 0; i < 3; ++i) ssoSelTN_[i]->setChecked(p.selTN[i]);
    selGroup_->setExclusive(true);
    for (int i = 0; i < 3; ++i) {
        edtHeader_[i]->setText(p.header[i]);
        edtFooter_[i]->setText(p.footer[i]);
    }
    swatch_[0]->setColour(p.dokument);
    swatch_[1]->setColour(p.tabellenheader);
    swatch_[2]->setColour(p.tabelle);
    swatch_[3]->setColour(p.text);
    edtHTMLAnzeiger_->setText(p.anzeigeprog);
    sscHTMLAnzeiger_->setChecked(p.anzeigen);
}

void PageHtml::read(HtmlPage &p) const {
    for (int i = 0; i < 3; ++i) {
        p.selTN[i] = ssoSelTN_[i]->isChecked();
        p.header[i] = edtHeader_[i]->text();
        p.footer[i] = edtFooter_[i]->text();
    }
    p.dokument = swatch_[0]->colour();
    p.tabellenheader = swatch_[1]->colour();
    p.tabelle = swatch_[2]->colour();
    p.text = swatch_[3]->colour();
    p.anzeigeprog = edtHTMLAnzeiger_->text();
    p.anzeigen = sscHTMLAnzeiger_->isChecked();
}

void PageHtml::cmdSelHTMLAnzeiger_Click() {
    const QString chosen = ui().openFileName(
        {QString(), QStringLiteral("Programm (*)"), edtHTMLAnzeiger_->text(), QString()});
    if (!chosen.isEmpty()) edtHTMLAnzeiger_->setText(chosen);
}

void PageHtml::cmdSelectColor_Click(int index) {
    if (index < 111 || index > 114) return;
    pickColour(swatch_[index - 111]);
    emit colourChosen();
}

PagePresse::PagePresse(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PagePresseliste"));
    auto *page = new QGridLayout(this);
    edtPresseAnzTn_ = new SpinField(QStringLiteral("edtPresseAnzTn"), this);
    edtPresseAnzTn_->edit()->setMaximumWidth(60);
    page->addWidget(edtPresseAnzTn_, 0, 0);
    page->addWidget(new QLabel(QStringLiteral("Teilnehmer in der Liste"), this), 0, 1);
    page->setColumnStretch(2, 1);
    page->setRowStretch(1, 1);
    connect(edtPresseAnzTn_, &SpinField::downClicked, this, [this] { UpDown1_DownClick(); });
    connect(edtPresseAnzTn_, &SpinField::upClicked, this, [this] { UpDown1_UpClick(); });
    connect(edtPresseAnzTn_->edit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        // Refused as the line-count field refuses a count too large: told, then emptied.
        if (!pressCountTooLarge(text)) return;
        ui().message(QStringLiteral("Wert für Teilnehmer in der Liste zu groß !!!"), MsgButtons::Ok, MsgIcon::Critical);
        edtPresseAnzTn_->edit()->setText(QString());
    });
}

void PagePresse::load(const QString &count) { edtPresseAnzTn_->edit()->setText(count); }

QString PagePresse::read() const { return edtPresseAnzTn_->edit()->text(); }

void PagePresse::UpDown1_DownClick() { edtPresseAnzTn_->edit()->setText(pressSpinDown(read())); }

void PagePresse::UpDown1_UpClick() { edtPresseAnzTn_->edit()->setText(pressSpinUp(read())); }

}  // namespace tarnis::prefs
