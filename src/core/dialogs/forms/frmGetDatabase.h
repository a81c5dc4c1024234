#pragma once
// The database selection and creation dialog.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;
class QTabWidget;

namespace tarnis {

class frmGetDatabase : public QDialog {
    Q_OBJECT
public:
    explicit frmGetDatabase(QWidget *owner = nullptr);

    QLineEdit *edtDatabase = nullptr;
    QLineEdit *edtMaxLaufErf = nullptr;
    QToolButton *cmdSelDatabase = nullptr;
    QPushButton *cmdGenDatabase = nullptr;
    QPushButton *cmdOK = nullptr;
    QTabWidget *SSTab1 = nullptr;

private:
    void cmdSelDatabase_Click();
    void cmdGenDatabase_Click();
    void cmdOK_Click();
};

// Shows the dialog modally; true when "&Fertig" stored its two fields (whatever they
// hold: an empty path sends the load sequence back here), false when it was closed.
bool ShowDatabaseDialog(QWidget *owner = nullptr);

}  // namespace tarnis
