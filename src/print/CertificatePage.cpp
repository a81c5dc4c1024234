#include "print/CertificatePage.h"

#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"

#include <QHash>

namespace tarnis {

using certificate::LineField;
using certificate::Reader;

QString certificateColumnText(const Value &value) {
    if (value.isNull()) return QStringLiteral(" ");
    if (value.isInteger()) return value.toInt64() == 0 ? QStringLiteral(" ") : QString::number(value.toInt64());
    const QString text = value.toText();
    if (textrules::IsNumeric(text) && textrules::Val(text) == 0) return QStringLiteral(" ");
    return text;
}

CertificatePage::CertificatePage(int lineCount, const Recordset &columns, bool trimValues)
    : columns_(columns), trimValues_(trimValues) {
    // The content is read first: a "nichts" line costs one key, whatever the count.
    for (int n = 0; n < lineCount; ++n) {
        const QString inhalt = certificate::readLineField(n, LineField::Inhalt, Reader::Printer);
        if (textrules::Trim(inhalt) == QLatin1String("nichts")) continue;
        stored_.emplace_back(n, certificate::readLine(n, Reader::Printer));
    }
}

void CertificatePage::prepare() {
    static const QHash<QString, Kind> keywords = {
        {QStringLiteral("Name"), Kind::Name},
        {QStringLiteral("Vorname"), Kind::Vorname},
        {QStringLiteral("Gesamtname"), Kind::Gesamtname},
        {QStringLiteral("Jahrgang"), Kind::Jahrgang},
        {QStringLiteral("Altersklasse"), Kind::Altersklasse},
        {QStringLiteral("Verein"), Kind::Verein},
        {QStringLiteral("Endwertung"), Kind::Endwertung},
        {QStringLiteral("Platzierung"), Kind::Platzierung},
        {QStringLiteral("Text"), Kind::Text},
    };
    std::vector<Line> lines;
    for (const auto &[n, stored] : stored_) {
        Line line{Kind::Column, 0, {}, certificate::ValueTemplate()};
        const QString content = textrules::Trim(stored.inhalt);
        // Keywords match with their case; any other content names a column, without case.
        if (const auto it = keywords.constFind(content); it != keywords.cend()) {
            line.kind = *it;
        } else {
            const int index = columns_.fieldIndex(content);
            if (index < 0) columns_.field(content);  // raises the engine's 3265
            line.column = std::size_t(index);
        }
        line.layout = certificate::convertForPrinting(n, stored);
        line.text = certificate::ValueTemplate(line.layout.text);
        lines.push_back(std::move(line));
    }
    lines_ = std::move(lines);
}

QString CertificatePage::value(const Line &line, const CertificateValues &v) const {
    switch (line.kind) {
    case Kind::Name: return v.name;
    case Kind::Vorname: return v.firstName;
    case Kind::Gesamtname: {
        const QString name = textrules::Trim(v.name), firstName = textrules::Trim(v.firstName);
        QString both;
        both.reserve(name.size() + 1 + firstName.size());
        return both.append(name).append(QLatin1Char(' ')).append(firstName);
    }
    case Kind::Jahrgang: return v.year;
    case Kind::Altersklasse: return v.ageClass;
    case Kind::Verein: return v.club;
    case Kind::Endwertung: return v.total;
    case Kind::Platzierung: return v.place + QLatin1Char('.');
    case Kind::Text: return line.layout.text;
    case Kind::Column: break;
    }
    return blankControls(certificateColumnText(v.row->at(line.column)));
}

void CertificatePage::print(print::IDocumentBuilder &builder, const CertificateValues &values) {
    if (!lines_) prepare();
    for (const Line &line : *lines_) {
        QString value = this->value(line, values);
        if (trimValues_) value = textrules::Trim(value);
        const QString text = line.text.apply(value);
        builder.setFont(line.layout.font);
        builder.setCurrentY(line.layout.y);
        builder.setCurrentX(line.layout.centred ? certificate::centredX(builder.pageWidth(), builder.textWidth(text))
                                                : double(line.layout.x));
        builder.setTextColor(line.layout.colour);
        builder.printText(text);
    }
    builder.newPage();
}

}  // namespace tarnis
