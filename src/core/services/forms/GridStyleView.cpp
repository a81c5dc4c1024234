#include "core/services/forms/GridStyleView.h"

#include "core/services/forms/FormStyle.h"
#include "core/services/GridStyle.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

namespace tarnis {

namespace {

// Paints the rows in the style's even and odd colours, whatever model the grid shows.
class RowColorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QColor evenBack, oddBack, evenFore, oddFore;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool even = index.row() % 2 == 0;
        option->backgroundBrush = even ? evenBack : oddBack;
        option->palette.setColor(QPalette::Text, even ? evenFore : oddFore);
    }
};

}  // namespace

void SetGridStyle(QTableView &grid) {
    ApplyGridStyle(grid, ReadGridStyle());  // the read may raise: nothing is changed then
}

void SetGridStyle(QTableView &grid, BadSettings &bad) { ApplyGridStyle(grid, ReadGridStyle(bad)); }

void ApplyGridStyle(QTableView &grid, const GridStyle &s) {
    QFont head(s.headFontName);
    if (s.headFontSize > 0) head.setPointSizeF(s.headFontSize);
    QFont cells(s.fontName);
    if (s.fontSize > 0) cells.setPointSizeF(s.fontSize);
    grid.horizontalHeader()->setFont(head);
    static const char *const borders[] = {"none", "1px outset", "2px outset", "1px inset", "2px inset"};
    const int style = s.head3D >= 0 && s.head3D <= 4 ? s.head3D : 3;
    grid.horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { border: %1 palette(mid); padding: 1px; }")
            .arg(QString::fromUtf8(borders[style])));
    grid.setFont(cells);

    QPalette pal = grid.palette();
    pal.setColor(QPalette::Base, vbColorToQColor(quint32(s.backColor)));
    pal.setColor(QPalette::Text, vbColorToQColor(quint32(s.foreColor)));
    grid.setPalette(pal);

    auto *rows = dynamic_cast<RowColorDelegate *>(grid.itemDelegate());
    if (!rows) {
        rows = new RowColorDelegate(&grid);
        grid.setItemDelegate(rows);
    }
    rows->evenBack = vbColorToQColor(quint32(s.backColorEven));
    rows->oddBack = vbColorToQColor(quint32(s.backColorOdd));
    rows->evenFore = vbColorToQColor(quint32(s.foreColorEven));
    rows->oddFore = vbColorToQColor(quint32(s.foreColorOdd));
    grid.viewport()->update();
}

}  // namespace tarnis
