#pragma once

#include "core/OneBasedArray.h"
#include "core/Platform.h"
#include "core/Profile.h"
#include "core/Runtime.h"

#include <QString>
#include <QStringList>
#include <array>
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
    std::array<OneBasedArray<QString, 50>, 2> varNameTemplates; // [variant].at(part)
    qint16 visiWinVariant = 0;
    platform::FileTimes sourceFileTimes{};

    // Failures reported on the way (error handler and fault reports); a run
    // that reaches its end with any of them exits with code 2.
    int failuresReported = 0;
};

} // namespace kpl
