#include "prefs/forms/PageLists.h"

#include "prefs/forms/PrefsWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace tarnis::prefs {

namespace {

QToolButton *pictureButton(const QString &name, QStyle::StandardPixmap pixmap, QWidget *parent) {
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(pixmap));
    return b;
}

}  // namespace

PageLists::PageLists(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageListendruck"));
    auto *page = new QGridLayout(this);
    QGridLayout *g = nullptr;

    QGroupBox *formats = framed(QStringLiteral("Format für den Listenausdruck"), g, this);
    edtFormatZwischen_ = namedEdit(QStringLiteral("edtFormatZwischen"), formats);
    edtFormatEndwertung_ = namedEdit(QStringLiteral("edtFormatEndwertung"), formats);
    QToolButton *defZw = pictureButton(QStringLiteral("cmdDefaultZwischen"), QStyle::SP_BrowserReload, formats);
    QToolButton *defEw = pictureButton(QStringLiteral("cmdDefaultEndwertung"), QStyle::SP_BrowserReload, formats);
    g->addWidget(new QLabel(QStringLiteral("Zwischenwertung:"), formats), 0, 0);
    g->addWidget(edtFormatZwischen_, 0, 1);
    g->addWidget(defZw, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Endwertung:"), formats), 1, 0);
    g->addWidget(edtFormatEndwertung_, 1, 1);
    g->addWidget(defEw, 1, 2);
    page->addWidget(formats, 0, 0, 1, 2);

    QGroupBox *minimum = framed(QStringLiteral("Mindestzahl von Wertungen für den Ausdruck"), g, this);
    edtMinWTforPrinting_ = namedEdit(QStringLiteral("edtMinWTforPrinting"), minimum);
    edtMinWTforPrinting_->setMaximumWidth(60);
    g->addWidget(new QLabel(QStringLiteral("Wieviele Wertungen muß der Teilnehmer haben ? "), minimum), 0, 0);
    g->addWidget(edtMinWTforPrinting_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("0 = Alles drucken"), minimum), 1, 0);
    page->addWidget(minimum, 1, 0);

    QGroupBox *grid = framed(QStringLiteral("Ausdruck mit Gitterlienien ?"), g, this);
    optGitterNein_ = new QRadioButton(QStringLiteral("Nein"), grid);
    optGitterNein_->setObjectName(QStringLiteral("optGitterNein"));
    optGitterJa_ = new QRadioButton(QStringLiteral("Ja"), grid);
    optGitterJa_->setObjectName(QStringLiteral("optGitterJa"));
    g->addWidget(optGitterNein_, 0, 0);
    g->addWidget(optGitterJa_, 0, 1);
    page->addWidget(grid, 1, 1);

    QGroupBox *fonts = framed(QStringLiteral("Schriftarten"), g, this);
    const char *labels[5] = {"Kopf- bzw. Fußzeile:", "Altersklasse:", "Gruppenüberschrift:",
                             "Listenfont Zwischenwertung:", "Listenfont Endwertung:"};
    for (int i = 0; i < 5; ++i) {
        const int index = 100 + i;
        fontName_[i] = namedEdit(QStringLiteral("edtFontName_%1").arg(index), fonts);
        fontSize_[i] = namedEdit(QStringLiteral("edtGroesse_%1").arg(index), fonts);
        fontSize_[i]->setMaximumWidth(50);
        QToolButton *b = pictureButton(QStringLiteral("cmdSelect_%1").arg(index), QStyle::SP_FileDialogContentsView, fonts);
        g->addWidget(new QLabel(QString::fromUtf8(labels[i]), fonts), i, 0);
        g->addWidget(fontName_[i], i, 1);
        g->addWidget(fontSize_[i], i, 2);
        g->addWidget(b, i, 3);
        connect(b, &QToolButton::clicked, this, [this, index] { cmdSelect_Click(index); });
        connect(fontName_[i], &QLineEdit::textChanged, this, &PageLists::fontFieldEdited);
        connect(fontSize_[i], &QLineEdit::textChanged, this, &PageLists::fontFieldEdited);
    }
    page->addWidget(fonts, 2, 0);

    QGroupBox *colours = framed(QStringLiteral("Farben"), g, this);
    shape1_ = new ColourSwatch(QStringLiteral("Shape1"), colours);
    shape2_ = new ColourSwatch(QStringLiteral("Shape2"), colours);
    QToolButton *c5 = pictureButton(QStringLiteral("cmdSelect_5"), QStyle::SP_DialogResetButton, colours);
    QToolButton *c6 = pictureButton(QStringLiteral("cmdSelect_6"), QStyle::SP_DialogResetButton, colours);
    g->addWidget(new QLabel(QStringLiteral("Altersklasse:"), colours), 0, 0);
    g->addWidget(shape1_, 0, 1);
    g->addWidget(c5, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Gruppenüberschrift:"), colours), 1, 0);
    g->addWidget(shape2_, 1, 1);
    g->addWidget(c6, 1, 2);
    page->addWidget(colours, 2, 1);

    QGroupBox *texts = framed(QStringLiteral("Text in der Fuß- bzw Kopfzeile"), g, this);
    edtKopfzeile_ = namedEdit(QStringLiteral("edtKopfzeile"), texts);
    edtFusszeile_ = namedEdit(QStringLiteral("edtFußzeile"), texts);
    g->addWidget(new QLabel(QStringLiteral("Kopfzeile:"), texts), 0, 0);
    g->addWidget(edtKopfzeile_, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Fußzeile:"), texts), 1, 0);
    g->addWidget(edtFusszeile_, 1, 1);
    page->addWidget(texts, 3, 0, 1, 2);
    page->setRowStretch(4, 1);

    connect(defZw, &QToolButton::clicked, this, [this] { cmdDefaultZwischen_Click(); });
    connect(defEw, &QToolButton::clicked, this, [this] { cmdDefaultEndwertung_Click(); });
    connect(c5, &QToolButton::clicked, this, [this] { cmdSelect_Click(5); });
    connect(c6, &QToolButton::clicked, this, [this] { cmdSelect_Click(6); });
}

void PageLists::load(const ListPage &p) {
    for (int i = 0; i < 5; ++i) {
        fontName_[i]->setText(p.fonts[i].name);
        fontSize_[i]->setText(p.fonts[i].size);
    }
    shape1_->setColour(p.colorGruppe);
    shape2_->setColour(p.colorListenkopf);
    edtKopfzeile_->setText(p.kopfzeile);
    edtFusszeile_->setText(p.fusszeile);
    edtMinWTforPrinting_->setText(p.minWTforPrinting);
    edtFormatEndwertung_->setText(p.formatEndwertung);
    edtFormatZwischen_->setText(p.formatZwischen);
    (p.gitterJa ? optGitterJa_ : optGitterNein_)->setChecked(true);
}

void PageLists::read(ListPage &p) const {
    for (int i = 0; i < 5; ++i) p.fonts[i] = {fontName_[i]->text(), fontSize_[i]->text()};
    p.colorGruppe = shape1_->colour();
    p.colorListenkopf = shape2_->colour();
    p.kopfzeile = edtKopfzeile_->text();
    p.fusszeile = edtFusszeile_->text();
    p.minWTforPrinting = edtMinWTforPrinting_->text();
    p.gitterJa = optGitterJa_->isChecked();
    p.formatZwischen = edtFormatZwischen_->text();
    p.formatEndwertung = edtFormatEndwertung_->text();
}

void PageLists::cmdSelect_Click(int index) {
    if (index == 5) pickColour(shape1_);
    else if (index == 6) pickColour(shape2_);
    else if (index >= 100 && index <= 104) pickFont(fontName_[index - 100], fontSize_[index - 100], nullptr, true);
}

void PageLists::cmdDefaultEndwertung_Click() { edtFormatEndwertung_->setText(kDefaultFormatEndwertung); }

void PageLists::cmdDefaultZwischen_Click() { edtFormatZwischen_->setText(kDefaultFormatZwischen); }

}  // namespace tarnis::prefs
