#include "mainwin/forms/frmSerienwertung.h"

#include "about/forms/frmAbout.h"
#include "about/forms/frmSplash.h"
#include "core/db/Globals.h"
#include "core/dialogs/forms/frmGetDatabase.h"
#include "core/services/Help.h"
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "mainwin/Dispatch.h"
#include "mainwin/GridSetup.h"
#include "mainwin/InstanceLock.h"
#include "mainwin/Placement.h"
#include "mainwin/RecordSource.h"
#include "mainwin/forms/CommandBars.h"
#include "mainwin/forms/GridStyleView.h"
#include "mainwin/forms/ParticipantModel.h"
#include "platform/files/FileUtils.h"
#include "prefs/forms/frmGrundEinst.h"
#include "print/forms/PreviewPane.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/text/Vb.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace tarnis {

namespace {

std::function<bool(QWidget *)> databaseDialogHook;
std::function<void()> splashHook;

const QString kLayoutFile = QStringLiteral("USERLAYOUT.TB");
const QString kLastUser = QStringLiteral("LastUser");

// Twips per pixel of the primary screen (1440 twips to the inch).
double twipsPerPixel() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}
int toPx(double tw) { return int(std::lround(tw / twipsPerPixel())); }
int toTw(int px) { return int(std::lround(px * twipsPerPixel())); }

// Runs an event handler: no error ever leaves it, a failure goes to the error dialog
// under the handler's name.
void report(const char *handler, std::exception_ptr error) {
    try {
        ShowError(toAppError(error), QString(), QString::fromUtf8(handler));
    } catch (...) {
    }
}

template <typename F>
void guarded(const char *handler, F &&body) {
    try {
        body();
    } catch (...) {
        report(handler, std::current_exception());
    }
}

// The gradient strip above the status bar with the line along its top edge.
class BottomStrip : public QWidget {
public:
    using QWidget::QWidget;
    int lineEnd = 0;  // end X of Line1, pixels

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 0, lineEnd, 0);
    }
};

}  // namespace

struct frmSerienwertung::Impl {
    explicit Impl(frmSerienwertung *w) : q(w), model(columns) {}

    frmSerienwertung *q;
    CommandBars *bars = nullptr;

    QWidget *central = nullptr;
    QFrame *fraMain = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *cboVereine = nullptr;
    QCheckBox *chkEndwertung = nullptr;
    QFrame *dbgTeilnehmer = nullptr;  // the grid with its caption bar
    QLabel *gridCaption = nullptr;
    QTableView *view = nullptr;
    QFrame *fraMantel = nullptr;
    PreviewPane *vsPrinter = nullptr;     // the preview, laid over the grid while shown
    QWidget *fraEinstellungen = nullptr;  // the preview bar in place of fraMain
    BottomStrip *picBottom = nullptr;
    QLineEdit *edtTrigger = nullptr;
    QLabel *panels[6] = {};
    QTimer clock;

    std::vector<GridColumn> columns;
    ParticipantModel model;
    RecordSource source;

    bool firstActivated = false;
    bool splashShown = false;
    bool sortFlag = false;
    bool shapeChanged = false;
    bool shuttingDown = false;
    bool activating = false;
    bool styleFailureShown = false;
    bool closed = false;
    std::int64_t participants = 0;

    void build();
    void Form_Resize();
    void Form_Activate();
    void applyColumnState();
    void SetGridStyle();
    void FillVereine();
    void cboVereine_Click();
    void dbgTeilnehmer_HeadClick(int column);
    void ActiveBar1_ToolClick(int id);
    void dispatch(int id);
    void saveLayout();
    bool showDatabaseDialog();
    void afterModal();
    void showSplash();
    void closeDatabase();
    void updateClock();
    void mnuHardcopy();
    void shutdown();

    enum class LoadOutcome { Done, NeedDatabase, Failed, Ended };
    LoadOutcome loadOnce();

    PlacementRestorer placement;
    FrameMargins frameMargins() const {
        const QRect frame = q->frameGeometry(), client = q->geometry();
        return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                frame.bottom() - client.bottom()};
    }
    // Places the window again once the window manager has told its frame.
    void followFrame() {
        if (!placement.following() || closed) return;
        if (const auto client = placement.marginsKnown(frameMargins()))
            q->setGeometry(client->x, client->y, client->width, client->height);
    }

    int innerHeightTw() const {
        return toTw(central->height()) + (q->statusBar() ? toTw(q->statusBar()->height()) : 0);
    }
};

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

// ---------------------------------------------------------------- start and load

bool frmSerienwertung::start() {
    Form_Load();
    if (ended_) return false;
    show();
    QCoreApplication::processEvents();
    // The offscreen platform may not activate the window; the first activation must run.
    if (!d->firstActivated) d->Form_Activate();
    return !ended_;
}

void frmSerienwertung::Form_Load() {
    // A dialog closed without "&Fertig" may still leave a usable database stored (the
    // one Shift skipped): the load runs once more, and only when that fails too does
    // the program end, instead of asking forever.
    bool closedWithoutPath = false;
    for (;;) {
        switch (d->loadOnce()) {
        case Impl::LoadOutcome::NeedDatabase:
            d->closeDatabase();
            if (!closedWithoutPath) {
                closedWithoutPath = !d->showDatabaseDialog();
                continue;
            }
            ended_ = true;
            if (isVisible()) closeAndShutdown();
            return;
        case Impl::LoadOutcome::Ended:
            ended_ = true;
            return;
        case Impl::LoadOutcome::Done:
        case Impl::LoadOutcome::Failed:
            return;
        }
    }
}

frmSerienwertung::Impl::LoadOutcome frmSerienwertung::Impl::loadOnce() {
    try {
        q->setWindowTitle(kAppTitle);
        if (AnotherCopyRunning()) {
            ui().message(kAppTitle + QStringLiteral(" läuft bereits !"), MsgButtons::Ok, MsgIcon::Information);
            ui().endProgram();
            return LoadOutcome::Ended;
        }
        SaveSetting(kLastUser, QStringLiteral("AppPath"), ProgramFolder());
        gCurDir = QDir::currentPath();
        gDBPath = GetSetting(kLastUser, QStringLiteral("Datenbank"), QString());
        if (!IsCompiled() && vb::Trim(gDBPath).isEmpty()) gDBPath = ProgramFolder() + QStringLiteral("/Teilnehmer.mdb");

        if (IsCtrlDown() && ui().message(QStringLiteral("Menu-Einstellungen löschen?"), MsgButtons::YesNo,
                                         MsgIcon::Question) == MsgAnswer::Yes) {
            const QString layout = UserDataFilePath(kLayoutFile);
            if (QFileInfo(layout).isFile()) QFile::remove(layout);
        }
        if (IsShiftDown())
            throw AppError(err::InvalidPath, kRuntimeSource, QStringLiteral("Ungültiger Pfad."));

        // One connection: the previous one is closed before the next opens.
        closeDatabase();
        gDB = Database::open(gDBPath);

        q->setRecordSource(InitialRecordSource().sql);
        q->setWindowTitle(kAppTitle + QStringLiteral(" V%1.%2.%3")
                                          .arg(TARNIS_VERSION_MAJOR)
                                          .arg(TARNIS_VERSION_MINOR)
                                          .arg(TARNIS_VERSION_PATCH));
        q->UpdateTeilnehmerAnzahl();
        // A series with another shape (another number of races) gets its columns set
        // up again, so that no race is shown or scored under the wrong column; done
        // here so that a failing later step cannot skip it.
        if (firstActivated && shapeChanged) q->SetupGrid();

        // A zoom that is no number stops the load here, as it always did.
        vb::CLng(SettingNumber(kLastUser, QStringLiteral("Zoom Slider Value"), QStringLiteral("50")));
        vsPrinter->loadSettings();

        if (!firstActivated && !splashShown) {
            splashShown = true;
            showSplash();
        }
        Form_Resize();
        panels[2]->setText(gDBPath);

        const QString layout = UserDataFilePath(kLayoutFile);
        if (QFileInfo(layout).isFile()) bars->loadLayout(layout);
        return LoadOutcome::Done;
    } catch (...) {
        const AppError e = toAppError(std::current_exception());
        if (e.number == err::InvalidPath || e.number == err::FileNotFound) return LoadOutcome::NeedDatabase;
        report("Form_Load", std::current_exception());
        return LoadOutcome::Failed;
    }
}

bool frmSerienwertung::Impl::showDatabaseDialog() {
    bool stored = false;
    try {
        stored = databaseDialogHook ? databaseDialogHook(q) : ShowDatabaseDialog(q);
    } catch (...) {
        report("Form_Load", std::current_exception());
    }
    afterModal();
    return stored;
}

void frmSerienwertung::Impl::showSplash() {
    if (splashHook) {
        splashHook();
        return;
    }
    frmSplash splash;
    splash.exec();
}

void frmSerienwertung::Impl::closeDatabase() {
    model.clear();
    if (gDB) {
        try {
            gDB->close();
        } catch (...) {
        }
        gDB.reset();
    }
}

void frmSerienwertung::UpdateTeilnehmerAnzahl() {
    d->participants = CountParticipants(db());
    d->gridCaption->setText(QString::number(d->participants) + QStringLiteral(" erfaßte Teilnehmer"));
    d->bars->setEnabled(QStringLiteral("PopSystem"), QStringLiteral("mnuSerExport"), true);
    d->bars->setEnabled(QStringLiteral("mnuGlobal"), QStringLiteral("mnuDrucken"), true);
    d->bars->setEnabled(QStringLiteral("PopDatenbank"), QStringLiteral("mnuLöschen"), true);
    d->FillVereine();
}

// ---------------------------------------------------------------- activation and layout

bool frmSerienwertung::event(QEvent *e) {
    const bool result = QMainWindow::event(e);
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::Paint: d->followFrame(); break;
    default: break;
    }
    if (e->type() == QEvent::WindowActivate && !d->shuttingDown && !ended_) d->Form_Activate();
    return result;
}

void frmSerienwertung::Impl::Form_Activate() {
    // The error dialog activates the window again when it closes: no second run
    // inside the first, and a style that keeps failing is reported once.
    if (activating) return;
    activating = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{activating};
    if (firstActivated) {
        try {
            SetGridStyle();
            styleFailureShown = false;
        } catch (...) {
            if (!styleFailureShown) {
                styleFailureShown = true;
                report("Form_Activate", std::current_exception());
            }
        }
        fraMantel->hide();
        return;
    }
    try {
        const PixelRect client = placement.restore(ReadPlacement(), frameMargins(), twipsPerPixel());
        q->setGeometry(client.x, client.y, client.width, client.height);
        if (placement.following()) {
            // Some window managers tell the frame only a while after the window is shown.
            for (int ms : {50, 250, 1000}) QTimer::singleShot(ms, q, [this] { followFrame(); });
        }

        fraMantel->setPalette(q->palette());
        fraMantel->setGeometry(dbgTeilnehmer->geometry());
        fraMantel->raise();
        fraMantel->show();
        q->repaint();
        ApplyFormStyle(q);
        q->SetupGrid();
        GradientFillObject(picBottom, 0xA2E7FF, 0x42ACFF, 1);  // RGB(255,231,162) to RGB(255,172,66)
        picBottom->lineEnd = picBottom->width();
        picBottom->update();
    } catch (...) {
        report("Form_Activate", std::current_exception());
    }
    // The grid is never left under its cover.
    firstActivated = true;
    fraMantel->hide();
}

void frmSerienwertung::Impl::afterModal() {
    // Under some platforms the window gets no activation when a modal dialog closes.
    if (firstActivated && !closed) Form_Activate();
}

void frmSerienwertung::Impl::Form_Resize() {
    const int W = toTw(central->width());
    const int H = innerHeightTw();
    const int statusHeight = q->statusBar() ? toTw(q->statusBar()->height()) : 0;
    // A size below zero is refused: that control keeps its previous size.
    const int gridHeight = H - statusHeight - 650 - 525;
    if (gridHeight >= 0) dbgTeilnehmer->resize(dbgTeilnehmer->width(), toPx(gridHeight));
    if (W - 120 >= 0) dbgTeilnehmer->resize(toPx(W - 120), dbgTeilnehmer->height());
    picBottom->setGeometry(0, central->height() - picBottom->height(), toPx(W), picBottom->height());
    picBottom->lineEnd = picBottom->width();
    if (!fraMain->isHidden() && W - 120 >= 0) fraMain->resize(toPx(W - 120), fraMain->height());
    if (!vsPrinter->isHidden()) {
        if (gridHeight >= 0) vsPrinter->resize(vsPrinter->width(), toPx(gridHeight));
        if (W - 120 >= 0) {
            vsPrinter->resize(toPx(W - 120), vsPrinter->height());
            fraEinstellungen->resize(toPx(W - 120), fraEinstellungen->height());
        }
    }
}

void frmSerienwertung::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    d->Form_Resize();
}

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
    d->view->setUpdatesEnabled(false);
    struct Redraw {
        QTableView *v;
        ~Redraw() { v->setUpdatesEnabled(true); }
    } redraw{d->view};
    gRaceCount = 0;
    d->SetGridStyle();
    gRaceCount = SetupGridColumns(d->columns);
    d->shapeChanged = false;
    d->applyColumnState();
}

void frmSerienwertung::Impl::SetGridStyle() { tarnis::SetGridStyle(*view); }

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

// ---------------------------------------------------------------- commands

void frmSerienwertung::clickTool(int id) { d->bars->click(id); }

void frmSerienwertung::Impl::saveLayout() {
    try {
        bars->saveLayout(UserDataFilePath(kLayoutFile));
    } catch (const AppError &e) {
        if (e.number == err::LayoutSaveFailed)
            ui().message(QStringLiteral("Menüeinstellungen konnten nicht gespeichert werden!"), MsgButtons::Ok,
                         MsgIcon::Information);
    } catch (...) {
    }
}

void frmSerienwertung::Impl::ActiveBar1_ToolClick(int id) {
    try {
        saveLayout();
        dispatch(id);
    } catch (...) {
    }
}

void frmSerienwertung::Impl::dispatch(int id) {
    switch (id) {
    case 5:
        RunCommand(id, [] { ShowHelp(); });
        return;
    case 7:
        RunCommand(id, [] { ShowAboutBox(); });
        return;
    case 30020:
        RunCommand(id, [this] { mnuHardcopy(); });
        return;
    default:
        break;
    }
    if (const Command command = LogicCommand(id)) RunCommand(id, [&] { command(*q); });
}

void frmSerienwertung::Impl::mnuHardcopy() { vsPrinter->printPicture(q->grab()); }

// ---------------------------------------------------------------- shutdown

void frmSerienwertung::closeAndShutdown() { close(); }

void frmSerienwertung::unloadWindow() { close(); }

bool frmSerienwertung::showDatabaseDialog() { return d->showDatabaseDialog(); }

void frmSerienwertung::showPreferencesDialog() {
    repaint();
    prefs::frmGrundEinst::showModal(this);
    d->afterModal();
}

void frmSerienwertung::closeEvent(QCloseEvent *e) {
    if (!d->closed) d->shutdown();
    e->accept();
}

void frmSerienwertung::Impl::shutdown() {
    shuttingDown = true;
    // Form_QueryUnload: the width of every column, hidden ones included.
    guarded("Form_QueryUnload", [this] { SaveColumnWidths(columns); });
    // Form_Unload and EndProgram: every step runs whatever the one before did.
    saveLayout();
    try {
        ScreenMetrics screen;
        if (const QScreen *s = QGuiApplication::primaryScreen()) {
            screen.widthPx = s->geometry().width();
            screen.heightPx = s->geometry().height();
        }
        screen.twipsPerPixelX = screen.twipsPerPixelY = twipsPerPixel();
        // A minimized window would store its icon size: take the normal placement.
        const FrameMargins m = frameMargins();
        const QRect client = q->isMinimized() ? q->normalGeometry() : q->geometry();
        const QRect frame = client.marginsAdded(QMargins(m.left, m.top, m.right, m.bottom));
        const Placement p = placement.placementToStore({frame.x(), frame.y(), frame.width(), frame.height()},
                                                       twipsPerPixel());
        const StoredPosition pos = ShutdownPosition(p.top, p.left, screen, toTw(central->width()), innerHeightTw());
        SavePlacement(pos, p.height, p.width, columns);
    } catch (...) {
    }
    closeDatabase();
    try {
        QuitHelp();
    } catch (...) {
    }
    closed = true;
    clock.stop();
    QCoreApplication::exit(0);
}

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
