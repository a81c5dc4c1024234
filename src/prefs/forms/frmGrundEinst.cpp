#include "prefs/forms/frmGrundEinst.h"

#include "core/db/Globals.h"
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "platform/printing/PrintControl.h"
#include "platform/qt/PreviewWidget.h"
#include "platform/qt/QtTextMetrics.h"
#include "platform/settings/Settings.h"
#include "platform/ui/Ui.h"
#include "prefs/CertificateDesigner.h"
#include "prefs/CertificatePreview.h"
#include "prefs/FieldRules.h"
#include "prefs/PrefsLoad.h"
#include "prefs/PrefsSave.h"
#include "prefs/forms/PageCertificate.h"
#include "prefs/forms/PageGeneral.h"
#include "prefs/forms/PageGrid.h"
#include "prefs/forms/PageHtml.h"
#include "prefs/forms/PageLists.h"
#include "prefs/forms/PrefsWidgets.h"

#include <algorithm>
#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarnis::prefs {

namespace {

constexpr int kToolCancel = 20001, kToolSave = 20002, kToolExit = 20003;

void report(const char *procedure, const QString &hint = QString()) {
    try {
        ShowError(toAppError(std::current_exception()), hint, QString::fromUtf8(procedure));
    } catch (...) {
    }
}

}  // namespace

struct frmGrundEinst::Impl {
    frmGrundEinst *q;
    QTabWidget *SSTab1 = nullptr;
    PageGeneral *general = nullptr;
    PageLists *lists = nullptr;
    PageCertificate *certificate = nullptr;
    PageHtml *html = nullptr;
    PageGrid *grid = nullptr;
    PagePresse *presse = nullptr;

    print::QtTextMetrics metrics;
    print::DocumentBuilder builder{metrics, [] { return print::PageSetup{}; }};
    std::shared_ptr<const print::Document> document;
    bool mLayoutGeladen = false;
    QString reportedBackground;  // the picture whose failure was reported last
    StoredLineCount countAtOpen;  // put back by a cancel: as the opening or the last save left it

    void build();
    void LoadUrkundenzeilen();
    int linesHeld = 0;  // certificate lines shown since the dialog was loaded
    void edtUrkunde_Change(const QString &text);
    bool SaveEinstellungen();
    void CancelDialog();
    void finish(int result);
    void print();
};

frmGrundEinst::frmGrundEinst(QWidget *owner) : QDialog(owner), d(std::make_unique<Impl>()) {
    d->q = this;
    d->build();
}

frmGrundEinst::~frmGrundEinst() = default;

void frmGrundEinst::Impl::build() {
    q->setObjectName(QStringLiteral("frmGrundEinst"));
    q->setWindowTitle(QStringLiteral("Grundeinstellungen"));
    auto *layout = new QVBoxLayout(q);

    auto *menu = new QMenuBar(q);
    menu->setObjectName(QStringLiteral("ActiveBar2"));
    QMenu *file = menu->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("bndFile"));
    const struct {
        int id;
        const char *name, *caption, *tip;
    } tools[3] = {
        {kToolCancel, "mnuCancel", "&Abbrechen", "Dialog schließen, ohne die Einstellungen zu speichern"},
        {kToolSave, "Einstellungen speichern", "&Speichern", "Save"},
        {kToolExit, "Dialog beenden und Einstellungen speichern ...", "&Beenden", "Exit"},
    };
    for (const auto &t : tools) {
        QAction *action = file->addAction(QString::fromUtf8(t.caption));
        action->setObjectName(QString::fromUtf8(t.name));
        action->setToolTip(QString::fromUtf8(t.tip));
        action->setData(t.id);
        const int id = t.id;
        QObject::connect(action, &QAction::triggered, q, [this, id] { q->toolClick(id); });
    }
    file->setToolTipsVisible(true);
    layout->setMenuBar(menu);

    SSTab1 = new QTabWidget(q);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    general = new PageGeneral;
    lists = new PageLists;
    certificate = new PageCertificate;
    html = new PageHtml;
    grid = new PageGrid;
    presse = new PagePresse;
    SSTab1->addTab(general, QStringLiteral("Grundeinstellungen"));
    SSTab1->addTab(lists, QStringLiteral("Listendruck"));
    SSTab1->addTab(certificate, QStringLiteral("Urkundendruck"));
    SSTab1->addTab(html, QStringLiteral("HTML Liste"));
    SSTab1->addTab(grid, QStringLiteral("Anzeige Bildschirm"));
    SSTab1->addTab(presse, QStringLiteral("Presseliste"));
    layout->addWidget(SSTab1);

    // No button answers Enter: a dialog would make the first one its default, and
    // Enter in any field would then create a series file or print.
    for (QPushButton *button : q->findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Every font, size, text and position field redraws the certificate preview,
    // and so does every colour button of the designer and the HTML page.
    QObject::connect(certificate, &PageCertificate::redrawNeeded, q, [this] { q->PrintPreview(); });
    QObject::connect(lists, &PageLists::fontFieldEdited, q, [this] { q->PrintPreview(); });
    QObject::connect(grid, &PageGrid::fontFieldEdited, q, [this] { q->PrintPreview(); });
    QObject::connect(html, &PageHtml::colourChosen, q, [this] { q->PrintPreview(); });
    QObject::connect(certificate, &PageCertificate::lineCountEdited, q,
                     [this](const QString &text) { edtUrkunde_Change(text); });
    QObject::connect(certificate, &PageCertificate::printRequested, q, [this] { print(); });
    QObject::connect(general, &PageGeneral::databaseFileRequested, q, [this] { q->SetSaveRequest(1); });
    q->resize(1000, 720);
}

void frmGrundEinst::showModal(QWidget *owner) {
    frmGrundEinst dialog(owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.Form_Load();
    dialog.show();
    const bool scripted = ui().drivePreferences([&dialog](int id) {
        if (id == 0) dialog.close();
        else dialog.toolClick(id);
        return dialog.isOpen();
    });
    if (!scripted) {
        if (dialog.isOpen()) dialog.exec();
        return;
    }
    // A script that left the dialog open has failed already; it goes without a save.
    if (dialog.isOpen()) dialog.d->CancelDialog();
}

void frmGrundEinst::Form_Load() {
    open_ = true;
    d->mLayoutGeladen = false;
    d->reportedBackground.clear();
    try {
        d->countAtOpen = rememberLineCount();
    } catch (...) {
        report("Form_Load");
    }
    d->linesHeld = 0;
    d->LoadUrkundenzeilen();
    d->general->load();
    try {
        d->lists->load(LoadListendruck());
        setFieldText(d->certificate->countField(), LoadUrkundeCountField());
        d->html->load(LoadHTMLEinstellungen());
        d->grid->load(LoadGridStyle());
        d->presse->load(LoadPresseliste());
    } catch (...) {
        report("Form_Load");
    }
    ApplyFormStyle(this);
    d->SSTab1->setCurrentIndex(2);
}

void frmGrundEinst::Impl::LoadUrkundenzeilen() {
    try {
        CertificatePage current;
        certificate->read(current);
        const int count = designerLineCount();
        const CertificatePage page = linesHeld == 0 ? LoadUrkundeLayout(count, current)
                                                    : ResizeUrkundeLayout(count, linesHeld, current);
        certificate->showLayout(page, designerContentKinds());
        linesHeld = std::max(linesHeld, count);
    } catch (...) {
        report("LoadUrkundenzeilen");
    }
    q->PrintPreview();
    mLayoutGeladen = true;
    q->PrintPreview();
}

void frmGrundEinst::Impl::edtUrkunde_Change(const QString &text) {
    int count = 0;
    switch (checkLineCount(text, count)) {
    case LineCountCheck::Empty:
        if (!text.isEmpty()) certificate->countField()->setText(QString());
        return;
    case LineCountCheck::TooLarge:
        ui().message(QStringLiteral("Wert für Urkundenzeilen zu groß !!!"), MsgButtons::Ok, MsgIcon::Critical);
        certificate->countField()->setText(QString());
        return;
    case LineCountCheck::Valid:
        break;
    }
    try {
        SaveSetting(kLastUser, QStringLiteral("Urkundenzeilen"), text);
    } catch (...) {
        report("edtUrkunde_Change");
        return;
    }
    LoadUrkundenzeilen();
}

void frmGrundEinst::toolClick(int id) {
    switch (id) {
    case kToolCancel:
        d->CancelDialog();
        return;
    case kToolSave:
        d->SaveEinstellungen();
        return;
    case kToolExit:
        if (d->SaveEinstellungen()) d->finish(QDialog::Accepted);
        return;
    default:
        ui().message(QStringLiteral("ToolID nicht definiert !!!"), MsgButtons::Ok, MsgIcon::None);
    }
}

bool frmGrundEinst::Impl::SaveEinstellungen() {
    commitOpenEdits(q);
    try {
        prefs::SaveEinstellungen(q->state());
        // From now on a cancel keeps the line count this save stored.
        countAtOpen = rememberLineCount();
        return true;
    } catch (...) {
        report("SaveEinstellungen", QStringLiteral("Die Einstellungen konnten nicht gespeichert werden."));
        return false;
    }
}

void frmGrundEinst::Impl::CancelDialog() {
    // Nothing is saved; only the line count, which the designer stores at once, goes back
    // to what the last save (or the opening) left. The table grids write at once, so a
    // cell still being edited there is written like the others.
    commitOpenEdits(general);
    try {
        restoreLineCount(countAtOpen);
    } catch (...) {
        report("CancelDialog");
    }
    finish(QDialog::Rejected);
}

void frmGrundEinst::Impl::finish(int result) {
    q->open_ = false;
    q->done(result);
}

void frmGrundEinst::closeEvent(QCloseEvent *event) {
    if (open_ && !d->SaveEinstellungen()) {
        event->ignore();
        return;
    }
    if (open_) d->finish(QDialog::Accepted);
    event->accept();
}

PreferencesState frmGrundEinst::state() const {
    PreferencesState s;
    d->certificate->read(s.certificate);
    d->lists->read(s.lists);
    d->general->read(s.general);
    d->html->read(s.html);
    d->grid->read(s.grid);
    s.presseAnzTn = d->presse->read();
    return s;
}

void frmGrundEinst::SetSaveRequest(int index) {
    if (index == 0) {
        const QString chosen = ui().saveFileName(
            {QString(), QStringLiteral("Bilder (*.bmp)"), gCurDir + QStringLiteral("/Urkunde.bmp"), QString()});
        if (!chosen.isEmpty()) d->certificate->backgroundField()->setText(chosen);
    } else if (index == 1) {
        QLineEdit *path = d->general->databaseField();
        const QString chosen =
            ui().saveFileName({QString(), QStringLiteral("Access (*.mdb)"), path->text(), QString()});
        if (!chosen.isEmpty()) path->setText(chosen);
    }
}

void frmGrundEinst::PrintPreview() {
    if (!d->mLayoutGeladen) return;
    CertificatePage page;
    d->certificate->read(page);
    bool pictureLoads = true;
    if (!page.background.isEmpty()) {
        // Only a regular file is read: a named pipe or a device would block the dialog.
        const QFileInfo file(page.background);
        pictureLoads = file.isFile() && !QImage(page.background).isNull();
        if (pictureLoads) {
            d->reportedBackground.clear();
        } else if (d->reportedBackground != page.background) {
            // Reported once per name: the lines are still drawn, without the picture.
            d->reportedBackground = page.background;
            const bool exists = file.exists();
            ShowError(AppError(exists ? 481 : 53, kRuntimeSource,
                               exists ? QStringLiteral("Ungültiges Bild: %1").arg(page.background)
                                      : QStringLiteral("Datei nicht gefunden: %1").arg(page.background)),
                      QString(), QStringLiteral("PrintPreview"));
        }
    }
    try {
        d->document = prefs::PrintPreview(d->builder, page, pictureLoads);
        d->certificate->preview()->setDocument(d->document);
        d->certificate->preview()->setPage(1);
    } catch (...) {
        d->builder.abortDoc();
        report("PrintPreview");
    }
}

void frmGrundEinst::Impl::print() {
    if (!document) return;
    try {
        print::printControl().printDocument(*document);
    } catch (...) {
        report("cmdPrint_Click", QStringLiteral("There was a problem printing to your printer."));
    }
}

QTabWidget *frmGrundEinst::tabs() const { return d->SSTab1; }
PageGeneral *frmGrundEinst::generalPage() const { return d->general; }
PageLists *frmGrundEinst::listPage() const { return d->lists; }
PageCertificate *frmGrundEinst::certificatePage() const { return d->certificate; }
PageHtml *frmGrundEinst::htmlPage() const { return d->html; }
PageGrid *frmGrundEinst::gridPage() const { return d->grid; }
PagePresse *frmGrundEinst::pressPage() const { return d->presse; }
std::shared_ptr<const print::Document> frmGrundEinst::previewDocument() const { return d->document; }

}  // namespace tarnis::prefs
