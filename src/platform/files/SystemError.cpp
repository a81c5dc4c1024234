#include "platform/files/SystemError.h"

#include <cerrno>
#include <cstring>

namespace tarnis {

QString systemErrorText(int errnum) {
    switch (errnum) {
    case ENOENT: return QStringLiteral("Datei oder Ordner existiert nicht");
    case ENOTDIR: return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case EISDIR: return QStringLiteral("ist ein Ordner");
    case EACCES:
    case EPERM: return QStringLiteral("Zugriff verweigert");
    case EROFS: return QStringLiteral("Datenträger ist schreibgeschützt");
    case ENOSPC: return QStringLiteral("kein Platz mehr auf dem Datenträger");
    case EDQUOT: return QStringLiteral("Speicherkontingent überschritten");
    case EFBIG: return QStringLiteral("Datei ist zu groß");
    case EEXIST: return QStringLiteral("Datei existiert bereits");
    case ENAMETOOLONG: return QStringLiteral("Dateiname ist zu lang");
    case ELOOP: return QStringLiteral("zu viele symbolische Verknüpfungen im Pfad");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("Datei wird gerade benutzt");
    case EMFILE:
    case ENFILE: return QStringLiteral("zu viele offene Dateien");
    case EXDEV: return QStringLiteral("Ziel liegt auf einem anderen Datenträger");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case EINVAL: return QStringLiteral("ungültiges Argument");
    default:
        // Rare cases keep the system's text, with the number that identifies it in any language.
        return QStringLiteral("Systemfehler %1 (%2)").arg(errnum).arg(QString::fromLocal8Bit(std::strerror(errnum)));
    }
}

}  // namespace tarnis
