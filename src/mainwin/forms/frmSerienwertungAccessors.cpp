#include "mainwin/forms/frmSerienwertungImpl.h"

namespace tarnis {

// ---------------------------------------------------------------- accessors

QTableView *frmSerienwertung::grid() const { return d->view; }
QAbstractItemModel *frmSerienwertung::gridModel() const { return &d->model; }
QString frmSerienwertung::gridCaption() const { return d->gridCaption->text(); }
QComboBox *frmSerienwertung::clubFilter() const { return d->cboVereine; }
QCheckBox *frmSerienwertung::finalOnlyBox() const { return d->chkEndwertung; }
QString frmSerienwertung::statusPanel(int n) const { return n >= 0 && n < 6 ? d->panels[n]->text() : QString(); }
QString frmSerienwertung::recordSource() const { return d->source.sql; }

int frmSerienwertung::gridRowCount() const { return d->model.rowCount(); }
int frmSerienwertung::gridColumnCount() const { return d->model.columnCount(); }
QString frmSerienwertung::gridColumnCaption(int column) const {
    return d->model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}
bool frmSerienwertung::gridColumnVisible(int column) const {
    return column >= 0 && column < int(d->columns.size()) && !d->columns[column].hidden;
}
QString frmSerienwertung::gridCell(int row, int column) const { return d->model.snapshot().text(row, column); }
Value frmSerienwertung::gridValue(int row, int column) const { return d->model.snapshot().value(row, column); }
QString frmSerienwertung::gridFieldName(int column) const {
    const QStringList &names = d->model.snapshot().fieldNames();
    return column >= 0 && column < names.size() ? names.at(column) : QString();
}
int frmSerienwertung::gridCurrentRow() const {
    const QModelIndex current = d->view->currentIndex();
    return current.isValid() ? current.row() : -1;
}
void frmSerienwertung::selectGridRow(int row) {
    QItemSelectionModel *selection = d->view->selectionModel();
    if (!selection) return;
    if (row < 0 || row >= gridRowCount()) {
        selection->clear();
        return;
    }
    selection->setCurrentIndex(d->model.index(row, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
int frmSerienwertung::gridSelectedRowCount() const {
    return d->view->selectionModel() ? int(d->view->selectionModel()->selectedRows().size()) : 0;
}
int frmSerienwertung::gridSelectedRow() const {
    const QItemSelectionModel *selection = d->view->selectionModel();
    if (!selection) return -1;
    const int current = gridCurrentRow();
    if (current >= 0 && selection->isRowSelected(current, QModelIndex())) return current;
    int first = -1;
    for (const QModelIndex &index : selection->selectedRows())
        if (first < 0 || index.row() < first) first = index.row();
    return first;
}
void frmSerienwertung::setGridCurrentRow(int row) {
    if (!d->view->selectionModel() || row < 0 || row >= d->model.rowCount()) return;
    const int column = qMax(d->view->currentIndex().column(), 0);
    d->view->selectionModel()->setCurrentIndex(d->model.index(row, column), QItemSelectionModel::NoUpdate);
}
void frmSerienwertung::redrawGrid() { d->view->viewport()->update(); }
int frmSerienwertung::gridTop() const { return toTw(d->dbgTeilnehmer->y()); }
int frmSerienwertung::gridLeft() const { return toTw(d->dbgTeilnehmer->x()); }
int frmSerienwertung::gridHeight() const { return toTw(d->dbgTeilnehmer->height()); }
int frmSerienwertung::gridWidth() const { return toTw(d->dbgTeilnehmer->width()); }
int frmSerienwertung::innerWidth() const { return toTw(d->central->width()); }

bool frmSerienwertung::toolChecked(const QString &band, const QString &name) const {
    return d->bars->isChecked(band, name);
}
void frmSerienwertung::setToolChecked(const QString &band, const QString &name, bool checked) {
    d->bars->setChecked(band, name, checked);
}
bool frmSerienwertung::printDirect() const {
    return d->bars->isChecked(QStringLiteral("PopDruckenModus"), QStringLiteral("mnuDrucken"));
}

void frmSerienwertung::showPreview() {
    d->vsPrinter->setGeometry(d->dbgTeilnehmer->geometry());
    d->vsPrinter->show();
    d->vsPrinter->raise();
    d->fraMain->hide();
    d->fraEinstellungen->resize(toPx(innerWidth() - 120), d->fraEinstellungen->height());
    d->fraEinstellungen->show();
    d->fraEinstellungen->raise();
}

// The pane asks while it is being built, before the window knows it.
bool frmSerienwertung::previewVisible() const { return d->vsPrinter && !d->vsPrinter->isHidden(); }

void frmSerienwertung::closePreview() {
    if (!previewVisible()) return;
    d->vsPrinter->hide();
    d->fraMain->show();
    d->fraEinstellungen->hide();
    d->Form_Resize();
}

void frmSerienwertung::ShowPageCount() {
    if (d->vsPrinter) d->vsPrinter->ShowPageCount();
}

QString frmSerienwertung::edtTrigger() const { return d->edtTrigger->text(); }
void frmSerienwertung::setEdtTrigger(const QString &text) { d->edtTrigger->setText(text); }

}  // namespace tarnis
