#pragma once
// What the printed lists share: the Listendruck settings, the start of the
// document with page header and footer, rows, the age-class heading with its page
// break, and the end in the preview or on the printer.
#include "mainwin/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

#include <QString>

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
    // One row as a table of its own; the first row of the document fixes the space a
    // new group needs at the foot of a page.
    void addRow(const print::TableFormat &format, const print::Cells &cells);
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

// A field as the lists print it: control characters as blanks, trimmed, cut to width
// characters, trimmed again.
QString listField(const QString &text, int width);

}  // namespace tarnis
