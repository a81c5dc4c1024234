#include "print/ListFrame.h"

#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"
#include "platform/text/Clock.h"
#include "platform/text/TextRules.h"
#include "print/IntermediateRows.h"

namespace tarnis {

namespace {

const QString kSection = QStringLiteral("Listendruck");

QString setting(const QString &key, const QString &fallback) { return GetSetting(kSection, key, fallback); }

// The preferences store a font field left empty as "": the list's own default then.
print::FontSpec fontSetting(const QString &nameKey, const QString &nameDefault, const QString &sizeKey) {
    return print::FontSpec{GetSettingOrDefault(kSection, nameKey, nameDefault),
                           double(GetSettingLongOrDefault(kSection, sizeKey, 0))};
}

quint32 colourSetting(const QString &key) { return quint32(GetSettingLong(kSection, key, QStringLiteral("0"))); }

}  // namespace

ListSettings ListSettings::read(const QString &rowFontKey) {
    ListSettings s;
    const QString blank = QStringLiteral(" ");
    s.headertext = setting(QStringLiteral("Headertext"), QString());
    s.footertext = setting(QStringLiteral("Footertext"), QString());
    s.footerFont = fontSetting(QStringLiteral("Footer Fontname"), blank, QStringLiteral("Footer FontSize"));
    s.rowFont = fontSetting(QStringLiteral("Listen Fontname ") + rowFontKey, blank,
                            QStringLiteral("Listen FontSize ") + rowFontKey);
    s.groupFont = fontSetting(QStringLiteral("Gruppen Fontname"), blank, QStringLiteral("Gruppen FontSize"));
    s.columnNameFont = fontSetting(QStringLiteral("Gruppenueberschrift Fontname"), QString(),
                                   QStringLiteral("Gruppenueberschrift FontSize"));
    s.colorGruppe = colourSetting(QStringLiteral("Color Gruppe"));
    s.colorListenkopf = colourSetting(QStringLiteral("Color Listenkopf"));
    s.gitter = GetSettingBool(kSection, QStringLiteral("Gitter"), QStringLiteral("False"));
    return s;
}

ListFrame::ListFrame(print::IDocumentBuilder &builder, ListSettings settings)
    : builder_(builder), settings_(std::move(settings)) {}

void ListFrame::start(print::Orientation orientation, const QString &title) {
    builder_.setOrientation(orientation);
    builder_.startDoc();
    builder_.setHeaderFooterFont(settings_.footerFont);
    builder_.setHeader(title, settings_.headertext, formatDate(Today()));
    builder_.setFooter(QString(), settings_.footertext, QStringLiteral("Seite %d"));
    builder_.setTableGridLines(settings_.gitter);
    kept_ = 0;
    rowAdded_ = false;
}

void ListFrame::groupHeading(const print::TableFormat &barFormat, const QString &barText,
                             const print::TableFormat &format, const print::Cells &columnNames) {
    pageBreakTest();
    headingBars(barFormat, true, barText, format, columnNames);
}

void ListFrame::pageBreakTest() {
    // kept_ stays 0 until the first row is placed, so the first group never breaks.
    if (builder_.bodyBottom() - builder_.currentY() < kept_) builder_.newPage();
}

void ListFrame::headingBars(const print::TableFormat &barFormat, bool blankBar, const QString &barText,
                            const print::TableFormat &format, const print::Cells &columnNames) {
    builder_.setFont(settings_.groupFont);
    if (blankBar) builder_.addTable(barFormat, {}, {{QStringLiteral(" ")}}, 0, settings_.colorGruppe);
    builder_.addTable(barFormat, {}, {{barText}}, 0, settings_.colorGruppe);
    builder_.setFont(settings_.columnNameFont);
    builder_.addTable(format, {}, {columnNames}, 0, settings_.colorListenkopf);
}

void ListFrame::addRow(const print::TableFormat &format, const print::Cells &cells) {
    builder_.addTable(format, {}, {cells}, 0, 0);
    measureOnce();
}

void ListFrame::measureOnce() {
    if (!rowAdded_) {
        rowAdded_ = true;
        kept_ = builder_.currentY();
    }
}

void ListFrame::finish(print::PrintControl &control, MainWindowApi &window) {
    finishDocument(builder_, control, window);
}

void finishDocument(print::IDocumentBuilder &builder, print::PrintControl &control, MainWindowApi &window) {
    auto doc = builder.endDoc();
    control.setDocument(doc);
    window.ShowPageCount();
    if (window.printDirect())
        control.printDocument(*doc);
    else
        window.showPreview();
}

print::PrintControl *listControl(const QString &hint, const QString &procedure) {
    try {
        return &print::printControl();
    } catch (const AppError &e) {
        ShowError(e, hint, procedure);
        return nullptr;
    }
}

void abandonList(print::IDocumentBuilder &builder, const QString &procedure,
                 const std::function<QString(const AppError &)> &hintFor) {
    const AppError error = toAppError(std::current_exception());
    HideWorking();
    builder.abortDoc();
    ShowError(error, hintFor(error), procedure);
}

void abandonList(print::IDocumentBuilder &builder, const QString &procedure, const QString &hint) {
    abandonList(builder, procedure, [&hint](const AppError &) { return hint; });
}

const print::Cells &raceListColumnNames() {
    static const print::Cells names{QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("JG"),
                                    QStringLiteral("Verein"), QStringLiteral("EW"), QStringLiteral("ZW"),
                                    QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                                    QStringLiteral("7"), QStringLiteral("8")};
    return names;
}

QString listField(const QString &text, int width) { return standingsField(text, width); }

}  // namespace tarnis
