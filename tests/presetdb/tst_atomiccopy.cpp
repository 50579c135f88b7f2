#include "DbTestSupport.h"
#include "database/Database.h"
#include "presetdb/AtomicCopy.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kpl;

class TestAtomicCopy : public QObject {
    Q_OBJECT
private slots:
    void init();
    void copyReplacesTargetAndLeavesNoTemporaryFile();
    void copiedDatabaseOpensWithItsContent();
    void failedCopyLeavesTargetAlone_data();
    void failedCopyLeavesTargetAlone();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAtomicCopy::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicCopy::copyReplacesTargetAndLeavesNoTemporaryFile() {
    const QByteArray content = QByteArray("new content ").repeated(300000);
    test::writeBytes(file("KPL_Presets_Source.mdb"), content);
    test::writeBytes(file("KPL_Presets.mdb"), "old, longer and different content");
    copyFileAtomically(file("KPL_Presets_Source.mdb"), file("KPL_Presets.mdb"));
    QCOMPARE(test::readBytes(file("KPL_Presets.mdb")), content);
    QCOMPARE(test::readBytes(file("KPL_Presets_Source.mdb")), content);
    QCOMPARE(files(), (QStringList{"KPL_Presets.mdb", "KPL_Presets_Source.mdb"}));
}

void TestAtomicCopy::copiedDatabaseOpensWithItsContent() {
    {
        Database source = Database::create(file("Source.mdb"));
        source.execute("CREATE TABLE PRESET_DEFS (ID LONG)");
        source.execute("INSERT INTO PRESET_DEFS VALUES (1), (2)");
        source.close();
    }
    copyFileAtomically(file("Source.mdb"), file("Project.mdb"));
    QCOMPARE(Database::open(file("Project.mdb")).openRecordset("PRESET_DEFS").recordCount(), 2);
}

void TestAtomicCopy::failedCopyLeavesTargetAlone_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing source") << "Missing.mdb"
                                    << "Target.mdb" << int(vb::FileNotFound) << "Missing.mdb";
    QTest::newRow("target folder missing")
        << "Source.mdb"
        << "nowhere/Target.mdb" << int(vb::PathFileAccessError) << "nowhere";
}

void TestAtomicCopy::failedCopyLeavesTargetAlone() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(int, number);
    QFETCH(QString, named);
    test::writeBytes(file("Source.mdb"), "source");
    test::writeBytes(file("Target.mdb"), "target");
    const std::optional<Failure> failure =
        test::failureOf([&] { copyFileAtomically(file(source), file(target)); });
    QVERIFY(failure);
    QCOMPARE(failure->number, number);
    QVERIFY2(failure->description.contains(named), qPrintable(failure->description));
    QCOMPARE(test::readBytes(file("Target.mdb")), QByteArray("target"));
    QCOMPARE(files(), (QStringList{"Source.mdb", "Target.mdb"}));
}

QTEST_GUILESS_MAIN(TestAtomicCopy)
#include "tst_atomiccopy.moc"
