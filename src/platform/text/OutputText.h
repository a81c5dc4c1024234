#pragma once
// Rules every output (printed page, HTML page, text file) applies to a data value.
#include <QString>

namespace tarnis {

// A control character (NUL, TAB, CR, LF, a C1 control, the line or paragraph
// separator) in a data value becomes one blank, so that a value never breaks a line,
// a cell or a fixed-width field of an output.
QString blankControls(const QString &value);
// Whether the value holds such a control character.
bool containsControl(const QString &value);

}  // namespace tarnis
