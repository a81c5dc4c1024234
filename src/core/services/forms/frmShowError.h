#pragma once
// The common error dialog: what failed, where, and the caller's hint; the user
// goes on, ends the program, or first saves a report file.
#include "platform/ui/Ui.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnis {

class frmShowError : public QDialog {
    Q_OBJECT
public:
    explicit frmShowError(const ErrorReport &report);

    // "&beenden" gives EndProgram; "&weiter" and the close box give Continue.
    ErrorChoice choice() const { return choice_; }

    QLabel *lblFunction;
    QLabel *lblError;
    QLabel *lblZusatzText;
    QLineEdit *edtInfo;
    QLabel *Picture1;
    QGroupBox *fraInfo;
    QPushButton *cmdEnde;
    QPushButton *Command1;
    QPushButton *cmdWeiter;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void activated();
    // The bands of the error text and the hint grow, and the window with them, until
    // their whole texts show.
    void fitTexts();

    ErrorReport report_;
    ErrorChoice choice_ = ErrorChoice::Continue;
};

// Fills the info band of a window that has "Picture1", "fraInfo" and "edtInfo".
void ShowFormInfo(QWidget *form);

}  // namespace tarnis
