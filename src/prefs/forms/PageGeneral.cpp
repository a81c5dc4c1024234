#include "prefs/forms/PageGeneral.h"

#include "core/db/AklSortIndex.h"
#include "core/db/Globals.h"
#include "core/dialogs/GetDatabase.h"
#include "core/services/ShowError.h"
#include "core/services/forms/GridStyleView.h"
#include "platform/text/TextRules.h"
#include "prefs/FieldRules.h"
#include "prefs/PrefsLoad.h"
#include "prefs/TableModels.h"
#include "prefs/forms/PrefsWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableView>

namespace tarnis::prefs {

namespace {

// Grid cells take whole numbers only; the rows keep the look the grid style gave them.
class WholeNumberEditors : public QStyledItemDelegate {
public:
    WholeNumberEditors(QAbstractItemDelegate *look, QObject *parent) : QStyledItemDelegate(parent), look_(look) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        look_->paint(painter, option, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        return look_->sizeHint(option, index);
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("\\s*[-+]?\\d{0,10}\\s*")), line));
        return editor;
    }

private:
    QAbstractItemDelegate *look_;
};

QTableView *tableGrid(const QString &name, QWidget *parent) {
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setSectionsClickable(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    return view;
}

// Applies the grid style of the store (a style that cannot be read leaves the look),
// then lets the cells be edited as whole numbers only.
void styleGrid(QTableView *view) {
    try {
        SetGridStyle(*view);
    } catch (...) {
    }
    view->setItemDelegate(new WholeNumberEditors(view->itemDelegate(), view));
}

void keepWholeNumber(QLineEdit *edit) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        if (filterCountField(text) != text) edit->setText(QString());
    });
}

}  // namespace

PageGeneral::PageGeneral(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageGrundeinstellungen"));
    auto *page = new QGridLayout(this);
    QGridLayout *g = nullptr;

    QGroupBox *mode = framed(QStringLiteral("Wertungsmodus"), g, this);
    optZeit_ = new QRadioButton(QStringLiteral("Zeit"), mode);
    optZeit_->setObjectName(QStringLiteral("optZeit"));
    optPunkte_ = new QRadioButton(QStringLiteral("Punkte"), mode);
    optPunkte_->setObjectName(QStringLiteral("optPunkte"));
    g->addWidget(optZeit_, 0, 0);
    g->addWidget(optPunkte_, 1, 0);
    page->addWidget(mode, 0, 0);

    QGroupBox *century = framed(QStringLiteral("Default Jahrhundert"), g, this);
    edtJahrhundert_ = namedEdit(QStringLiteral("edtJahrhundert"), century);
    edtJahrhundert_->setMaximumWidth(60);
    g->addWidget(edtJahrhundert_, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("z.B.:  19 für 1900, 20 für 2000 ..."), century), 0, 1);
    page->addWidget(century, 1, 0);

    QGroupBox *races = framed(QStringLiteral("Anzahl zu verwaltender Läufe"), g, this);
    auto *racesLabel = new QLabel(QStringLiteral("Maximale Anzahl der Läufe, die verwaltet werden können."), races);
    racesLabel->setWordWrap(true);
    g->addWidget(racesLabel, 0, 0, 1, 2);
    edtMaxLaufErf_ = namedEdit(QStringLiteral("edtMaxLaufErf"), races);
    edtMaxLaufErf_->setMaximumWidth(60);
    g->addWidget(edtMaxLaufErf_, 1, 0);
    cmdGenDatabase_ = new QPushButton(QStringLiteral("&Datenbank erstellen"), races);
    cmdGenDatabase_->setObjectName(QStringLiteral("cmdGenDatabase"));
    g->addWidget(cmdGenDatabase_, 1, 1);
    page->addWidget(races, 0, 1);

    QGroupBox *counts = framed(QStringLiteral("Laufanzahl für Endwertung"), g, this);
    auto *minLabel = new QLabel(QStringLiteral("Minimale Anzahl der Läufe für eine  Endwertung:"), counts);
    minLabel->setWordWrap(true);
    auto *maxLabel = new QLabel(
        QStringLiteral("Maximale Anzahl von Wertungen, die für die Endwertung berücksichtigt werden sollen."), counts);
    maxLabel->setWordWrap(true);
    edtAnzForEW_ = namedEdit(QStringLiteral("edtAnzForEW"), counts);
    edtMaxAnzForEW_ = namedEdit(QStringLiteral("edtMaxAnzForEW"), counts);
    edtAnzForEW_->setMaximumWidth(60);
    edtMaxAnzForEW_->setMaximumWidth(60);
    g->addWidget(minLabel, 0, 0);
    g->addWidget(edtAnzForEW_, 0, 1);
    g->addWidget(maxLabel, 1, 0);
    g->addWidget(edtMaxAnzForEW_, 1, 1);
    page->addWidget(counts, 1, 1);

    QGroupBox *tables = framed(QStringLiteral("Datenbank Tabellen --- Bitte Werte eingeben !!!"), g, this);
    g->addWidget(new QLabel(QStringLiteral("Sortierung der Altersklassen"), tables), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Platzierung/Punkte "), tables), 0, 1);
    dbgAltersklassen_ = tableGrid(QStringLiteral("dbgAltersklassen"), tables);
    dbgPlatzverteilung_ = tableGrid(QStringLiteral("dbgPlatzverteilung"), tables);
    dbgPlatzverteilung_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dbgPlatzverteilung_->installEventFilter(this);
    g->addWidget(dbgAltersklassen_, 1, 0);
    g->addWidget(dbgPlatzverteilung_, 1, 1);
    cmdDelAK_ = new QPushButton(QStringLiteral("&Altersklasse löschen"), tables);
    cmdDelAK_->setObjectName(QStringLiteral("cmdDelAK"));
    SSCPlPu_ = new QCheckBox(QStringLiteral("&Platz = Punkte"), tables);
    SSCPlPu_->setObjectName(QStringLiteral("SSCPlPu"));
    g->addWidget(cmdDelAK_, 2, 0);
    g->addWidget(SSCPlPu_, 2, 1);
    QGridLayout *pg = nullptr;
    QGroupBox *path = framed(QStringLiteral("Pfad  der Datenbank"), pg, tables);
    edtDatabase_ = namedEdit(QStringLiteral("edtDatabase"), path);
    auto *cmdSelDatabase = new QPushButton(QStringLiteral("..."), path);
    cmdSelDatabase->setObjectName(QStringLiteral("cmdSelDatabase"));
    cmdSelDatabase->setMaximumWidth(32);
    pg->addWidget(new QLabel(QStringLiteral("Datenbank:"), path), 0, 0);
    pg->addWidget(edtDatabase_, 0, 1);
    pg->addWidget(cmdSelDatabase, 0, 2);
    g->addWidget(path, 3, 0, 1, 2);
    page->addWidget(tables, 2, 0, 1, 2);
    page->setRowStretch(2, 1);

    for (QLineEdit *e : {edtMaxLaufErf_, edtAnzForEW_, edtMaxAnzForEW_}) keepWholeNumber(e);
    connect(cmdGenDatabase_, &QPushButton::clicked, this, [this] { cmdGenDatabase_Click(); });
    connect(cmdDelAK_, &QPushButton::clicked, this, [this] { cmdDelAK_Click(); });
    connect(SSCPlPu_, &QCheckBox::clicked, this, [this] { SSCPlPu_Click(); });
    connect(cmdSelDatabase, &QPushButton::clicked, this, &PageGeneral::databaseFileRequested);
}

void PageGeneral::load() {
    gridsUsable_ = false;
    try {
        Database &series = db();
        DB_FillAKLSortIndex(series);
        delete akl_;
        delete points_;
        akl_ = new AgeClassModel(series, this);
        points_ = new PointsModel(series, this);
        akl_->load(QStringLiteral("Index"), true);
        points_->load(QStringLiteral("Platz"), true);
        dbgAltersklassen_->setModel(akl_);
        dbgPlatzverteilung_->setModel(points_);
        connect(dbgAltersklassen_->horizontalHeader(), &QHeaderView::sectionClicked, akl_,
                &SnapshotTableModel::headClick, Qt::UniqueConnection);
        connect(dbgPlatzverteilung_->horizontalHeader(), &QHeaderView::sectionClicked, points_,
                &SnapshotTableModel::headClick, Qt::UniqueConnection);
        gridsUsable_ = true;
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("Form_Load"));
    }
    for (QWidget *w : {static_cast<QWidget *>(dbgAltersklassen_), static_cast<QWidget *>(dbgPlatzverteilung_),
                       static_cast<QWidget *>(cmdDelAK_)})
        w->setEnabled(gridsUsable_);

    const GeneralPage p = LoadGrundeinstellungen();
    edtAnzForEW_->setText(p.anzForEW);
    edtMaxAnzForEW_->setText(p.maxAnzForEW);
    edtMaxLaufErf_->setText(p.maxLaufErf);
    edtDatabase_->setText(p.database);
    edtJahrhundert_->setText(p.jahrhundert);
    SSCPlPu_->setChecked(p.platzGleichPunkte);
    SSCPlPu_Click();
    (p.punkte ? optPunkte_ : optZeit_)->setChecked(true);
    styleGrid(dbgAltersklassen_);
    styleGrid(dbgPlatzverteilung_);
}

void PageGeneral::read(GeneralPage &page) const {
    page.punkte = optPunkte_->isChecked();
    page.platzGleichPunkte = SSCPlPu_->isChecked();
    page.database = edtDatabase_->text();
    page.anzForEW = edtAnzForEW_->text();
    page.maxAnzForEW = edtMaxAnzForEW_->text();
    page.maxLaufErf = edtMaxLaufErf_->text();
    page.jahrhundert = edtJahrhundert_->text();
}

void PageGeneral::cmdGenDatabase_Click() {
    // Unlike the database dialog, an empty path creates nothing here.
    if (textrules::Trim(edtDatabase_->text()).isEmpty()) return;
    GenerateDatabase(edtDatabase_->text(), edtMaxLaufErf_->text());
}

void PageGeneral::cmdDelAK_Click() {
    if (!akl_ || !gridsUsable_) return;
    const QModelIndex current = dbgAltersklassen_->currentIndex();
    if (!current.isValid() || current.row() >= akl_->storedRowCount()) return;
    const QString cls = akl_->cell(current.row(), 0).textOrEmpty();
    DeleteAgeClass(db(), cls);
    try {
        akl_->refresh();
    } catch (...) {
        ShowError(toAppError(std::current_exception()), QString(), QStringLiteral("cmdDelAK_Click"));
    }
}

void PageGeneral::SSCPlPu_Click() {
    // With points equal to the place the table is not used: its grid is out of use.
    dbgPlatzverteilung_->setEnabled(gridsUsable_ && !SSCPlPu_->isChecked());
}

bool PageGeneral::eventFilter(QObject *watched, QEvent *event) {
    if (watched == dbgPlatzverteilung_ && event->type() == QEvent::KeyPress && points_ &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        QList<int> rows;
        for (const QModelIndex &i : dbgPlatzverteilung_->selectionModel()->selectedRows()) rows << i.row();
        if (rows.isEmpty() && dbgPlatzverteilung_->currentIndex().isValid())
            rows << dbgPlatzverteilung_->currentIndex().row();
        points_->deleteRows(rows);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tarnis::prefs
