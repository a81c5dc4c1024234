#pragma once
// Page "Urkundendruck": the certificate designer with its 15 line frames, the line
// count, the background picture, the orientation and the live preview.
#include "prefs/PrefsState.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace tarnis::print {
class PreviewWidget;
}

namespace tarnis::prefs {

class ColourSwatch;
class SpinField;

class PageCertificate : public QWidget {
    Q_OBJECT
public:
    explicit PageCertificate(QWidget *parent = nullptr);

    // Shows the loaded layout: background, orientation, lines 0 to count - 1 with
    // their content kinds offered from `kinds`, the selector with line 1 in front.
    void showLayout(const CertificatePage &page, const QStringList &kinds);
    void read(CertificatePage &page) const;

    QLineEdit *countField() const { return edtUrkunde_; }
    QLineEdit *backgroundField() const { return edtBackground_; }
    print::PreviewWidget *preview() const { return vsPrinter1_; }
    QStackedWidget *lineFrames() const { return frames_; }
    QComboBox *lineSelector() const { return cboSelZeile_; }

    void cboSelZeile_Click();
    void cmdSelectFont_Click(int line);
    void cmdSelectColor_Click(int line);
    void cmdSelectName_Click();
    void positionSpin(int line, bool x, int delta);

signals:
    // Something the preview shows was edited.
    void redrawNeeded();
    void lineCountEdited(const QString &text);
    void printRequested();

private:
    struct Line {
        QComboBox *cboInhalt;
        QLineEdit *edtText, *edtFontName, *edtGroesse;
        SpinField *edtXPos, *edtYPos;
        ColourSwatch *shaFarbe;
    };
    Line lines_[kCertificateLines];
    QLineEdit *edtUrkunde_, *edtBackground_;
    QComboBox *cboSelZeile_;
    QRadioButton *optHochformat_, *optQuerformat_;
    QButtonGroup *orientation_;
    QStackedWidget *frames_;
    print::PreviewWidget *vsPrinter1_;
    int count_ = 0;
};

}  // namespace tarnis::prefs
