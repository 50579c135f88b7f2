#include "JetSamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kpl::test {

QString jetSampleFolder() {
    const QString root = qEnvironmentVariable("KPL_SHARED_TESTDATA");
    if (root.isEmpty())
        return QString();
    const QString folder = QDir(root).filePath(QStringLiteral("jet"));
    return QFileInfo::exists(QDir(folder).filePath(QLatin1String(kJet3Sample))) ? folder
                                                                                : QString();
}

QString jetSample(const QString& fileName) {
    return QDir(jetSampleFolder()).filePath(fileName);
}

QByteArray jetSampleBytes(const QString& fileName) {
    QFile file(jetSample(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void copyJetSample(const QString& fileName, const QString& target) {
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(jetSample(fileName), target))
        qFatal("cannot copy the sample %s to %s", qPrintable(fileName), qPrintable(target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool mdbExportRuns() {
    return !platform::kWindows &&
           !QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty();
}

QStringList mdbExport(const QStringList& options, const QString& path, const QString& table) {
    QProcess process;
    process.start(QStringLiteral("mdb-export"), options + QStringList{path, table});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace kpl::test
