#include "DbTestSupport.h"
#include "Prerequisites.h"
#include "TestSystem.h"
#include "core/Profile.h"
#include "presetdb/AtomicCopy.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <QStorageInfo>

#include <cerrno>
#include <cstring>

using namespace kpl;

// The INI write and the database copy on a real, small file system that is
// full: the old files stay as they were and the failure is reported.
class TestDiskFull : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void fullDiskKeepsTheOldFiles_data();
    void fullDiskKeepsTheOldFiles();

private:
    QString disk(const QString& name) const { return m_disk + QLatin1Char('/') + name; }
    void leaveFree(qint64 bytes) const;

    QTemporaryDir m_dir;
    QString m_disk;
};

void TestDiskFull::initTestCase() {
    m_disk = m_dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(m_disk));
    const std::optional<QString> unavailable = test::mountSmallDisk(m_disk, "512k");
    if (unavailable)
        m_disk.clear();
    KPL_SKIP_UNLESS(!unavailable, qPrintable(QStringLiteral("no disk-full test: ") +
                                            unavailable.value_or(QString())));
}

void TestDiskFull::cleanupTestCase() {
    if (!m_disk.isEmpty())
        test::unmountSmallDisk(m_disk);
}

// Fills the disk with a filler file until `bytes` are left.
void TestDiskFull::leaveFree(qint64 bytes) const {
    QFile::remove(disk(QStringLiteral("filler")));
    const qint64 fill = QStorageInfo(m_disk).bytesAvailable() - bytes;
    QFile filler(disk(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    for (qint64 written = 0; written < fill; written += block.size())
        filler.write(block.left(int(qMin<qint64>(block.size(), fill - written))));
    filler.close();
}

void TestDiskFull::fullDiskKeepsTheOldFiles_data() {
    QTest::addColumn<qint64>("free");
    QTest::addColumn<bool>("iniFits");
    QTest::newRow("no space left") << qint64(0) << false;
    QTest::newRow("16 KB left") << qint64(16 * 1024) << true;
}

void TestDiskFull::fullDiskKeepsTheOldFiles() {
    QFETCH(qint64, free);
    QFETCH(bool, iniFits);
    const QString ini = disk(QStringLiteral("Program.ini"));
    const QString project = disk(QStringLiteral("KPL_Presets.mdb"));
    const QString source = m_dir.filePath(QStringLiteral("KPL_Presets_Source.mdb"));
    const QByteArray oldIni = "[Project]\r\nManualDowntimeTimer=120\r\n";
    const QByteArray oldProject = QByteArray("old project ").repeated(2000);
    test::writeBytes(ini, oldIni);
    test::writeBytes(project, oldProject);
    test::writeBytes(source, QByteArray("rebuilt source ").repeated(8000));
    leaveFree(free);

    QCOMPARE(Profile().writeString(ini, "Project", "ManualDowntimeTimer", "300"), iniFits);
    if (!iniFits)
        QCOMPARE(test::readBytes(ini), oldIni);
    const std::optional<Failure> failure =
        test::failureOf([&] { copyFileAtomically(source, project); });
    QVERIFY(failure);
    QVERIFY2(failure->description.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(failure->description));
    QCOMPARE(test::readBytes(project), oldProject);
    QStringList files = QDir(m_disk).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, (QStringList{"KPL_Presets.mdb", "Program.ini", "filler"}));
}

KPL_TEST_MAIN(TestDiskFull)
#include "tst_diskfull.moc"
