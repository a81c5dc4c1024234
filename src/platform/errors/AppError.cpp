#include "platform/errors/AppError.h"

#include <new>

namespace tarnis {

AppError toAppError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AppError &e) {
        return e;
    } catch (const std::bad_alloc &) {
        return AppError(err::OutOfMemory, kRuntimeSource, QStringLiteral("Nicht genügend Speicher"));
    } catch (const std::exception &e) {
        return AppError(err::EngineGeneric, kRuntimeSource, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return AppError(err::EngineGeneric, kRuntimeSource, QStringLiteral("Unbekannter Fehler"));
    }
}

}  // namespace tarnis
