#include "core/platform/StartPath.h"
#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kpl;

// A program file installed at <tmp>/lib/prog and linked into the component
// folder <tmp>/P/KPL_Presets; another program of the same name in <tmp>/other
// and a file of that name without execute permission in <tmp>/P/noexec.
class TestStartPath : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void startedExecutablePath_data();
    void startedExecutablePath();
    void workingDirectoryKeepsTheShellsLinks();

private:
    QString at(QString relative) const { return relative.replace("%T", m_dir.path()); }
    void writeFile(const QString& relative, bool executable) const;

    QTemporaryDir m_dir;
};

void TestStartPath::writeFile(const QString& relative, bool executable) const {
    QDir().mkpath(QFileInfo(at(relative)).path());
    QFile file(at(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(permissions));
}

void TestStartPath::initTestCase() {
    if (platform::kWindows)
        QSKIP("Windows reports the started program file itself: no shell links, no PATH lookup");
    writeFile("%T/lib/prog", true);
    writeFile("%T/other/KPL_Presets_Config", true);
    writeFile("%T/P/noexec/KPL_Presets_Config", false);
    QDir().mkpath(at("%T/P/parameter"));
    QDir().mkpath(at("%T/P/KPL_Presets"));
    QVERIFY(QFile::link(at("%T/lib/prog"), at("%T/P/KPL_Presets/KPL_Presets_Config")));
}

void TestStartPath::startedExecutablePath_data() {
    QTest::addColumn<QString>("startPath");
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<QString>("searchPath");
    QTest::addColumn<QString>("expected");
    const QString link = "%T/P/KPL_Presets/KPL_Presets_Config";
    QTest::newRow("absolute path of a link") << link << "/"
                                             << "" << link;
    QTest::newRow("relative path, cleaned") << "../KPL_Presets/./KPL_Presets_Config"
                                            << "%T/P/parameter"
                                            << "" << link;
    // Missing folders and files without execute permission are passed over;
    // an empty entry is the working directory.
    QTest::newRow("name found through PATH") << "KPL_Presets_Config"
                                             << "%T/P/KPL_Presets"
                                             << "%T/nowhere:%T/P/noexec::%T/other" << link;
    QTest::newRow("PATH leads to another program") << "KPL_Presets_Config"
                                                   << "/"
                                                   << "%T/other:%T/P/KPL_Presets"
                                                   << "%T/lib/prog";
    QTest::newRow("path that names no file") << "/nowhere/KPL_Presets_Config"
                                             << "/"
                                             << ""
                                             << "%T/lib/prog";
}

void TestStartPath::startedExecutablePath() {
    QFETCH(QString, startPath);
    QFETCH(QString, workingDirectory);
    QFETCH(QString, searchPath);
    QFETCH(QString, expected);
    const QString runningFile = QFileInfo(at("%T/lib/prog")).canonicalFilePath();
    QCOMPARE(platform::startedExecutablePath(at(startPath), at(workingDirectory), at(searchPath),
                                             runningFile),
             QFileInfo(at(expected)).absoluteFilePath());
}

void TestStartPath::workingDirectoryKeepsTheShellsLinks() {
    QVERIFY(QFile::link(at("%T/P"), at("%T/L")));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(at("%T/P/KPL_Presets")));
    const QString kept = platform::workingDirectory(at("%T/L/KPL_Presets"));
    const QString elsewhere = platform::workingDirectory(at("%T/P/parameter"));
    QDir::setCurrent(before);
    QCOMPARE(kept, at("%T/L/KPL_Presets"));
    QCOMPARE(elsewhere, QFileInfo(at("%T/P/KPL_Presets")).canonicalFilePath());
}

QTEST_GUILESS_MAIN(TestStartPath)
#include "tst_startpath.moc"
