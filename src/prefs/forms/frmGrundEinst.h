#pragma once
// The preferences dialog: six pages on one tab control, a "&File" menu with its
// three tools, the load of every page and the save of every setting.
#include "prefs/PrefsState.h"

#include <QDialog>
#include <memory>

class QTabWidget;

namespace tarnis::print {
struct Document;
}

namespace tarnis::prefs {

class PageCertificate;
class PageGeneral;
class PageGrid;
class PageHtml;
class PageLists;
class PagePresse;

class frmGrundEinst : public QDialog {
    Q_OBJECT
public:
    explicit frmGrundEinst(QWidget *owner = nullptr);
    ~frmGrundEinst() override;

    // Shows the dialog modally over `owner`, loaded; returns when it has closed.
    static void showModal(QWidget *owner);

    // The load sequence: every page from the store and the series file, the preview
    // drawn, page "Urkundendruck" in front.
    void Form_Load();
    // ActiveBar2_ToolClick: 20001 "&Abbrechen", 20002 "&Speichern", 20003 "&Beenden".
    void toolClick(int id);
    // The values the pages hold now.
    PreferencesState state() const;
    bool isOpen() const { return open_; }

    QTabWidget *tabs() const;
    PageGeneral *generalPage() const;
    PageLists *listPage() const;
    PageCertificate *certificatePage() const;
    PageHtml *htmlPage() const;
    PageGrid *gridPage() const;
    PagePresse *pressPage() const;
    // The document the preview shows (nullptr before the first drawing).
    std::shared_ptr<const print::Document> previewDocument() const;

    // SetSaveRequest: 0 the background picture, 1 the database path.
    void SetSaveRequest(int index);
    // Draws the certificate preview from the fields.
    void PrintPreview();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape closes nothing: the dialog has no cancel key.
    void reject() override {}

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    bool open_ = false;
};

}  // namespace tarnis::prefs
