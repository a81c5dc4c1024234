#pragma once
// Small controls the preferences pages share: the colour swatch, a text field with
// two spin arrows, and a frame with a caption.
#include "prefs/PrefsState.h"

#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>

class QToolButton;
class QGridLayout;

namespace tarnis::prefs {

// Shows one colour as a rounded rectangle; keeps the raw stored value (system
// colours included).
class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(const QString &objectName, QWidget *parent = nullptr);
    void setColour(Colour colour);
    Colour colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Colour colour_ = 0;
};

// A text field that takes any text, with an up and a down arrow beside it.
class SpinField : public QWidget {
    Q_OBJECT
public:
    SpinField(const QString &objectName, QWidget *parent = nullptr);
    QLineEdit *edit() const { return edit_; }
    QToolButton *upButton() const { return up_; }
    QToolButton *downButton() const { return down_; }

signals:
    void upClicked();
    void downClicked();

private:
    QLineEdit *edit_;
    QToolButton *up_, *down_;
};

// The font dialog for a name and a size field (and a bold flag text when given):
// preset from the fields, the choice written back; a cancel leaves them. A size that
// is no number presets 12; with `reportBadSize` it is also reported ("Fehler in
// Funktion InitFontReq Error: Typen unverträglich") before the dialog. True when a font
// was chosen.
bool pickFont(QLineEdit *name, QLineEdit *size, QString *bold = nullptr, bool reportBadSize = false);
// The colour dialog preset with the swatch's colour; a cancel leaves it. True when chosen.
bool pickColour(ColourSwatch *swatch);

QLineEdit *namedEdit(const QString &objectName, QWidget *parent);
// A group box with a grid layout, returned through `grid`.
QGroupBox *framed(const QString &caption, QGridLayout *&grid, QWidget *parent);
// Sets a field's text the way the user's edit would arrive: its change handling runs
// only when the text differs.
void setFieldText(QLineEdit *edit, const QString &text);
// Hands the text of every cell editor still open under `root` to its table, as
// leaving the cell would: a menu or the close box takes no focus from it.
void commitOpenEdits(QWidget *root);

}  // namespace tarnis::prefs
