#include "platform/printing/PageModel.h"

#include <QList>

namespace tarnis::print {

FontSpec usableFont(const FontSpec &font) {
    FontSpec out = font;
    if (out.family.trimmed().isEmpty()) out.family = QStringLiteral("Arial");
    if (!(out.sizePt > 0)) out.sizePt = 10;
    return out;
}

TableFormat TableFormat::parse(QStringView text) {
    const auto fail = [&] {
        return AppError(err::InvalidPropertyValue, QStringLiteral("TableFormat::parse"),
                        QStringLiteral("Ungültiges Tabellenformat: \"%1\"").arg(text.toString()));
    };
    const qsizetype end = text.indexOf(u';');
    const QStringView body = end >= 0 ? text.left(end) : text;
    TableFormat format;
    for (QStringView token : body.split(u'|')) {
        while (token.startsWith(u' ')) token = token.mid(1);
        while (token.endsWith(u' ')) token.chop(1);
        Column column;
        if (!token.isEmpty() && (token[0] == u'<' || token[0] == u'^' || token[0] == u'>')) {
            column.align = token[0] == u'<' ? Align::Left : token[0] == u'^' ? Align::Centre : Align::Right;
            token = token.mid(1);
        }
        if (token.isEmpty()) throw fail();
        for (QChar c : token)
            if (!c.isDigit() || c.unicode() > 127) throw fail();
        bool ok = false;
        column.width = token.toInt(&ok);
        if (!ok) throw fail();
        format.columns.push_back(column);
    }
    return format;
}

int TableFormat::totalWidth() const {
    int sum = 0;
    for (const Column &c : columns) sum += c.width;
    return sum;
}

}  // namespace tarnis::print
