#include "FailingFileCalls.h"
#include "core/Profile.h"
#include "core/platform/AtomicWrite.h"
#include "core/platform/FileLock.h"
#include "core/platform/FileTimes.h"
#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <thread>

using namespace kpl;
using Call = test::FailingFileCalls::Call;

// Whole-file replacement with every system call checked: whichever call
// fails, the failure is reported with the system's reason, the old file
// stays byte for byte as it was (a write into the file itself would not
// leave it so) and no temporary file is left behind.
class TestAtomicWrite : public QObject {
    Q_OBJECT
private slots:
    void init();
    void failedCallKeepsTheOldFile_data();
    void failedCallKeepsTheOldFile();
    void replacementKeepsWhatTheOldFileWas();
    void targetHeldForAMomentIsReplaced();
    void anyFolderNameWorks_data();
    void anyFolderNameWorks();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    QStringList entries() const {
        QStringList names = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }
    void write(const QString& name, const QByteArray& content) const;
    QByteArray read(const QString& name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {
const QByteArray kOld = "[Project]\r\nManualDowntimeTimer=120\r\n";
const QByteArray kNew = "[Project]\r\nManualDowntimeTimer=300\r\n";
} // namespace

void TestAtomicWrite::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicWrite::write(const QString& name, const QByteArray& content) const {
    QFile out(file(name));
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(content), content.size());
}

QByteArray TestAtomicWrite::read(const QString& name) const {
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TestAtomicWrite::failedCallKeepsTheOldFile_data() {
    QTest::addColumn<Call>("call");
    QTest::addColumn<std::errc>("error");
    QTest::addColumn<QString>("stage");
    QTest::addColumn<bool>("replaced");
    const std::errc none{};
    QTest::newRow("create refused") << Call::Create << std::errc::permission_denied
                                    << "while creating a file beside it" << false;
    QTest::newRow("disk full") << Call::Write << std::errc::no_space_on_device << "while writing"
                               << false;
    QTest::newRow("sync fails") << Call::Sync << std::errc::io_error << "while syncing to disk"
                                << false;
    QTest::newRow("a write got lost") << Call::ShortSize << none << "bytes instead of" << false;
    QTest::newRow("close fails") << Call::Close << std::errc::io_error << "while closing" << false;
    QTest::newRow("rename refused")
        << Call::Rename << std::errc::permission_denied << "while putting it in place" << false;
    // The new file is in place by then; the failure is still reported, as such.
    QTest::newRow("folder sync fails") << Call::SyncFolder << std::errc::io_error << "" << true;
}

void TestAtomicWrite::failedCallKeepsTheOldFile() {
    QFETCH(Call, call);
    QFETCH(std::errc, error);
    QFETCH(QString, stage);
    QFETCH(bool, replaced);
    const QString target = file(QStringLiteral("Program.ini"));
    write(QStringLiteral("source.ini"), kNew);
    const QString reason = error == std::errc{}
                               ? stage
                               : (QString::fromStdString(std::make_error_code(error).message()) +
                                  QLatin1Char(' ') + stage)
                                     .trimmed();
    test::FailingFileCalls calls(call, error, QStringLiteral("Program.ini"));
    Profile profile(calls);
    using Failure = std::optional<platform::WriteFailure>;
    const std::vector<std::pair<const char*, std::function<Failure()>>> writes = {
        {"replace", [&] { return platform::replaceFile(target, kNew, calls); }},
        {"copy",
         [&] { return platform::copyFile(file(QStringLiteral("source.ini")), target, calls); }},
        {"INI entry",
         [&] {
             profile.writeString(target, "Project", "ManualDowntimeTimer", "300");
             return profile.lastWriteFailure();
         }},
    };
    for (const auto& [name, writeNow] : writes) {
        write(QStringLiteral("Program.ini"), kOld);
        QCOMPARE(profile.readString(target, "Project", "ManualDowntimeTimer"), "120");
        const int failuresBefore = calls.failures;
        const Failure failure = writeNow();
        QVERIFY2(calls.failures > failuresBefore, name);
        QVERIFY2(failure && failure->reason.contains(reason), name);
        QCOMPARE(failure->inPlace, replaced);
        QCOMPARE(read(QStringLiteral("Program.ini")), replaced ? kNew : kOld);
        QCOMPARE(profile.readString(target, "Project", "ManualDowntimeTimer"),
                 replaced ? "300" : "120");
        QCOMPARE(entries(), (QStringList{"Program.ini", "source.ini"}));
    }
}

// The replacement is the old file with new content: same permissions, a link
// stays a link, and only our own leftovers of earlier writes of the same
// file are cleared away.
void TestAtomicWrite::replacementKeepsWhatTheOldFileWas() {
    if (platform::kWindows)
        QSKIP("Windows has neither Unix permissions nor symbolic links a user may make");
    write(QStringLiteral("real.ini"), kOld);
    QVERIFY(QFile::setPermissions(file(QStringLiteral("real.ini")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(file(QStringLiteral("real.ini")), file(QStringLiteral("Program.ini"))));
    const QStringList kept{"Other.ini.kpltmp-AbC123", "Program.ini.backup",
                           "Program.ini.kpltmp-AbC12", "real.ini.kpltmp-AbC1234"};
    for (const QString& name : kept + QStringList{"real.ini.kpltmp-AbC123"})
        write(name, "left over");

    QCOMPARE(platform::replaceFile(file(QStringLiteral("Program.ini")), kNew), std::nullopt);

    QVERIFY(QFileInfo(file(QStringLiteral("Program.ini"))).isSymLink());
    QCOMPARE(read(QStringLiteral("real.ini")), kNew);
    const QFile::Permissions ownerGroupOther = QFile::Permissions(0xF0FF);
    QCOMPARE(QFile::permissions(file(QStringLiteral("real.ini"))) & ownerGroupOther,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QStringList expected = kept + QStringList{"Program.ini", "real.ini"};
    expected.sort();
    QCOMPARE(entries(), expected);
}

// Another process that reads the file for a moment (on Windows it keeps the
// file from being replaced while it is open) only delays the write.
void TestAtomicWrite::targetHeldForAMomentIsReplaced() {
    write(QStringLiteral("Program.ini"), kOld);
    auto holder = std::make_unique<QFile>(file(QStringLiteral("Program.ini")));
    QVERIFY(holder->open(QIODevice::ReadOnly));
    std::thread release([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder->close();
    });
    const std::optional<platform::WriteFailure> failure =
        platform::replaceFile(file(QStringLiteral("Program.ini")), kNew);
    release.join();
    QCOMPARE(failure ? failure->reason : QString(), QString());
    QCOMPARE(read(QStringLiteral("Program.ini")), kNew);
    QCOMPARE(entries(), QStringList{QStringLiteral("Program.ini")});
}

void TestAtomicWrite::anyFolderNameWorks_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("German") << QStringLiteral("Überprüfung");
    QTest::newRow("Cyrillic") << QStringLiteral("Проект");
    QTest::newRow("past 260 characters")
        << QStringList(5, QString(60, QLatin1Char('p'))).join(QLatin1Char('/'));
}

// Replacement, file times and locks in a folder of any name and depth.
void TestAtomicWrite::anyFolderNameWorks() {
    QFETCH(QString, folder);
    QVERIFY(QDir(m_dir->path()).mkpath(folder));
    const QString target = file(folder + QStringLiteral("/Program.ini"));
    QCOMPARE(platform::replaceFile(target, kOld), std::nullopt);
    QCOMPARE(platform::replaceFile(target, kNew), std::nullopt);
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), kNew);
    platform::FileTimes times;
    QVERIFY(platform::readFileTimes(target, times));
    times.lastWrite = 1600000000000000000;
    QVERIFY(platform::restoreFileTimes(target, times));
    QVERIFY(platform::readFileTimes(target, times));
    QCOMPARE(times.lastWrite, 1600000000000000000);
    platform::FileLock lock;
    QCOMPARE(lock.tryLock(target + QStringLiteral(".lock")), platform::FileLock::Attempt::Locked);
}

QTEST_GUILESS_MAIN(TestAtomicWrite)
#include "tst_atomicwrite.moc"
