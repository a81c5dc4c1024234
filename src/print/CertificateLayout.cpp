#include "print/CertificateLayout.h"

#include "core/db/Schema.h"
#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"

#include <algorithm>
#include <cmath>

namespace tarnis::certificate {

namespace {

const QString kLastUser = QStringLiteral("LastUser");
const QString kCountKey = QStringLiteral("Urkundenzeilen");

QString countSection(CountSource source) { return source == CountSource::LastUser ? kLastUser : kSection; }

std::optional<bool> truthValue(const QString &text) {
    try {
        return textrules::CBool(text);
    } catch (const AppError &) {
        return std::nullopt;
    }
}

QString truthText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

QString lineSuffix(LineField field) {
    switch (field) {
    case LineField::XPos: return QStringLiteral(" X-Pos");
    case LineField::YPos: return QStringLiteral(" Y-Pos");
    case LineField::Fontname: return QStringLiteral(" Fontname");
    case LineField::Fontsize: return QStringLiteral(" Fontsize");
    case LineField::Text: return QStringLiteral(" Text");
    case LineField::Farbe: return QStringLiteral(" Farbe");
    case LineField::Inhalt: return QStringLiteral(" Inhalt");
    }
    return {};
}

QString lineKey(int line, LineField field) {
    return QStringLiteral("Zeile ") + QString::number(line) + lineSuffix(field);
}

QString lineDefault(LineField field, Reader reader) {
    switch (field) {
    case LineField::XPos:
    case LineField::YPos: return QStringLiteral("1000");
    case LineField::Fontname: return QStringLiteral("Arial");
    case LineField::Fontsize: return QStringLiteral("12");
    case LineField::Text: return QStringLiteral("TEXT TEXT");
    case LineField::Farbe: return QStringLiteral("000000");
    case LineField::Inhalt: return reader == Reader::Designer ? QStringLiteral("Text") : QStringLiteral("nichts");
    }
    return {};
}

QString &LineSettings::operator[](LineField field) {
    switch (field) {
    case LineField::XPos: return xPos;
    case LineField::YPos: return yPos;
    case LineField::Fontname: return fontName;
    case LineField::Fontsize: return fontSize;
    case LineField::Text: return text;
    case LineField::Farbe: return farbe;
    case LineField::Inhalt: break;
    }
    return inhalt;
}

const QString &LineSettings::operator[](LineField field) const {
    return const_cast<LineSettings &>(*this)[field];
}

QString readLineField(int line, LineField field, Reader reader) {
    return GetSetting(kSection, lineKey(line, field), lineDefault(field, reader));
}

LineSettings readLine(int line, Reader reader) {
    LineSettings s;
    for (LineField f : kLineFields) s[f] = readLineField(line, f, reader);
    return s;
}

void writeLine(int line, const LineSettings &settings) {
    for (LineField f : kLineFields) SaveSetting(kSection, lineKey(line, f), settings[f]);
}

QString readLineCountText(CountSource source) {
    return GetSetting(countSection(source), kCountKey, QStringLiteral("5"));
}

void writeLineCountText(CountSource source, const QString &text) {
    SaveSetting(countSection(source), kCountKey, text);
}

int printerLineCount(CountSource source) {
    return textrules::CInt(double(GetSettingLongOrDefault(countSection(source), kCountKey, 5)));
}

std::vector<LineSettings> readLines(int count, Reader reader) {
    std::vector<LineSettings> lines;
    for (int n = 0; n < count; ++n) lines.push_back(readLine(n, reader));
    return lines;
}

void writeLines(const std::vector<LineSettings> &lines) {
    for (std::size_t n = 0; n < lines.size(); ++n) writeLine(int(n), lines[n]);
}

print::Orientation orientationOf(bool hochformat, bool querformat) {
    if (hochformat) return print::Orientation::Portrait;
    return querformat ? print::Orientation::Landscape : print::Orientation::Portrait;
}

print::Orientation printerOrientation() {
    if (textrules::CBool(GetSetting(kSection, QStringLiteral("Hochformat"), QStringLiteral("False"))))
        return print::Orientation::Portrait;
    return orientationOf(false, textrules::CBool(GetSetting(kSection, QStringLiteral("Querformat"), QStringLiteral("False"))));
}

OrientationOptions designerOrientation() {
    return {truthValue(GetSetting(kSection, QStringLiteral("Hochformat"), QStringLiteral("True"))),
            truthValue(GetSetting(kSection, QStringLiteral("Querformat"), QStringLiteral("False")))};
}

void writeOrientation(bool hochformat, bool querformat) {
    SaveSetting(kSection, QStringLiteral("Hochformat"), truthText(hochformat));
    SaveSetting(kSection, QStringLiteral("Querformat"), truthText(querformat));
}

QString readBackgroundPicture() { return GetSetting(kSection, QStringLiteral("Background Picture"), QString()); }

void writeBackgroundPicture(const QString &path) {
    SaveSetting(kSection, QStringLiteral("Background Picture"), path);
}

QStringList contentKinds(int races) {
    QStringList kinds{QStringLiteral("nichts"),       QStringLiteral("Name"),    QStringLiteral("Vorname"),
                      QStringLiteral("Gesamtname"),   QStringLiteral("Jahrgang"), QStringLiteral("Altersklasse"),
                      QStringLiteral("Verein"),       QStringLiteral("Endwertung"), QStringLiteral("Text"),
                      QStringLiteral("Platzierung")};
    for (int r = 1; r <= races; ++r)
        kinds << QStringLiteral("Lauf_%1_Punkte").arg(r) << QStringLiteral("Lauf_%1_Zeit").arg(r);
    return kinds;
}

int designerRaceCount() {
    const std::int64_t races =
        textrules::readNumber(GetSetting(kLastUser, QStringLiteral("MaxLaufErf"), QStringLiteral("0")), 0);
    // No series file holds more races; a wild value must not fill the combo for minutes.
    return races < 0 ? 0 : int(std::min<std::int64_t>(races, kMaxRaces));
}

QString applyTemplate(const QString &text, const QString &value) { return ValueTemplate(text).apply(value); }

ValueTemplate::ValueTemplate(const QString &text) {
    const QString t = textrules::Trim(text);
    const int p = textrules::InStr(t, QStringLiteral("%s"));
    if (p == 1) {
        mark_ = Mark::AtStart;
        part_ = textrules::Mid(t, 4);
    } else if (p > 1) {
        mark_ = Mark::Inside;
        part_ = textrules::Left(t, p - 1) + QLatin1Char(' ');
    }
}

QString ValueTemplate::apply(const QString &value) const {
    switch (mark_) {
    case Mark::None: return textrules::Trim(value);
    case Mark::AtStart: {
        QString text;
        text.reserve(value.size() + 1 + part_.size());
        text.append(value).append(QLatin1Char(' ')).append(part_);
        return textrules::Trim(text);
    }
    case Mark::Inside: return textrules::Trim(part_ + value);
    }
    return {};
}

// A position beyond any range ("1e400") is far from the centre, not an error here.
bool centresLine(const QString &xPos) { return std::abs(textrules::ValUnbounded(xPos)) <= 0.5; }

double centredX(double pageWidth, double textWidth) {
    return double(textrules::CLng(pageWidth)) / 2 - double(textrules::CLng(textWidth)) / 2;
}

QString printedText(const LineSettings &settings, LineField field) {
    const QString &text = settings[field];
    if (field == LineField::XPos || !textrules::Trim(text).isEmpty()) return text;
    return lineDefault(field, Reader::Printer);
}

namespace {

// A text that is no whole number is reported with its line, key and text.
std::int32_t wholeNumber(int line, const LineSettings &settings, LineField field) {
    const QString text = printedText(settings, field);
    try {
        return textrules::CLng(text);
    } catch (const AppError &e) {
        const AppError named = settingError(e, kSection, lineKey(line, field), text);
        throw AppError(named.number, named.source,
                       QStringLiteral("%1, Urkundenzeile %2").arg(named.description).arg(line + 1));
    }
}

}  // namespace

PrintLine convertForPrinting(int line, const LineSettings &settings) {
    PrintLine out;
    out.content = textrules::Trim(settings.inhalt);
    out.text = textrules::Trim(settings.text);
    const int size = wholeNumber(line, settings, LineField::Fontsize);
    if (size > kMaxFontSize)
        throw AppError(err::InvalidPropertyValue, kRuntimeSource,
                       QStringLiteral("Die Schriftgröße %1 der Urkundenzeile %2 ist zu groß (höchstens %3).")
                           .arg(size)
                           .arg(line + 1)
                           .arg(kMaxFontSize));
    out.font = print::FontSpec{printedText(settings, LineField::Fontname), double(size)};
    out.y = wholeNumber(line, settings, LineField::YPos);
    // An empty X-Pos centres, as a 0 does.
    out.centred = centresLine(settings.xPos);
    if (!out.centred) out.x = wholeNumber(line, settings, LineField::XPos);
    out.colour = quint32(wholeNumber(line, settings, LineField::Farbe));
    return out;
}

}  // namespace tarnis::certificate
