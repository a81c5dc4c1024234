#pragma once
// One certificate page: the stored lines, converted once per run, printed with a
// participant's values at their positions, fonts and colours.
#include "platform/engine/Database.h"
#include "platform/printing/DocumentBuilder.h"
#include "print/CertificateLayout.h"

#include <optional>
#include <vector>

namespace tarnis {

// What one certificate shows of its participant. The texts are as the run
// prepared them (cut to their widths); `row` is the participant's record for
// contents that name a column.
struct CertificateValues {
    QString name, firstName, club, year, ageClass, total, place;
    const std::vector<Value> *row = nullptr;
};

class CertificatePage {
public:
    // Reads the lines 0 .. count-1 with the printers' defaults. `columns` are the
    // result's columns, which contents other than the keywords name.
    // trimValues: the single certificate trims each value before the template.
    CertificatePage(int lineCount, const Recordset &columns, bool trimValues);

    // Prints the lines on the open page and starts a new one. The lines are
    // converted at the first certificate: a content that names no column raises
    // 3265, a setting that is no whole number 13.
    void print(print::IDocumentBuilder &builder, const CertificateValues &values);

private:
    enum class Kind { Name, Vorname, Gesamtname, Jahrgang, Altersklasse, Verein, Endwertung, Platzierung, Text, Column };
    struct Line {
        Kind kind;
        std::size_t column = 0;
        certificate::PrintLine layout;
        certificate::ValueTemplate text;
    };
    void prepare();
    QString value(const Line &line, const CertificateValues &values) const;

    std::vector<std::pair<int, certificate::LineSettings>> stored_;  // lines other than "nichts"
    const Recordset &columns_;
    bool trimValues_;
    std::optional<std::vector<Line>> lines_;
};

// A column value as a certificate line shows it: Null, and a value that reads as
// a number equal to 0, give one blank; anything else its text.
QString certificateColumnText(const Value &value);

}  // namespace tarnis
