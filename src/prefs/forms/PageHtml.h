#pragma once
// Pages "HTML Liste" (participants, header and footer texts, colours, viewer) and
// "Presseliste" (lines per age class).
#include "prefs/PrefsState.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QButtonGroup;

namespace tarnis::prefs {

class ColourSwatch;
class SpinField;

class PageHtml : public QWidget {
    Q_OBJECT
public:
    explicit PageHtml(QWidget *parent = nullptr);
    void load(const HtmlPage &page);
    void read(HtmlPage &page) const;
    void cmdSelHTMLAnzeiger_Click();
    // cmdSelectColor(111..114).
    void cmdSelectColor_Click(int index);

signals:
    // A colour was chosen (the certificate preview redraws, as for every colour button).
    void colourChosen();

private:
    QRadioButton *ssoSelTN_[3];
    QButtonGroup *selGroup_;
    QLineEdit *edtHeader_[3], *edtFooter_[3], *edtHTMLAnzeiger_;
    ColourSwatch *swatch_[4];  // 111 Dokument, 112 Tabellenheader, 113 Tabelle, 114 Text
    QCheckBox *sscHTMLAnzeiger_;
};

class PagePresse : public QWidget {
    Q_OBJECT
public:
    explicit PagePresse(QWidget *parent = nullptr);
    void load(const QString &count);
    QString read() const;
    void UpDown1_DownClick();
    void UpDown1_UpClick();

private:
    SpinField *edtPresseAnzTn_;
};

}  // namespace tarnis::prefs
