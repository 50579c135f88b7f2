#pragma once

#include <QString>

namespace kpl {

// An unexpected failure as the error handler receives it: number, source and
// description. Operations throw it; the step that was running hands it to
// ErrorSub under the operation's name (see Procedure).
struct Failure {
    qint32 number = 0;
    QString source;
    QString description;
};

// Numbers and descriptions of the failures the program detects itself, as the
// old runtime numbered them.
namespace vb {
constexpr qint32 InvalidCall = 5;
constexpr qint32 Overflow = 6;
constexpr qint32 OutOfMemory = 7;
constexpr qint32 SubscriptOutOfRange = 9;
constexpr qint32 TypeMismatch = 13;
constexpr qint32 FileNotFound = 53;
constexpr qint32 PermissionDenied = 70;
constexpr qint32 PathFileAccessError = 75;
constexpr qint32 ObjectNotSet = 91;
constexpr qint32 InvalidUseOfNull = 94;
constexpr qint32 ObjectNotAnArray = 343;

QString description(qint32 number);
} // namespace vb

// The runtime failure `number` with its standard description and no source.
Failure vbFailure(qint32 number);

// Throws the runtime failure `number` with its standard description. The
// source is left empty; the error handler fills in the executable's name.
[[noreturn]] void raise(qint32 number);
[[noreturn]] void raise(qint32 number, const QString& description);

} // namespace kpl
