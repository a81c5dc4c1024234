#pragma once
// Page "Listendruck": list formats, minimum count, the five list fonts, two colours,
// header and footer texts and the grid-line switch.
#include "prefs/PrefsState.h"

#include <QWidget>

class QLineEdit;
class QRadioButton;

namespace tarnis::prefs {

class ColourSwatch;

class PageLists : public QWidget {
    Q_OBJECT
public:
    explicit PageLists(QWidget *parent = nullptr);
    void load(const ListPage &page);
    void read(ListPage &page) const;

    // cmdSelect(index): 5 and 6 the two colours, 100 to 104 the font rows.
    void cmdSelect_Click(int index);
    void cmdDefaultEndwertung_Click();
    void cmdDefaultZwischen_Click();

signals:
    // A font name or size field changed (the certificate preview redraws).
    void fontFieldEdited();

private:
    QLineEdit *edtFormatZwischen_, *edtFormatEndwertung_, *edtMinWTforPrinting_, *edtKopfzeile_, *edtFusszeile_;
    QLineEdit *fontName_[5], *fontSize_[5];
    ColourSwatch *shape1_, *shape2_;
    QRadioButton *optGitterNein_, *optGitterJa_;
};

// The built-in table formats the two buttons put into the format fields.
inline const QString kDefaultFormatEndwertung = QStringLiteral("^1000|<3250|<3250|^1000|<5050|^1000;");
inline const QString kDefaultFormatZwischen =
    QStringLiteral("<2200|<2200|^800|<2950|^700|^700|^610|^610|^610|^610|^610|^610|^610|^630;");

}  // namespace tarnis::prefs
