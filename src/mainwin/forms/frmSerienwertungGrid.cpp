#include "mainwin/forms/frmSerienwertungImpl.h"

namespace tarnis {

// ---------------------------------------------------------------- the grid

void frmSerienwertung::setRecordSource(const QString &sql, const Params &params) {
    d->source = RecordSource{sql, params};
    refreshGrid();
}

void frmSerienwertung::refreshGrid() {
    // The old rows are let go before the new ones are read: two snapshots of a large
    // series are never held at once.
    d->model.clear();
    GridSnapshot rows = GridSnapshot::read(db(), d->source.sql, d->source.params);
    if (MatchColumnsToFields(d->columns, rows.fieldNames())) d->shapeChanged = true;
    d->model.setSnapshot(std::move(rows));
    d->applyColumnState();
}

void frmSerienwertung::Impl::applyColumnState() {
    QSignalBlocker block(view->horizontalHeader());
    for (int i = 0; i < int(columns.size()); ++i) {
        view->setColumnWidth(i, toPx(columns[i].width));
        view->setColumnHidden(i, columns[i].hidden);
    }
    model.columnsChanged();
}

void frmSerienwertung::SetupGrid() {
    d->setupGrid();
    d->reportBadSettings("Form_Load");
}

void frmSerienwertung::Impl::setupGrid() {
    view->setUpdatesEnabled(false);
    struct Redraw {
        QTableView *v;
        ~Redraw() { v->setUpdatesEnabled(true); }
    } redraw{view};
    gRaceCount = 0;
    SetGridStyle();
    BadSettings bad;
    gRaceCount = SetupGridColumns(columns, bad);
    noteBadSettings(bad);
    shapeChanged = false;
    applyColumnState();
}

void frmSerienwertung::Impl::SetGridStyle() {
    BadSettings bad;
    tarnis::SetGridStyle(*view, bad);
    noteBadSettings(bad);
}

void frmSerienwertung::Impl::noteBadSettings(const BadSettings &bad, const QString &hint) {
    for (const AppError &e : bad) {
        if (toldSettings.contains(e.description)) continue;
        toldSettings.insert(e.description);
        untoldSettings.emplace_back(e, hint);
    }
}

void frmSerienwertung::Impl::reportBadSettings(const char *handler) {
    // Taken first: the error dialog may activate the window, which reads the style again.
    const auto pending = std::exchange(untoldSettings, {});
    for (const auto &[e, hint] : pending) report(handler, std::make_exception_ptr(e), hint);
}

void frmSerienwertung::Impl::FillVereine() {
    const QStringList clubs = ClubList(db());
    {
        QSignalBlocker block(cboVereine);
        cboVereine->clear();
        cboVereine->addItem(QStringLiteral("alle"));
        cboVereine->addItems(clubs);
        cboVereine->setCurrentIndex(0);
    }
    cboVereine_Click();
}

void frmSerienwertung::Impl::cboVereine_Click() {
    const RecordSource s = ClubFilterSource(cboVereine->currentText(), chkEndwertung->isChecked());
    q->setRecordSource(s.sql, s.params);
}

void frmSerienwertung::Impl::dbgTeilnehmer_HeadClick(int column) {
    guarded("dbgTeilnehmer_HeadClick", [&] {
        const RecordSource s = HeadClickSource(column, sortFlag, cboVereine->currentText(), chkEndwertung->isChecked());
        q->setRecordSource(s.sql, s.params);
    });
}

}  // namespace tarnis
