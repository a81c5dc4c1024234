#include "mainwin/forms/frmSerienwertungImpl.h"

#include "core/db/Maintenance.h"
#include "core/db/OpenSeries.h"

namespace tarnis {

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
        if (!IsCompiled() && textrules::Trim(gDBPath).isEmpty()) gDBPath = ProgramFolder() + QStringLiteral("/Teilnehmer.mdb");

        if (IsCtrlDown() && ui().message(QStringLiteral("Menu-Einstellungen löschen?"), MsgButtons::YesNo,
                                         MsgIcon::Question) == MsgAnswer::Yes) {
            const QString layout = UserDataFilePath(kLayoutFile);
            if (QFileInfo(layout).isFile()) QFile::remove(layout);
        }
        if (IsShiftDown())
            throw AppError(err::InvalidPath, kRuntimeSource, QStringLiteral("Ungültiger Pfad."));

        // One connection: the previous one is closed before the next opens.
        closeDatabase();
        gDB = OpenSeriesFile(gDBPath);
        RemoveLeftoverTemporaries(gDBPath);

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

        // A zoom that is no number stops the load here, with the error dialog, before the
        // printer settings and the layout are read.
        textrules::CLng(SettingNumber(kLastUser, QStringLiteral("Zoom Slider Value"), QStringLiteral("50")));
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

}  // namespace tarnis
