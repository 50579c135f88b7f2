#pragma once

#include "core/OneBasedArray.h"
#include "core/Profile.h"
#include "core/Runtime.h"
#include "core/VisiWinVariant.h"
#include "core/platform/FileCalls.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kpl {

// The process-wide state of the program, owned by main and handed to every
// operation. Each test builds its own.
struct ProcessState {
    explicit ProcessState(Runtime& rt) : runtime(rt) {}

    Runtime& runtime;

    // The INI files as read and written through LoadIni*/SaveIni.
    Profile profile;

    // Start mode, set by GetStartModeIntegrated.
    bool integratedMode = false;
    bool silentMode = false;

    // Machine names by machine number 1..n; element 0 stays empty. No value
    // until the first machine is stored.
    std::optional<QStringList> machineNames;
    QString programIniPath;

    // Additional columns of PRESET_DEFS (element 0 empty, 1 is "part").
    std::optional<QStringList> additionalFields;
    qint16 additionalFieldCount = 0;

    // Dialog state.
    bool helpMode = false;
    qint16 timerSeconds = 0;
    OneBasedArray<QString, 100> helpTexts; // by help text number

    // Update run.
    PerVisiWinVariant<OneBasedArray<QString, 50>> varNameTemplates; // [variant].at(part)
    VisiWinVariant visiWinVariant = VisiWinVariant::VisiWin32;

    // Failures reported on the way (error handler, fault reports and log
    // lines that could not be written); a run that reaches its end with any
    // of them exits with code 2.
    int failuresReported = 0;

    // The failures the error handler has asked about, in the order it first
    // met them, each with its log line and how often it came again since:
    // a repeat is not asked about again, and is logged as one line with its
    // count when the process ends.
    struct AskedFailure {
        QString logLine;
        int repeats = 0;
    };
    QList<AskedFailure> failuresAsked;
    QHash<QString, qsizetype> failureByKey; // operation, number and description

    // The system's file calls of whole-file writes and of the check that the
    // run's files can be written; tests hand in failing ones.
    platform::FileCalls* fileCalls = &platform::systemFileCalls();
    void useFileCalls(platform::FileCalls& calls) {
        fileCalls = &calls;
        profile.useFileCalls(calls);
    }
};

} // namespace kpl
