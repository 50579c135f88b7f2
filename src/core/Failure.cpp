#include "core/Failure.h"

namespace kpl {

QString vb::description(qint32 number) {
    switch (number) {
    case InvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case OutOfMemory:
        return QStringLiteral("Out of memory");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case FileNotFound:
        return QStringLiteral("File not found");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case ObjectNotAnArray:
        return QStringLiteral("Object not an array");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

Failure vbFailure(qint32 number) {
    return Failure{number, QString(), vb::description(number)};
}

void raise(qint32 number) {
    throw vbFailure(number);
}

void raise(qint32 number, const QString& description) {
    throw Failure{number, QString(), description};
}

} // namespace kpl
