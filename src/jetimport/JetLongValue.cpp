#include "jetimport/JetLongValue.h"

#include "jetimport/ImportFailure.h"

#include <QSet>
#include <QtEndian>

namespace kpl {

namespace {

constexpr qsizetype kReferenceSize = 12;
constexpr qsizetype kPointerOffset = 4;
constexpr quint32 kLengthMask = 0x3fffffff;
constexpr quint32 kInRow = 0x80000000;
constexpr quint32 kInOneRow = 0x40000000;

[[noreturn]] void failIncomplete(qsizetype found, quint32 stored) {
    failImport(
        QStringLiteral("A long value has %1 bytes where %2 are stored.").arg(found).arg(stored));
}

// A chain that comes back to a row it passed is damaged.
QByteArray chainedValue(const JetPages& pages, JetRowPointer next, quint32 length) {
    QByteArray value;
    QSet<quint64> passed;
    while (quint32(value.size()) < length && next.page != 0) {
        const quint64 place = quint64(next.page) << 8 | quint64(next.row);
        if (passed.contains(place))
            failImport(QStringLiteral("A long value's chain of rows runs in a circle."));
        passed.insert(place);
        const QByteArray piece = pages.row(next);
        if (piece.size() <= kPointerOffset)
            failIncomplete(value.size(), length);
        next = JetRowPointer::read(piece);
        value += piece.mid(kPointerOffset);
    }
    return value;
}

} // namespace

QByteArray readLongValue(const JetPages& pages, QByteArrayView reference) {
    if (reference.size() < kReferenceSize)
        failImport(QStringLiteral("A long value's reference is cut short."));
    const quint32 header = qFromLittleEndian<quint32>(reference.data());
    const quint32 length = header & kLengthMask;
    const JetRowPointer pointer = JetRowPointer::read(reference.sliced(kPointerOffset));
    QByteArray value;
    if (header & kInRow)
        value = reference.sliced(kReferenceSize).toByteArray();
    else if (header & kInOneRow)
        value = pages.row(pointer);
    else
        value = chainedValue(pages, pointer, length);
    if (quint32(value.size()) < length)
        failIncomplete(value.size(), length);
    value.truncate(length);
    return value;
}

} // namespace kpl
