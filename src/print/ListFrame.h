#pragma once
// What the printed lists share: the Listendruck settings, the start of the
// document with page header and footer, rows, the age-class heading with its page
// break, and the end in the preview or on the printer.
#include "core/services/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

#include <QString>
#include <functional>

namespace tarnis {

// Section Listendruck as the lists read it. A size or colour that is no whole
// number, or a Gitter that is no truth value, raises 13.
struct ListSettings {
    QString headertext, footertext;
    print::FontSpec footerFont, rowFont, groupFont, columnNameFont;
    quint32 colorGruppe = 0, colorListenkopf = 0;
    bool gitter = false;

    // rowFontKey: "Groß" (final and club lists) or "Klein" (intermediate and grid lists).
    static ListSettings read(const QString &rowFontKey);
};

class ListFrame {
public:
    ListFrame(print::IDocumentBuilder &builder, ListSettings settings);

    // Orientation, new document, header "title | Headertext | date", footer
    // " | Footertext | Seite %d", table lines.
    void start(print::Orientation orientation, const QString &title);
    // The group heading before the rows of a class: the page-break test, a blank bar
    // and the class bar (barFormat, group shade), then the column names.
    void groupHeading(const print::TableFormat &barFormat, const QString &barText,
                      const print::TableFormat &format, const print::Cells &columnNames);
    // The parts of groupHeading for lists that test at the class change and print
    // the heading later: the page-break test, and the bars (the blank one only
    // where asked) with the column names.
    void pageBreakTest();
    void headingBars(const print::TableFormat &barFormat, bool blankBar, const QString &barText,
                     const print::TableFormat &format, const print::Cells &columnNames);
    // One row as a table of its own; the first row of the document fixes the space a
    // new group needs at the foot of a page.
    void addRow(const print::TableFormat &format, const print::Cells &cells);
    // Fixes that space now unless a row did already (a list whose first row is
    // not printed measures before any row).
    void measureOnce();
    // Ends the document, hands it to the pane, updates the page label, then prints
    // it or shows the preview.
    void finish(print::PrintControl &control, MainWindowApi &window);

    const ListSettings &settings() const { return settings_; }

private:
    print::IDocumentBuilder &builder_;
    ListSettings settings_;
    print::Twips kept_ = 0;
    bool rowAdded_ = false;
};

// Ends the document, hands it to the pane, updates the page label, then prints
// it or shows the preview: the end of every list and certificate run.
void finishDocument(print::IDocumentBuilder &builder, print::PrintControl &control, MainWindowApi &window);

// The window's print control; when there is none, the error dialog with the
// list's hint and name, and nothing.
print::PrintControl *listControl(const QString &hint, const QString &procedure);

// The error path of every list, called inside its catch: the progress window
// closes, the unfinished document is dropped, and the error dialog shows the hint
// that fits the error, with the list's name.
void abandonList(print::IDocumentBuilder &builder, const QString &procedure,
                 const std::function<QString(const AppError &)> &hintFor);
void abandonList(print::IDocumentBuilder &builder, const QString &procedure, const QString &hint);

// The grid and intermediate lists: six columns of names and totals, eight of races.
inline const QString kRaceListFormat =
    QStringLiteral("<2200|<2200|^800|<2950|^700|^700|^610|^610|^610|^610|^610|^610|^610|^630;");
const print::Cells &raceListColumnNames();

inline const QString kPrintProblem = QStringLiteral("There was a problem printing to your printer.");

// A field as the lists print it: control characters as blanks, trimmed, cut to width
// characters, trimmed again.
QString listField(const QString &text, int width);

}  // namespace tarnis
