#include "prefs/forms/PageGrid.h"

#include "core/services/GridStyle.h"
#include "core/services/forms/GridStyleView.h"
#include "platform/text/TextRules.h"
#include "prefs/FieldRules.h"
#include "prefs/forms/PrefsWidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace tarnis::prefs {

PageGrid::PageGrid(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageAnzeigeBildschirm"));
    auto *page = new QGridLayout(this);
    QGridLayout *g = nullptr;

    const char *captions[2] = {"Überschrift", "Text für Listenanzeige"};
    for (int i = 0; i < 2; ++i) {
        const int index = 15 + i;
        QGroupBox *box = framed(QString::fromUtf8(captions[i]), g, this);
        fontName_[i] = namedEdit(QStringLiteral("edtFontName_%1").arg(index), box);
        fontSize_[i] = namedEdit(QStringLiteral("edtGroesse_%1").arg(index), box);
        fontBold_[i] = namedEdit(QStringLiteral("edtFontBold_%1").arg(index), box);
        fontBold_[i]->setReadOnly(true);
        fontSize_[i]->setMaximumWidth(50);
        fontBold_[i]->setMaximumWidth(50);
        auto *button = new QPushButton(QStringLiteral("..."), box);
        button->setObjectName(QStringLiteral("cmdSelectFont_%1").arg(index));
        button->setMaximumWidth(32);
        g->addWidget(new QLabel(QStringLiteral("Font:"), box), 0, 0);
        g->addWidget(fontName_[i], 0, 1);
        g->addWidget(fontSize_[i], 0, 2);
        g->addWidget(fontBold_[i], 0, 3);
        g->addWidget(button, 0, 4);
        connect(button, &QPushButton::clicked, this, [this, index] { cmdSelectFont_Click(index); });
        connect(fontName_[i], &QLineEdit::textChanged, this, &PageGrid::fontFieldEdited);
        connect(fontSize_[i], &QLineEdit::textChanged, this, &PageGrid::fontFieldEdited);
        if (i == 0) {
            cboFont3D_ = new QComboBox(box);
            cboFont3D_->setObjectName(QStringLiteral("cboFont3D"));
            cboFont3D_->setPlaceholderText(QStringLiteral("Bitte Modus auswählen !"));
            g->addWidget(new QLabel(QStringLiteral("Schrift 3D:"), box), 1, 0);
            g->addWidget(cboFont3D_, 1, 1, 1, 4);
            connect(cboFont3D_, &QComboBox::activated, this, [this](int row) { cboFont3D_Click(row); });
        }
        page->addWidget(box, i, 0);
    }

    QGroupBox *colours = framed(QStringLiteral("Hintergrundfarben"), g, this);
    even_ = new ColourSwatch(QStringLiteral("shaFarbe_17"), colours);
    odd_ = new ColourSwatch(QStringLiteral("shaFarbe_16"), colours);
    whole_ = new ColourSwatch(QStringLiteral("shaFarbe_15"), colours);
    const char *labels[3] = {"Text (gerade):", "Text (ungerade):", "Gesamt:"};
    ColourSwatch *swatches[3] = {even_, odd_, whole_};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(QStringLiteral("..."), colours);
        button->setObjectName(QStringLiteral("cmdSelect_%1").arg(i));
        button->setMaximumWidth(32);
        g->addWidget(new QLabel(QString::fromUtf8(labels[i]), colours), i, 0);
        g->addWidget(swatches[i], i, 1);
        g->addWidget(button, i, 2);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdSelect_Click(i); });
    }
    page->addWidget(colours, 2, 0);

    QGroupBox *look = framed(QStringLiteral("Mit diesem Dialogfeld kann das Aussehen der Gitter beeinflußt werden."), g, this);
    auto *title = new QLabel(QStringLiteral("Überschrift"), look);
    title->setAlignment(Qt::AlignCenter);
    title->setFrameShape(QFrame::Panel);
    dbgAnzeige_ = new QTableView(look);
    dbgAnzeige_->setObjectName(QStringLiteral("dbgAnzeige"));
    dbgAnzeige_->verticalHeader()->hide();
    dbgAnzeige_->horizontalHeader()->setStretchLastSection(true);
    dbgAnzeige_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_ = new QStandardItemModel(0, 1, this);
    preview_->setHorizontalHeaderLabels({QStringLiteral("Spaltenüberschrift")});
    dbgAnzeige_->setModel(preview_);
    g->addWidget(title, 0, 0);
    g->addWidget(dbgAnzeige_, 1, 0);
    page->addWidget(look, 3, 0);

    QGroupBox *races = framed(QStringLiteral("Spaltenüberschriften"), g, this);
    dbgCaptions_ = new QTableView(races);
    dbgCaptions_->setObjectName(QStringLiteral("dbgCaptions"));
    dbgCaptions_->verticalHeader()->hide();
    dbgCaptions_->horizontalHeader()->setStretchLastSection(true);
    captions_ = new QStandardItemModel(0, 2, this);
    captions_->setHorizontalHeaderLabels({QStringLiteral("cnt"), QStringLiteral("txt")});
    dbgCaptions_->setModel(captions_);
    auto *lblInfo = new QLabel(QStringLiteral("Bitte starten Sie nach einer Änderung das Lrv. Tarnis neu, damit die "
                                              "Spaltenüberschriften richtig gesetzt werden!!!"),
                               races);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    g->addWidget(dbgCaptions_, 0, 0);
    g->addWidget(lblInfo, 1, 0);
    page->addWidget(races, 0, 1, 4, 1);
    page->setColumnStretch(1, 1);
}

void PageGrid::load(const GridPage &p) {
    fontName_[1]->setText(p.cellFont.name);
    fontSize_[1]->setText(p.cellFont.size);
    fontName_[0]->setText(p.headFont.name);
    fontSize_[0]->setText(p.headFont.size);
    fontBold_[0]->setText(p.headFontBold);
    fontBold_[1]->setText(p.fontBold);
    even_->setColour(p.backColorEven);
    odd_->setColour(p.backColorOdd);
    whole_->setColour(p.backColor);

    cboFont3D_->clear();
    const char *styles[5] = {"ssFont3DNone", "ssFont3DRaisedLight", "ssFont3DRaisedHeavy", "ssFont3DInsetLight",
                             "ssFont3DInsetHeavy"};
    for (int i = 0; i < 5; ++i) cboFont3D_->addItem(QString::fromLatin1(styles[i]), i);
    cboFont3D_->setCurrentIndex(-1);  // the prompt, whatever style is stored

    headFont3D_ = p.headFont3D;
    try {
        SetGridStyle(*dbgAnzeige_);
    } catch (...) {
        applyPreviewStyle();  // a stored look that cannot be read: the page's own values
    }
    dbgAnzeige_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    preview_->removeRows(0, preview_->rowCount());
    for (int n = 1; n <= 4; ++n) {
        auto *item = new QStandardItem(QStringLiteral("Das wird ist die %1. Zeile").arg(n));
        item->setTextAlignment(Qt::AlignCenter);
        preview_->appendRow(item);
    }
    try {
        SetGridStyle(*dbgCaptions_);
    } catch (...) {
    }
    captions_->removeRows(0, captions_->rowCount());
    for (int n = 1; n <= kCaptionRows; ++n) {
        auto *number = new QStandardItem(QString::number(n));
        number->setEditable(false);  // each row's number names its key
        captions_->appendRow({number, new QStandardItem(p.captions[n - 1])});
    }
}

void PageGrid::read(GridPage &p) const {
    p.headFont = {fontName_[0]->text(), fontSize_[0]->text()};
    p.cellFont = {fontName_[1]->text(), fontSize_[1]->text()};
    p.headFontBold = fontBold_[0]->text();
    p.fontBold = fontBold_[1]->text();
    p.backColorEven = even_->colour();
    p.backColorOdd = odd_->colour();
    p.backColor = whole_->colour();
    p.headFont3D = headFont3D_;
    for (int n = 0; n < kCaptionRows && n < captions_->rowCount(); ++n)
        p.captions[n] = captions_->item(n, 1)->text();
}

void PageGrid::cmdSelect_Click(int index) {
    ColourSwatch *target = index == 0 ? even_ : index == 1 ? odd_ : index == 2 ? whole_ : nullptr;
    if (target && pickColour(target)) applyPreviewStyle();
}

void PageGrid::cmdSelectFont_Click(int index) {
    if (index != 15 && index != 16) return;
    const int i = index - 15;
    QString bold = fontBold_[i]->text();
    if (!pickFont(fontName_[i], fontSize_[i], &bold)) return;
    fontBold_[i]->setText(bold);
    applyPreviewStyle();
}

void PageGrid::cboFont3D_Click(int row) {
    if (row < 0) return;
    headFont3D_ = cboFont3D_->itemData(row).toInt();
    applyPreviewStyle();
}

void PageGrid::applyPreviewStyle() {
    GridStyle style;
    try {
        style = ReadGridStyle();  // the text colours, which the page does not edit
    } catch (...) {
        style = GridStyle{};
    }
    style.headFontName = fontName_[0]->text();
    style.headFontSize = fontSizeNumber(fontSize_[0]->text());
    style.fontName = fontName_[1]->text();
    style.fontSize = fontSizeNumber(fontSize_[1]->text());
    style.head3D = headFont3D_;
    style.backColorEven = quint32(even_->colour());
    style.backColorOdd = quint32(odd_->colour());
    style.backColor = quint32(whole_->colour());
    ApplyGridStyle(*dbgAnzeige_, style);
    QFont head = dbgAnzeige_->horizontalHeader()->font();
    head.setBold(textrules::readBool(fontBold_[0]->text(), false));
    dbgAnzeige_->horizontalHeader()->setFont(head);
    QFont cells = dbgAnzeige_->font();
    cells.setBold(textrules::readBool(fontBold_[1]->text(), false));
    dbgAnzeige_->setFont(cells);
}

}  // namespace tarnis::prefs
