#pragma once

#include "core/Failure.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <optional>

namespace kpl::test {

// The failure `action` throws; nullopt when it throws none.
template <class Action> std::optional<Failure> failureOf(Action&& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure;
    }
    return std::nullopt;
}

// The number of the failure `action` throws; 0 when it throws none.
template <class Action> qint32 failureNumber(Action&& action) {
    const std::optional<Failure> failure = failureOf(action);
    return failure ? failure->number : 0;
}

inline void writeBytes(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(content), content.size());
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace kpl::test
