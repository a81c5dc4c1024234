#include "core/import/LineReading.h"

#include "core/import/ResultLine.h"
#include "platform/text/TextRules.h"

#include <algorithm>
#include <array>

namespace tarnis {

namespace {

// A character outside ASCII as the field rules see it: text, like a letter.
constexpr char16_t kText = 0xE000;
// The fields of a result line, as the lists name them: the name before the comma shows
// under "Name", the one after it under "Vorname".
const std::array<const char *, 6> kFieldNames{"Platz", "Name", "Vorname", "Jahrgang", "Verein", "Zeit"};

// A character outside ASCII that the conversion writes as `separator` alone, a dash also as
// a run of dashes ("—" as "--"): a heading reads its first and the blank after its last.
bool writtenAs(const LineCharacters &line, qsizetype index, char16_t separator) {
    if (line.codes[index] < 0x80) return false;
    const QString &written = line.written[index];
    if (separator == u'-') return !written.isEmpty() && written.count(QLatin1Char('-')) == written.size();
    return written == QChar(separator);
}

// The first look-alike of `separator` in [start, end) of the trimmed line that `fits`.
template <typename Fits>
qsizetype firstLookAlike(const LineCharacters &line, qsizetype from, const QString &text, char16_t separator,
                         qsizetype start, qsizetype end, Fits fits) {
    for (qsizetype i = std::max<qsizetype>(start, 0); i < std::min(end, text.size()); ++i)
        if (writtenAs(line, from + i, separator) && fits(i)) return i;
    return -1;
}

// A result line whose columns leave room for each field. One that leaves none (its first
// dot in the club, "LG e.V.") is no line the organiser meant, so look-alikes are read there.
bool isFittingResultLine(const QString &text) {
    if (!isResultLine(text)) return false;
    try {
        resultLineColumns(text);
    } catch (const AppError &) {
        return false;
    }
    return true;
}

}  // namespace

ShownLine::ShownLine(const LineCharacters &line) {
    // trimmed of blanks, as the import trims its lines
    qsizetype to = line.codes.size();
    while (from_ < to && line.codes[from_] == U' ') ++from_;
    while (to > from_ && line.codes[to - 1] == U' ') --to;
    QString text(to - from_, QChar(kText));
    for (qsizetype i = from_; i < to; ++i)
        if (line.codes[i] < 0x80) text[i - from_] = QChar(char16_t(line.codes[i]));
    if (!isAgeClassHeading(text) && !isFittingResultLine(text)) placeStandIns(line, text);

    const auto converted = [&](qsizetype start, qsizetype end) {
        QString out;
        for (qsizetype i = std::max<qsizetype>(start, 0); i < std::min(end, text.size()); ++i)
            out += line.written[from_ + i];
        return out;
    };
    reading_.heading = isAgeClassHeading(text);
    if (reading_.heading) {
        const qsizetype dash = text.indexOf(QLatin1Char('-'));
        classEnd_ = dash < 0 ? text.size() : dash;
        reading_.ageClass = textrules::Trim(converted(0, classEnd_));
    }
    reading_.result = isResultLine(text);
    if (!reading_.result) return;
    ResultLineColumns columns;
    try {
        columns = resultLineColumns(text);
    } catch (const AppError &) {
        reading_.fits = false;
        return;
    }
    fieldSpans_ << std::pair<qsizetype, qsizetype>(0, columns.placeLength);
    for (const ResultLineColumn &column :
         {columns.vorname, columns.zuname, columns.yearField, columns.verein, columns.zeit})
        fieldSpans_ << std::pair<qsizetype, qsizetype>(column.start - 1, qsizetype(column.start) - 1 + column.length);
    // the place as the import takes it, untrimmed; each other field trimmed, also of what
    // the conversion writes as a blank at its ends
    reading_.fields << converted(0, columns.placeLength);
    for (qsizetype f = 1; f < fieldSpans_.size(); ++f)
        reading_.fields << textrules::Trim(converted(fieldSpans_[f].first, fieldSpans_[f].second));
}

// Where the line, read with its characters outside ASCII as text, is neither a heading nor
// a result line that fits, a look-alike stands in for a separator that the line lacks, in that
// separator's own place: a dot right after the place, a comma in the name's columns, a
// colon after the club's column, a dash before a blank in a heading, a blank after a
// heading's dash or its "m". A separator of the line's own makes every look-alike of it
// text, a dot every look-alike after it: the line's own is the one the import takes.
void ShownLine::placeStandIns(const LineCharacters &line, QString &text) {
    const auto standIn = [&](qsizetype i, char16_t separator) {
        if (i < 0) return;
        text[i] = QChar(separator);
        standIns_ << from_ + i;
    };
    const auto any = [](qsizetype) { return true; };
    {
        // a dot of the line's own further on ("LG e.V.") is no place's dot: the look-alike
        // before it stays the line's first dot, as it is in the converted line
        qsizetype comma = text.indexOf(QLatin1Char(','));
        if (comma < 0) comma = firstLookAlike(line, from_, text, u',', 0, text.size(), any);
        qsizetype end = comma < 0 ? text.size() : comma;
        if (const qsizetype ownDot = text.indexOf(QLatin1Char('.')); ownDot >= 0) end = std::min(end, ownDot);
        standIn(firstLookAlike(line, from_, text, u'.', 1, end, any), u'.');
    }
    if (const qsizetype dot = text.indexOf(QLatin1Char('.')); dot >= 1) {
        if (!text.contains(QLatin1Char(',')))
            standIn(firstLookAlike(line, from_, text, u',', dot + 2, dot + 29, any), u',');
        if (!text.contains(QLatin1Char(':')))
            standIn(firstLookAlike(line, from_, text, u':', dot + 58, text.size(), any), u':');
    }
    // a line that reads as a result line has no heading's dash to lack
    if (isResultLine(text)) return;
    // a heading's blank after its "m" or its dash, where it has no "m " or "- " of its own
    const auto blankAfter = [&](char16_t before) {
        if (text.contains(QString(QChar(before)) + QLatin1Char(' '))) return;
        standIn(firstLookAlike(line, from_, text, u' ', 1, text.size(), [&text, before](qsizetype i) {
                    return text[i - 1] == before;
                }),
                u' ');
    };
    blankAfter(u'm');
    if (!text.contains(QLatin1String("- ")) && text.contains(QLatin1String("m ")))
        standIn(firstLookAlike(line, from_, text, u'-', 0, text.size() - 1,
                               [&](qsizetype i) { return text[i + 1] == u' ' || writtenAs(line, from_ + i + 1, u' '); }),
                u'-');
    blankAfter(u'-');
}

QString ShownLine::fieldAt(qsizetype index) const {
    const qsizetype i = index - from_;
    for (qsizetype f = 0; f < fieldSpans_.size(); ++f)
        if (i >= fieldSpans_[f].first && i < fieldSpans_[f].second) return QLatin1String(kFieldNames[f]);
    if (reading_.heading && i >= 0 && i < classEnd_) return QStringLiteral("Altersklasse");
    return QString();
}

LineReading convertedReading(const QString &line) {
    LineReading reading;
    reading.heading = isAgeClassHeading(line);
    if (reading.heading) reading.ageClass = headingAgeClass(line);
    reading.result = isResultLine(line);
    if (!reading.result) return reading;
    try {
        const ResultLineColumns columns = resultLineColumns(line);
        reading.fields << textrules::Left(line, columns.placeLength);
        for (const ResultLineColumn &column :
             {columns.vorname, columns.zuname, columns.yearField, columns.verein, columns.zeit})
            reading.fields << columnText(line, column);
    } catch (const AppError &) {
        reading.fits = false;
        reading.fields.clear();
    }
    return reading;
}

}  // namespace tarnis
