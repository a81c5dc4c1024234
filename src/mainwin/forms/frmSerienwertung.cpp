#include "mainwin/forms/frmSerienwertungImpl.h"

namespace tarnis {

// ---------------------------------------------------------------- construction

frmSerienwertung::frmSerienwertung(QWidget *parent) : QMainWindow(parent), d(std::make_unique<Impl>(this)) {
    d->build();
}

frmSerienwertung::~frmSerienwertung() {
    if (!d->closed) d->closeDatabase();
}

void frmSerienwertung::setDatabaseDialogHook(std::function<bool(QWidget *)> hook) {
    databaseDialogHook = std::move(hook);
}

void frmSerienwertung::setSplashHook(std::function<void()> hook) { splashHook = std::move(hook); }

void frmSerienwertung::Impl::build() {
    q->setObjectName(QStringLiteral("frmSerienwertung"));
    q->setWindowTitle(kAppTitle);

    bars = new CommandBars(q);
    QObject::connect(bars, &CommandBars::toolClicked, q, [this](int id) { ActiveBar1_ToolClick(id); });

    // The inner area has no layout manager: Form_Resize places the controls.
    central = new QWidget(q);
    q->setCentralWidget(central);

    fraMain = new QFrame(central);
    fraMain->setObjectName(QStringLiteral("fraMain"));
    fraMain->setFrameShape(QFrame::StyledPanel);
    fraMain->setGeometry(toPx(60), toPx(-60), toPx(6495), toPx(675));
    Label4 = new QLabel(QStringLiteral("Vereine:"), fraMain);
    Label4->setGeometry(toPx(120), toPx(300), toPx(795), toPx(255));
    cboVereine = new QComboBox(fraMain);
    cboVereine->setObjectName(QStringLiteral("cboVereine"));
    cboVereine->setGeometry(toPx(1020), toPx(270), toPx(2535), toPx(315));
    chkEndwertung = new QCheckBox(QStringLiteral("Nur mit Endwertung"), fraMain);
    chkEndwertung->setObjectName(QStringLiteral("chkEndwertung"));
    chkEndwertung->setGeometry(toPx(3660), toPx(300), toPx(2535), toPx(300));
    QObject::connect(cboVereine, &QComboBox::currentIndexChanged, q,
                     [this](int) { guarded("cboVereine_Click", [this] { cboVereine_Click(); }); });
    QObject::connect(chkEndwertung, &QCheckBox::clicked, q,
                     [this](bool) { guarded("chkEndwertung_Click", [this] { cboVereine_Click(); }); });

    dbgTeilnehmer = new QFrame(central);
    dbgTeilnehmer->setObjectName(QStringLiteral("dbgTeilnehmer"));
    dbgTeilnehmer->setGeometry(toPx(45), toPx(645), toPx(10455), toPx(4335));
    auto *gridLayout = new QVBoxLayout(dbgTeilnehmer);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->setSpacing(0);
    gridCaption = new QLabel(dbgTeilnehmer);
    gridCaption->setAlignment(Qt::AlignCenter);
    gridCaption->setFrameShape(QFrame::Panel);
    view = new QTableView(dbgTeilnehmer);
    view->setModel(&model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->horizontalHeader()->setSectionsClickable(true);
    view->verticalHeader()->setDefaultSectionSize(toPx(239) + 2);
    gridLayout->addWidget(gridCaption);
    gridLayout->addWidget(view);
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, q,
                     [this](int column) { dbgTeilnehmer_HeadClick(column); });
    // A width the user drags is the column's width from now on (it is saved at shutdown).
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionResized, q, [this](int column, int, int size) {
        if (column < int(columns.size()) && !view->isColumnHidden(column) && size > 0)
            columns[column].width = toTw(size);
    });

    vsPrinter = new PreviewPane(q, central);
    vsPrinter->setObjectName(QStringLiteral("vsPrinter"));
    vsPrinter->hide();
    fraEinstellungen = vsPrinter->bar();
    fraEinstellungen->setParent(central);
    fraEinstellungen->setObjectName(QStringLiteral("fraEinstellungen"));
    fraEinstellungen->setGeometry(toPx(60), toPx(-60), toPx(10455), toPx(675));
    fraEinstellungen->hide();

    fraMantel = new QFrame(central);
    fraMantel->setObjectName(QStringLiteral("fraMantel"));
    fraMantel->setAutoFillBackground(true);
    fraMantel->hide();

    picBottom = new BottomStrip(central);
    picBottom->setObjectName(QStringLiteral("picBottom"));
    picBottom->setGeometry(0, toPx(5565 - 645), toPx(10515), toPx(525));

    edtTrigger = new QLineEdit(central);
    edtTrigger->setObjectName(QStringLiteral("edtTrigger"));
    edtTrigger->hide();

    auto *status = new QStatusBar(q);
    status->setObjectName(QStringLiteral("StatusBar1"));
    q->setStatusBar(status);
    const int panelWidths[6] = {900, 1300, 0, 600, 600, 600};
    const char *panelTexts[6] = {"", "", "", "CAPS", "NUM", "INS"};
    for (int i = 0; i < 6; ++i) {
        panels[i] = new QLabel(QString::fromUtf8(panelTexts[i]), status);
        panels[i]->setFrameShape(QFrame::Panel);
        panels[i]->setFrameShadow(QFrame::Sunken);
        if (panelWidths[i] > 0) panels[i]->setMinimumWidth(toPx(panelWidths[i]));
        if (i < 3) status->addWidget(panels[i], i == 2 ? 1 : 0);
        else status->addPermanentWidget(panels[i]);
    }
    // The time and date panels run on the control's own clock.
    updateClock();
    clock.setInterval(1000);
    QObject::connect(&clock, &QTimer::timeout, q, [this] { updateClock(); });
    clock.start();

    q->resize(toPx(10515), toPx(6345) + 60);
}

void frmSerienwertung::Impl::updateClock() {
    const QDateTime now = Now();
    panels[0]->setText(formatTime(now.time()));
    panels[1]->setText(formatDate(now.date()));
}

}  // namespace tarnis
