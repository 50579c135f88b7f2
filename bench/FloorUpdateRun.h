#pragma once

#include <QString>

// The data work of the update run on the benchmark's project, written
// straight against SQLite: no recordsets, no error handling, no events, and
// no values of our own. Cells stay the engine's values from the row they are
// read from to the row they are written to; only the texts that get the
// machine's name are turned into strings. Reads the templates and the old
// names, creates the records, reads the old values and the new keys, writes
// the matching values and copies the source database over the project
// database. Returns the seconds it took.
//
// It shows the least time any program needs for the run's reads, look-ups
// and writes; the minimal work of the benchmark reads nothing and writes one
// file.
double floorUpdateRunSeconds(const QString& sourcePath, const QString& projectPath);
