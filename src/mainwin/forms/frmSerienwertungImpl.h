#pragma once
// The inside of the main window, shared by its files: construction, start and load,
// activation and layout, the grid, commands and shutdown, accessors.
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
#include "core/services/forms/GridStyleView.h"
#include "mainwin/forms/ParticipantModel.h"
#include "platform/files/FileUtils.h"
#include "prefs/forms/frmGrundEinst.h"
#include "print/forms/PreviewPane.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/text/TextRules.h"

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
#include <QSet>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace tarnis {

namespace mainwindow {

inline std::function<bool(QWidget *)> databaseDialogHook;
inline std::function<void()> splashHook;

inline const QString kLayoutFile = QStringLiteral("USERLAYOUT.TB");
inline const QString kLastUser = QStringLiteral("LastUser");

// Twips per pixel of the primary screen (1440 twips to the inch).
inline double twipsPerPixel() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}
inline int toPx(double tw) { return int(std::lround(tw / twipsPerPixel())); }
inline int toTw(int px) { return int(std::lround(px * twipsPerPixel())); }

// Runs an event handler: no error ever leaves it, a failure goes to the error dialog
// under the handler's name.
inline void report(const char *handler, std::exception_ptr error, const QString &hint = QString()) {
    try {
        ShowError(toAppError(error), hint, QString::fromUtf8(handler));
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

}  // namespace mainwindow

using namespace mainwindow;

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
    // Settings that did not convert: each key and value is told once per run, with
    // the hint that goes with it.
    QSet<QString> toldSettings;
    std::vector<std::pair<AppError, QString>> untoldSettings;
    RecordSource source;

    bool firstActivated = false;
    bool splashShown = false;
    bool sortFlag = false;
    bool shapeChanged = false;
    bool shuttingDown = false;
    bool activating = false;
    bool closed = false;
    std::int64_t participants = 0;

    void build();
    void Form_Resize();
    void Form_Activate();
    void applyColumnState();
    void setupGrid();
    void SetGridStyle();
    void noteBadSettings(const BadSettings &bad, const QString &hint = QString());
    void reportBadSettings(const char *handler);
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

    // The window's own minimum with its frame, its title bar and the screens.
    PlacementLimits placementLimits() const {
        const FrameMargins m = frameMargins();
        PlacementLimits limits{q->minimumWidth() + m.left + m.right, q->minimumHeight() + m.top + m.bottom, m.top,
                               {}};
        for (const QScreen *s : QGuiApplication::screens()) {
            const QRect r = s->geometry();
            limits.screens.push_back({r.x(), r.y(), r.width(), r.height()});
        }
        return limits;
    }

    int innerHeightTw() const {
        return toTw(central->height()) + (q->statusBar() ? toTw(q->statusBar()->height()) : 0);
    }
};

}  // namespace tarnis
