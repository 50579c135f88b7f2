#include "TestInstallation.h"
#include "core/ProcessState.h"
#include "settings/Machines.h"

#include <QTest>

using namespace kpl;

class TestMachines : public QObject {
    Q_OBJECT
private slots:
    void integratedListFromHostConfiguration_data();
    void integratedListFromHostConfiguration();
    void standaloneListFromProgramIni_data();
    void standaloneListFromProgramIni();
    void additionalFields_data();
    void additionalFields();
};

void TestMachines::integratedListFromHostConfiguration_data() {
    QTest::addColumn<QByteArray>("common");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("dash ends the list")
        << QByteArray("NameM1=M1\nNameM2=-\nNameM3=M3\n") << QStringList{"", "M1"};
    QTest::newRow("only five") << QByteArray("NameM1=A\nNameM2=B\nNameM3=C\nNameM4=D\nNameM5=E\n"
                                             "NameM6=F\n")
                               << QStringList{"", "A", "B", "C", "D", "E"};
    QTest::newRow("empty ends the list") << QByteArray("NameM1=\nNameM2=B\n") << QStringList{};
}

void TestMachines::integratedListFromHostConfiguration() {
    QFETCH(QByteArray, common);
    QFETCH(QStringList, names);
    test::TestInstallation install;
    install.write("parameter/n4rconfiguration.ini", "[Common]\n" + common);
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.integratedMode = true;
    GetExistingMachines(state, install.path("parameter/n4rconfiguration.ini"));
    QCOMPARE(state.machineNames.has_value(), !names.isEmpty());
    if (!names.isEmpty())
        QCOMPARE(*state.machineNames, names);

    ProcessState withoutFile(*rt);
    withoutFile.integratedMode = true;
    GetExistingMachines(withoutFile, QString());
    QVERIFY(!withoutFile.machineNames.has_value());
}

void TestMachines::standaloneListFromProgramIni_data() {
    QTest::addColumn<QByteArray>("programIni");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("missing name keeps its place")
        << QByteArray("[Project]\nNumberOfMachines=2\n[Machine1]\nMachineName=A\n")
        << QStringList{"", "A", ""};
    QTest::newRow("no count, no machine")
        << QByteArray("[Machine1]\nMachineName=A\n") << QStringList{};
}

void TestMachines::standaloneListFromProgramIni() {
    QFETCH(QByteArray, programIni);
    QFETCH(QStringList, names);
    test::TestInstallation install;
    install.write("parameter/Program.ini", programIni);
    auto rt = install.runtime();
    ProcessState state(*rt);
    GetExistingMachines(state, QString());
    QCOMPARE(state.programIniPath, install.path("parameter/Program.ini"));
    QCOMPARE(state.machineNames.value_or(QStringList{}), names);
}

void TestMachines::additionalFields_data() {
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("none configured") << QByteArray("[Project]\n") << QStringList{"", "part"};
    QTest::newRow("two") << QByteArray("[Project]\nDataBaseAdditionalFields=Lot,Charge\n")
                         << QStringList{"", "part", "Lot", "Charge"};
    QTest::newRow("blank kept") << QByteArray("[Project]\nDataBaseAdditionalFields=Lot, Charge\n")
                                << QStringList{"", "part", "Lot", " Charge"};
    QTest::newRow("trailing comma") << QByteArray("[Project]\nDataBaseAdditionalFields=Lot,\n")
                                    << QStringList{"", "part", "Lot", ""};
}

void TestMachines::additionalFields() {
    QFETCH(QByteArray, cfg);
    QFETCH(QStringList, fields);
    test::TestInstallation install;
    install.write("KPL_Presets/KPL_Presets.cfg", cfg);
    auto rt = install.runtime();
    ProcessState state(*rt);
    GetAddFields(state);
    QCOMPARE(state.additionalFields.value_or(QStringList{}), fields);
    QCOMPARE(state.additionalFieldCount, qint16(fields.size() - 1));
}

QTEST_GUILESS_MAIN(TestMachines)
#include "tst_machines.moc"
