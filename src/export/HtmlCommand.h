#pragma once
// What the main window's export commands share: the file question and, after an
// HTML page, the viewer step.
#include <QString>
#include <functional>
#include <optional>

namespace tarnis {

enum class ExportFileKind { Html, Text };

// The save dialog with the default name; a name that is empty after trimming gets
// "Bitte einen Dateinamen angeben!" and nothing. The name is returned untrimmed.
std::optional<QString> askExportFile(const QString &defaultName, ExportFileKind kind);

// The file question, the export, then the viewer step whatever the export did; a
// viewer that cannot be started goes to the error dialog under `procedure`.
void runHtmlCommand(const QString &defaultName, const QString &procedure,
                    const std::function<void(const QString &)> &exportPage);

}  // namespace tarnis
