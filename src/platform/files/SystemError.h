#pragma once

#include <QString>

namespace tarnis {

// The reason of a failed file operation in the user's language: the system's own text
// follows the process locale, which is English on most machines without German locales.
QString systemErrorText(int errnum);

}  // namespace tarnis
