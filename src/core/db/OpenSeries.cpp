#include "core/db/OpenSeries.h"

#include "platform/files/PathResolution.h"
#include "platform/ui/Ui.h"

namespace tarnis {

std::unique_ptr<Database> OpenSeriesFile(const QString &path) {
    try {
        return Database::open(path);
    } catch (const AppError &error) {
        if (error.number == err::FileNotFound || error.number == err::InvalidPath)
            if (const QString reason = brokenLinkReason(path); !reason.isEmpty())
                ui().message(reason, MsgButtons::Ok, MsgIcon::Exclamation);
        throw;
    }
}

}  // namespace tarnis
