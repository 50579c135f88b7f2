#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// Every file is found by rule from the executable's folder and name and the
// restore folder of the host configuration INI file; the project folder
// and the component name are the rules of core/ProjectLayout.h.

QString GetN4RConfigurationIniPath(ProcessState& state);
// Where GetN4RConfigurationIniPath looks for the host configuration.
QString expectedN4RConfigurationIniPath(ProcessState& state);
// Whether the caller of GetProgramIniPath reads the program INI file (in
// integrated mode the machine copy's) or writes it (always the project's).
enum class IniAccess { Read, Write };
QString GetProgramIniPath(ProcessState& state, IniAccess access);
// Reports a missing configuration file and ends the program.
QString GetCFGPath(ProcessState& state);
// The component configuration file where GetCFGPath looks for it, when it
// is missing: the program then lies in no component folder of a project.
// "" when it exists.
QString missingConfigurationFile(ProcessState& state);
// Whether the project folder holds its parameter folder (of any letter
// case): the program then lies in a project, be its component configuration
// file there or not.
bool hasProjectParameterFolder(ProcessState& state);
// Why the program INI file the settings are read from (GetProgramIniPath
// for IniAccess::Read) cannot be read, naming the first thing missing on the
// way to it: the host configuration, its restore folder entry or the file
// itself ("<path> was not found"). "" when it can be read.
QString programIniReadProblem(ProcessState& state);
QString GetOCXName(ProcessState& state);
QString GetPathOCXMDB(ProcessState& state);
QString GetPathSourceOCXMDB(ProcessState& state);
QString GetPathMachineCopyMDB(ProcessState& state, const QString& iniFile);
QString GetFileNameOnly(ProcessState& state, const QString& path);
// `text` with the first occurrence of `searchItem`, found with letter case
// ignored, replaced; the rest keeps its letter case. Only the first: the
// record creation counts on it, replacing the machine's name in a variable
// name twice and in other texts once, so a second placeholder of a text
// stays as the template wrote it.
QString ReplaceSearchItem(const QString& text, const QString& searchItem,
                          const QString& replacement);

// The path of the file `name` under the restore folder `restore`.
QString underRestoreFolder(const QString& restore, const QString& name);

} // namespace kpl
