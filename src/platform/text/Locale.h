#pragma once
// The program's locale: German, whatever the system's, so that Qt's own widgets
// (file, colour and font dialogs) show German dates and numbers like the rest.
// Stored texts and files never depend on it: they use fixed formats.
namespace tarnis {

void UseGermanLocale();

}  // namespace tarnis
