#pragma once

#include <QString>

// The data work of the update run on the benchmark's project, written
// straight against SQLite with Qt values for the cells and nothing else: no
// recordsets, no conversions to column types, no error handling, no events.
// Reads the templates and the old names, creates the records, reads the old
// values and the new keys, writes the matching values and copies the source
// database over the project database. Returns the seconds it took.
//
// It shows how fast the run could be at best with cells held as Qt values;
// the minimal work of the benchmark reads nothing and writes one file.
double leanUpdateRunSeconds(const QString& sourcePath, const QString& projectPath);
