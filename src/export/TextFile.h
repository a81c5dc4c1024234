#pragma once
// The fixed-width text files (press lists, mail merge): CP1252, one byte per
// character ("?" for a character CP1252 lacks), every line ended by CR LF. The file is
// written beside its target and takes its place only at commit(), so an export that
// stops half-way leaves an existing file as it was.
#include "platform/files/SafeFile.h"

#include <QString>

namespace tarnis {

// A data value as a field of `width` characters: control characters as blanks,
// letters with combining marks as the one character they stand for, any character
// outside the basic plane as one "?", then cut or padded with blanks on the right.
QString fixedField(const QString &value, int width);

class TextFileWriter {
public:
    explicit TextFileWriter(const QString &path);

    // Raises 75 when the file cannot be created or is the open series file.
    void open();
    // One line of fields built with fixedField() or fixed text; raises 57 when the
    // line cannot be written.
    void writeLine(const QString &line);
    // Puts the complete file in place; raises 57 when it cannot.
    void commit();

private:
    [[noreturn]] void raise(int number);
    SafeFileWriter file_;
};

}  // namespace tarnis
