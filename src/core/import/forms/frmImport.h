#pragma once
// The small note window shown while a result list is imported.
#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QFrame;

namespace tarnis {

class frmImport : public QDialog {
    Q_OBJECT
public:
    explicit frmImport(QWidget *owner = nullptr);
    // "Import läuft ... <line>", drawn at once although the import does not yield.
    void showLine(int line);

    QLabel *lblInfo = nullptr;

private:
    void paintNow();
    QFrame *fraInfo = nullptr;
    QLabel *Picture2 = nullptr;
    QElapsedTimer sincePaint_;
};

// What the window side of Ui::showImportNote, setImportNoteLine and hideImportNote
// calls: one note window, owned by the given window (else the active one).
void showImportNoteWindow(QWidget *owner = nullptr);
void setImportNoteWindowLine(int line);
void hideImportNoteWindow();
// The window while it is shown (for tests).
frmImport *importNoteWindow();

}  // namespace tarnis
