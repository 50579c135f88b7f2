// Times the start-up's machine list on a program INI file with a 5 MB line
// and NumberOfMachines=32767: one entry read per machine, so its time is
// that of the reads, against the time of one read from the file when it is
// read for the first time (one parse). Once without machine sections, once
// with all 32,767 of them. Each time is the best of three.
#include "app/CoreRuntime.h"
#include "core/ProcessState.h"
#include "settings/Ini.h"
#include "settings/Machines.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace kpl;

namespace {

constexpr int kMachines = 32767;

QByteArray programIni(bool withSections) {
    QByteArray content = "[Project]\r\nNumberOfMachines=" + QByteArray::number(kMachines) +
                         "\r\nNotes=" + QByteArray(5 << 20, 'x') + "\r\n";
    for (int i = 1; withSections && i <= kMachines; ++i)
        content += "[Machine" + QByteArray::number(i) + "]\r\nMachineName=M" +
                   QByteArray::number(i) + "\r\n";
    return content;
}

// Milliseconds of the best of three, each on a process state of its own.
double bestOfThree(const QString& executable, const std::function<void(ProcessState&)>& work) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        CoreRuntime runtime(executable, QStringLiteral("/EXTERNAL SILENT"), {});
        ProcessState state(runtime);
        QElapsedTimer timer;
        timer.start();
        work(state);
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("parameter"));
    QDir(root.path()).mkpath(QStringLiteral("KPL_Presets"));
    const QString executable = root.filePath(QStringLiteral("KPL_Presets/KPL_Presets_Config"));
    const QString ini = root.filePath(QStringLiteral("parameter/Program.ini"));
    out << "machine sections  file MB  machine list ms  one parse ms  machines read\n";
    for (const bool withSections : {false, true}) {
        QFile file(ini);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(programIni(withSections));
        file.close();
        qsizetype machines = 0;
        const double list = bestOfThree(executable, [&](ProcessState& state) {
            GetExistingMachines(state, QString());
            machines = state.machineNames.value_or(QStringList{QString()}).size() - 1;
        });
        const double parse = bestOfThree(executable, [&](ProcessState& state) {
            LoadIniString(state, QStringLiteral("Project"), QStringLiteral("X"), ini, false);
        });
        out << qSetFieldWidth(16) << (withSections ? kMachines : 0) << qSetFieldWidth(9)
            << QString::number(double(file.size()) / (1 << 20), 'f', 1) << qSetFieldWidth(17)
            << QString::number(list, 'f', 0) << qSetFieldWidth(14) << QString::number(parse, 'f', 0)
            << qSetFieldWidth(15) << machines << qSetFieldWidth(0) << "\n";
    }
    return 0;
}
