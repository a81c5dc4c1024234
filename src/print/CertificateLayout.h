#pragma once
// The certificate layout in the settings store: section Urkundendruck with the
// lines "Zeile <n> ...", the orientation and the background picture, and the
// second copy of the line count under LastUser. The certificate printers, the
// certificate designer, the save of the preferences and the club list all read
// and write it through here, each with its own defaults.
#include "platform/printing/PageModel.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tarnis::certificate {

inline const QString kSection = QStringLiteral("Urkundendruck");
// The designer's line slots; the printers read whatever count is stored.
inline constexpr int kDesignerLines = 15;

// Who reads: the defaults differ (a line of an empty store is "Text" in the
// designer but "nichts" for the printers; the designer starts in portrait).
enum class Reader { Printer, Designer };

// The seven settings of one line, in the order the save writes them.
enum class LineField { Fontname, Fontsize, XPos, YPos, Inhalt, Text, Farbe };
inline constexpr LineField kLineFields[] = {LineField::Fontname, LineField::Fontsize, LineField::XPos,
                                             LineField::YPos,     LineField::Inhalt,   LineField::Text,
                                             LineField::Farbe};

// " X-Pos", " Fontname", ...: each begins with a blank.
QString lineSuffix(LineField field);
// "Zeile " + n in decimal + suffix: "Zeile 10 X-Pos".
QString lineKey(int line, LineField field);
QString lineDefault(LineField field, Reader reader);

// One line as stored: raw texts, nothing converted or trimmed.
struct LineSettings {
    QString xPos, yPos, fontName, fontSize, text, farbe, inhalt;

    QString &operator[](LineField field);
    const QString &operator[](LineField field) const;
    bool operator==(const LineSettings &) const = default;
};

LineSettings readLine(int line, Reader reader);
QString readLineField(int line, LineField field, Reader reader);
// Writes all seven keys of the line, in the save's order.
void writeLine(int line, const LineSettings &settings);

// Where a count is kept: the all-finishers certificates read Urkundendruck, the
// class and single certificates and the designer read LastUser.
enum class CountSource { Urkundendruck, LastUser };
// The stored count text, default "5".
QString readLineCountText(CountSource source);
void writeLineCountText(CountSource source, const QString &text);
// The count as the printers convert it: a whole number of at most 16 bits; a
// text that is no whole number raises 13, one out of range 6.
int printerLineCount(CountSource source);

// Reads the lines 0 .. count-1; the keys of higher lines are neither read nor
// touched, so lowering the count keeps them for later.
std::vector<LineSettings> readLines(int count, Reader reader);
void writeLines(const std::vector<LineSettings> &lines);

// The orientation rule: portrait when Hochformat is true, else landscape when
// Querformat is true, else portrait.
print::Orientation orientationOf(bool hochformat, bool querformat);
// As the printers and the club list read it (both default False; Querformat is
// read only when Hochformat is false). A text that is no truth value raises 13.
print::Orientation printerOrientation();

// The two options as the designer loads them (defaults True and False); a value
// that is no truth value gives nothing, so the option keeps its state.
struct OrientationOptions {
    std::optional<bool> hochformat, querformat;
};
OrientationOptions designerOrientation();
// Stored as "True"/"False".
void writeOrientation(bool hochformat, bool querformat);

QString readBackgroundPicture();  // default empty; only the designer reads it
void writeBackgroundPicture(const QString &path);

// The content kinds in the designer's order: the ten fixed kinds, then for each
// race r from 1 "Lauf_<r>_Punkte" and "Lauf_<r>_Zeit".
QStringList contentKinds(int races);
// LastUser/MaxLaufErf as the designer's combo reads it: default 0, and 0 for a
// text that is no whole number.
int designerRaceCount();

// The printers' template rule. T is the text trimmed, p the place of the first
// "%s": none gives the value alone; at the start the value, a blank and T from
// its fourth character; further in the part before it, a blank and the value.
// The line is trimmed.
QString applyTemplate(const QString &text, const QString &value);
// The same rule with the text split once, for a line printed on many certificates.
class ValueTemplate {
public:
    explicit ValueTemplate(const QString &text = QString());
    QString apply(const QString &value) const;

private:
    enum class Mark { None, AtStart, Inside } mark_ = Mark::None;
    QString part_;  // at the start: T from its fourth character; inside: the part before it and a blank
};

// An X-Pos whose leading number rounds to 0 centres the line; an empty text or
// one without a leading number does too.
bool centresLine(const QString &xPos);
// The left edge of a centred line as the printers place it: both widths rounded
// to whole twips, the halves kept with their fraction.
double centredX(double pageWidth, double textWidth);

// The largest font size the printers accept; a larger one is refused with a
// message rather than handed to the font engine.
inline constexpr int kMaxFontSize = 1638;

// The text of a field as the printers take it: one saved empty (the designer stores
// an emptied field so) is the default; an empty X-Pos, which centres, stays empty.
QString printedText(const LineSettings &settings, LineField field);

// A line converted the way the printers convert it, in the order they convert:
// Fontsize, Y-Pos, a non-centring X-Pos, Farbe, each as a whole number (13 when
// it is none). Content and template stay texts, trimmed.
struct PrintLine {
    QString content;  // Inhalt, trimmed
    QString text;     // Text, trimmed
    print::FontSpec font;
    bool centred = false;
    int x = 0, y = 0;
    quint32 colour = 0;
};
// `line` names the line in a message.
PrintLine convertForPrinting(int line, const LineSettings &settings);

}  // namespace tarnis::certificate
