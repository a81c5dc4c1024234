#include "export/TextFile.h"

#include "export/ExportTarget.h"
#include "platform/errors/AppError.h"
#include "platform/text/CodePage.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"

#include <QDir>

namespace tarnis {
namespace {

// One QChar per character written, so that cutting and padding count bytes of the file.
QString oneUnitPerCharacter(const QString &value) {
    bool composed = true, surrogates = false;
    for (QChar c : value) {
        if (c.unicode() >= 0x0300) composed = false;
        if (c.isSurrogate()) surrogates = true;
    }
    QString text = blankControls(composed ? value : value.normalized(QString::NormalizationForm_C));
    if (!surrogates) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSurrogate()) {
            out += text.at(i);
            continue;
        }
        out += u'?';
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    }
    return out;
}

}  // namespace

QString fixedField(const QString &value, int width) {
    return textrules::Left(oneUnitPerCharacter(value), width).leftJustified(width, u' ');
}

TextFileWriter::TextFileWriter(const QString &path) : file_(path) {}

void TextFileWriter::open() {
    checkExportTarget(file_.target());
    if (!file_.open()) raise(75);
}

void TextFileWriter::writeLine(const QString &line) {
    if (!file_.write(encodeCp1252(line, Unmappable::QuestionMark)) || !file_.write("\r\n", 2)) raise(57);
}

void TextFileWriter::commit() {
    if (!file_.commit()) raise(57);
}

void TextFileWriter::raise(int number) {
    throw AppError(number, kRuntimeSource,
                   QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                       .arg(QDir::toNativeSeparators(file_.target()), file_.errorString()));
}

}  // namespace tarnis
