#pragma once
// The one error type of the program: number, source and description. The error
// dialog shows all three; handlers test the number.
#include <QString>
#include <exception>
#include <string>

namespace tarnis {

struct AppError : std::exception {
    int number = 0;
    QString source;
    QString description;

    AppError() = default;
    AppError(int number, QString source, QString description)
        : number(number), source(std::move(source)), description(std::move(description)),
          what_(this->description.toStdString()) {}

    const char *what() const noexcept override { return what_.c_str(); }

private:
    std::string what_;
};

// Error numbers the program relies on.
namespace err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int DeviceIo = 57;
constexpr int PathFileAccess = 75;
constexpr int ObjectNotSet = 91;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidPropertyValue = 380;
constexpr int EngineGeneric = 3000;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int CommitWithoutBegin = 3034;
constexpr int InvalidPath = 3044;
constexpr int DamagedDatabase = 3049;
constexpr int CannotOpen = 3051;
constexpr int NullInKey = 3058;
constexpr int TooFewParameters = 3061;
constexpr int TableNotFound = 3078;
constexpr int TextAfterStatement = 3142;
constexpr int TextTooLong = 3163;
constexpr int DatabaseExists = 3204;
constexpr int Locked = 3218;
constexpr int ItemNotFound = 3265;
constexpr int EmptyText = 3315;
constexpr int NotADatabase = 3343;
constexpr int DataTypeMismatch = 3464;
}  // namespace err

// The source used for run-time errors raised outside a class.
inline const QString kRuntimeSource = QStringLiteral("Serienwertung");

// Maps whatever was caught to an AppError (std::bad_alloc to 7, others to 3000).
AppError toAppError(std::exception_ptr error);

}  // namespace tarnis
