#include "JetSamples.h"

#include "core/Failure.h"
#include "core/platform/TargetSystem.h"
#include "database/Database.h"
#include "jetimport/FileKind.h"
#include "jetimport/InPlaceImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kpl;
using test::failureText;
using test::readAll;
using test::writeAll;

Q_DECLARE_METATYPE(kpl::FileKind)

namespace {

QStringList folderEntries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray withByte(QByteArray file, int offset, char value) {
    file[offset] = value;
    return file;
}

} // namespace

// The file handling of an import: what is refused before anything is
// written, and that a Jet file is replaced only by a whole import.
class TestInPlaceImport : public QObject {
    Q_OBJECT
private slots:
    void judgesFilesByTheirHeader_data();
    void judgesFilesByTheirHeader();
    void refusesWhatCannotBeImportedWhole_data();
    void refusesWhatCannotBeImportedWhole();
    void keepsTheJetFileBesideTheImport();
    void keepsALinkAndConvertsTheFileItLeadsTo();
    void existingBackupStopsTheImport();
    void newFileModeLeavesTheJetFileAlone();
    void newFileModeNeverOverwrites();
};

void TestInPlaceImport::judgesFilesByTheirHeader_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<FileKind>("kind");
    const QByteArray jet = QByteArray("\0\1\0\0Standard Jet DB\0", 20);
    QTest::newRow("Jet 3") << jet + '\0' << FileKind::Jet3;
    QTest::newRow("Jet 4") << jet + '\1' << FileKind::Jet4;
    QTest::newRow("Access 2007 version") << jet + '\2' << FileKind::Ace;
    QTest::newRow("ACE") << QByteArray("\0\1\0\0Standard ACE DB\0\2", 21) << FileKind::Ace;
    QTest::newRow("SQLite") << QByteArray("SQLite format 3\0rest", 20) << FileKind::Sqlite;
    QTest::newRow("empty") << QByteArray() << FileKind::Unknown;
    QTest::newRow("Jet header cut before its version") << jet << FileKind::Unknown;
    QTest::newRow("text") << QByteArray("[Common]\r\n") << FileKind::Unknown;
}

void TestInPlaceImport::judgesFilesByTheirHeader() {
    QFETCH(QByteArray, content);
    QFETCH(FileKind, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("file.mdb");
    writeAll(path, content);
    QCOMPARE(fileKind(path), kind);
    QCOMPARE(fileKind(dir.filePath("missing.mdb")), FileKind::Missing);
}

void TestInPlaceImport::refusesWhatCannotBeImportedWhole_data() {
    KPL_REQUIRE_JET_SAMPLES();
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray jet3 = test::jetSampleBytes(test::kJet3Sample);
    const QByteArray jet4 = test::jetSampleBytes(test::kJet4Sample);
    QTest::newRow("Jet 3 cut inside a page") << jet3.left(jet3.size() / 2 + 1000) << "truncated";
    QTest::newRow("Jet 4 cut at a page boundary before its data")
        << jet4.left(40 * 4096) << "Page 60 cannot be read";
    // The OLE value's stored length, 22970, made 88506.
    QTest::newRow("Jet 3 with a long value shorter than its stored length")
        << withByte(jet3, 0x197d3, '\1') << "22970 bytes where 88506 are stored";
    QTest::newRow("Jet 4 cut inside its catalog") << jet4.left(3 * 4096) << "damaged";
    QTest::newRow("zero bytes") << QByteArray() << "no Jet database";
    QTest::newRow("ACE") << withByte(jet4, 0x14, '\3') << "ACE";
    // The first byte of the masked encryption key made non-zero.
    QTest::newRow("encrypted") << withByte(jet4, 0x3e, char(jet4[0x3e] ^ 1)) << "encrypted";
}

void TestInPlaceImport::refusesWhatCannotBeImportedWhole() {
    // Checked again here: a failed data function leaves no rows to fetch.
    KPL_REQUIRE_JET_SAMPLES();
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("KPL_Presets.mdb");
    writeAll(path, content);
    const QString failure = failureText([&] { importInPlace(path); });
    QVERIFY2(failure.contains(reason), qPrintable(failure));
    QCOMPARE(readAll(path), content);
    QCOMPARE(folderEntries(dir), QStringList{"KPL_Presets.mdb"});
}

void TestInPlaceImport::keepsTheJetFileBesideTheImport() {
    KPL_REQUIRE_JET_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath("KPL_Presets.mdb");
    test::copyJetSample(test::kJet4Sample, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(path);
    // Left by an import that was killed: gone with this one.
    writeAll(path + ".kpltmp-a1B2c3", "half a database");
    QCOMPARE(importInPlace(path).tables.size(), 1);
    QCOMPARE(fileKind(path), FileKind::Sqlite);
    QCOMPARE(readAll(jetBackupPath(path)), test::jetSampleBytes(test::kJet4Sample));
    QCOMPARE(folderEntries(dir), (QStringList{"KPL_Presets.mdb", "KPL_Presets.mdb.jet"}));
    QCOMPARE(QFile::permissions(path), permissions);
    Database database = Database::open(path);
    QCOMPARE(database.openRecordset("MSP_PROJECTS").recordCount(), 1);
}

void TestInPlaceImport::keepsALinkAndConvertsTheFileItLeadsTo() {
    KPL_REQUIRE_JET_SAMPLES();
    if (platform::kWindows)
        QSKIP("a link on Windows is a shortcut file, not a symbolic link");
    QTemporaryDir dir;
    const QString target = dir.filePath("elsewhere/KPL_Presets.mdb");
    const QString link = dir.filePath("KPL_Presets.mdb");
    test::copyJetSample(test::kJet4Sample, target);
    QVERIFY(QFile::link(target, link));
    importInPlace(link);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(fileKind(target), FileKind::Sqlite);
    QCOMPARE(readAll(jetBackupPath(target)), test::jetSampleBytes(test::kJet4Sample));
    QCOMPARE(folderEntries(dir), QStringList{"KPL_Presets.mdb"});
    QCOMPARE(QDir(dir.filePath("elsewhere")).entryList(QDir::Files),
             (QStringList{"KPL_Presets.mdb", "KPL_Presets.mdb.jet"}));
}

void TestInPlaceImport::existingBackupStopsTheImport() {
    KPL_REQUIRE_JET_SAMPLES();
    QTemporaryDir dir;
    const QString path = dir.filePath("KPL_Presets.mdb");
    test::copyJetSample(test::kJet3Sample, path);
    writeAll(jetBackupPath(path), "an earlier Jet file");
    const QString failure = failureText([&] { importInPlace(path); });
    QVERIFY2(failure.contains("KPL_Presets.mdb.jet already exists"), qPrintable(failure));
    QCOMPARE(readAll(path), test::jetSampleBytes(test::kJet3Sample));
    QCOMPARE(readAll(jetBackupPath(path)), QByteArray("an earlier Jet file"));
    QCOMPARE(folderEntries(dir), (QStringList{"KPL_Presets.mdb", "KPL_Presets.mdb.jet"}));
}

void TestInPlaceImport::newFileModeLeavesTheJetFileAlone() {
    KPL_REQUIRE_JET_SAMPLES();
    QTemporaryDir dir;
    const QString source = dir.filePath("old.mdb");
    test::copyJetSample(test::kUnicodeSample, source);
    QCOMPARE(importToNewFile(source, dir.filePath("new.mdb")).tables.at(0).written, 8);
    QCOMPARE(readAll(source), test::jetSampleBytes(test::kUnicodeSample));
    QCOMPARE(fileKind(dir.filePath("new.mdb")), FileKind::Sqlite);
    QCOMPARE(folderEntries(dir), (QStringList{"new.mdb", "old.mdb"}));
}

void TestInPlaceImport::newFileModeNeverOverwrites() {
    KPL_REQUIRE_JET_SAMPLES();
    QTemporaryDir dir;
    const QString target = dir.filePath("new.mdb");
    writeAll(target, "something");
    const QString failure =
        failureText([&] { importToNewFile(test::jetSample(test::kJet3Sample), target); });
    QVERIFY2(failure.contains("already exists"), qPrintable(failure));
    QCOMPARE(readAll(target), QByteArray("something"));
    QCOMPARE(folderEntries(dir), QStringList{"new.mdb"});
}

KPL_TEST_MAIN(TestInPlaceImport)
#include "tst_inplaceimport.moc"
