#include "presetdb/Takeover.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/WholeNumber.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "database/Database.h"
#include "database/DbError.h"
#include "database/Recordset.h"
#include "database/TextCollation.h"
#include "errors/ErrorHandler.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/Conversions.h"
#include "presetdb/TakeoverTexts.h"
#include "settings/ProjectPaths.h"

#include <QHash>
#include <vector>

namespace kpl {

namespace {

using namespace presetDefs;

// The values tuned on the machine, which are taken over.
const QStringList kValueColumns = {AbsMin, AbsMax, Min, Max, Pass};
// The columns the selection of matching new records names before the
// additional fields; a new table without one of them matches nothing.
const QStringList kSelectedColumns =
    QStringList{Id,         MachineType,   Type, VarName, CategoryId,
                IsBitArray, OffsetOrBitNo, Text, PageName} +
    kValueColumns;

// One old record: the match keys and the values taken over. The other
// buffered columns must exist, but nothing uses their values.
struct OldRecord {
    QVariant machineType;
    QVariant varName;
    QVariant offset;
    QVariantList values;
};

// The three match keys; texts compare as the database compares them, with
// letter case ignored.
struct MatchKey {
    QString machineType;
    QString varName;
    double offset = 0;
    bool operator==(const MatchKey&) const = default;
};

size_t qHash(const MatchKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.machineType, key.varName, key.offset);
}

MatchKey matchKey(const QString& machineType, const QString& varName, double offset) {
    return {textKey(machineType), textKey(varName), offset};
}

// The current record's value in the column at `index`; a missing column
// fails as the engine fails for an unknown name.
QVariant cell(const Recordset& table, int index) {
    if (index < 0)
        throw DbError::numbered(db::ItemNotFound);
    return table.value(index);
}

// The new records by match key, the first record of a key winning as the
// selection delivered them in table order. Records whose keys are Null never
// match.
QHash<MatchKey, int> indexNewRecords(Database& target) {
    QHash<MatchKey, int> index;
    // The keys alone, in the table's order: a row's place here is its place
    // in the table.
    Recordset keys =
        target.openSnapshot(QStringLiteral("SELECT %1, %2, %3 FROM %4 ORDER BY _rowid_")
                                .arg(MachineType, VarName, OffsetOrBitNo, table::PresetDefs));
    const std::vector<QVariantList> rows = keys.getRows(keys.recordCount());
    index.reserve(qsizetype(rows.size()));
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const QVariantList& row = rows[position];
        const std::optional<double> offset = cellNumber(row.at(2));
        if (row.at(0).isNull() || row.at(1).isNull() || !offset)
            continue;
        const MatchKey key = matchKey(valueText(row.at(0)), valueText(row.at(1)), *offset);
        if (!index.contains(key)) // the first record the selection delivers is the one updated
            index.insert(key, int(position));
    }
    return index;
}

// The columns the selection names that the new table lacks.
QStringList missingSelectionColumns(const Recordset& table, const QStringList& additional) {
    QStringList missing;
    for (const QString& column : kSelectedColumns + additional) {
        if (table.indexOf(column) < 0)
            missing.append(column);
    }
    return missing;
}

// The first demanded additional field missing from the new table's columns
// after the first one (exact spelling), or none.
std::optional<QString> missingDemandedField(const ProcessState& state, const Recordset& table) {
    if (!state.additionalFields)
        return std::nullopt;
    for (qsizetype k = 1; k < state.additionalFields->size(); ++k) {
        const QString& demanded = state.additionalFields->at(k);
        bool found = false;
        for (int c = 1; c < table.fieldCount() && !found; ++c)
            found = table.fieldName(c) == demanded;
        if (!found)
            return demanded;
    }
    return std::nullopt;
}

// What every step of one takeover needs.
struct Takeover {
    ProcessState& state;
    Procedure& proc;
    Database& target;
    QString executable;
    QString component;

    void fail() {
        proc.report(Failure{takeover::kFailureNumber, executable, takeover::failureDescription()},
                    true);
    }
};

// More old columns than are carried over: warn, and in a dialog let the
// user stop the configuration.
void warnAboutColumns(Takeover& run, int oldColumns) {
    ProcessState& state = run.state;
    if (!run.proc.test([&] { return oldColumns > 15 && state.additionalFieldCount == 0; }))
        return;
    if (state.silentMode) {
        LogFault(state, takeover::silentWarningText(run.component));
        return;
    }
    const MsgAnswer answer =
        state.runtime.showMessage({takeover::warningText(run.component), run.executable,
                                   MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No});
    if (answer != MsgAnswer::No)
        return;
    const QString& program = state.runtime.executablePath();
    WriteErrorLog(state,
                  takeover::abortLine(run.executable, run.component,
                                      platform::executableFolder(program) + platform::separator() +
                                          platform::executableFileName(program)));
    run.fail();
}

// The number of old records: walked through at most `claimed` moves.
int walkedCount(Takeover& run, Recordset& old, qint16 claimed) {
    if (!run.proc.step([&] { old.moveFirst(); }) || claimed <= 0)
        return 1;
    for (int move = 1; move <= claimed; ++move) {
        run.proc.step([&] { old.moveNext(); });
        if (old.eof())
            return move;
    }
    return claimed + 1;
}

// A walked count that matches neither the claimed count nor the new table's
// record count is a damaged old table.
void checkCount(Takeover& run, int walked, qint16 claimed) {
    if (walked == claimed)
        return;
    int inTarget = 0;
    run.proc.step([&] {
        Recordset table = run.target.openRecordset(table::PresetDefs);
        table.moveLast();
        inTarget = int(table.recordCount());
    });
    if (walked == inTarget)
        return;
    const QString machineCopy =
        GetPathMachineCopyMDB(run.state, GetN4RConfigurationIniPath(run.state));
    WriteErrorLog(run.state,
                  takeover::countLine(run.executable, machineCopy, walked, claimed, inTarget));
    run.fail();
}

// The old records' keys and values, read in the recordset's order. Every
// buffered column must exist; the category is read from `categoryColumn`.
std::vector<OldRecord> bufferOldRecords(Takeover& run, Recordset& old, int count,
                                        const QString& categoryColumn) {
    std::vector<OldRecord> buffer(std::size_t(std::max(count, 0)));
    if (count <= 0)
        return buffer;
    Procedure& proc = run.proc;
    proc.step([&] { old.moveFirst(); });
    const int machineType = old.indexOf(MachineType);
    const int varName = old.indexOf(VarName);
    const int offset = old.indexOf(OffsetOrBitNo);
    QList<int> unused;
    for (const QString& column : {Id, Type, categoryColumn, IsBitArray, Text, PageName})
        unused.append(old.indexOf(column));
    QList<int> values;
    for (const QString& column : kValueColumns)
        values.append(old.indexOf(column));
    for (OldRecord& record : buffer) {
        run.state.runtime.doEvents();
        proc.assign(record.machineType, [&] { return cell(old, machineType); });
        proc.assign(record.varName, [&] { return cell(old, varName); });
        proc.assign(record.offset, [&] { return cell(old, offset); });
        for (const int column : unused)
            proc.step([&] { cell(old, column); });
        record.values.resize(values.size());
        for (qsizetype v = 0; v < values.size(); ++v)
            proc.assign(record.values[v], [&] { return cell(old, values[v]); });
        proc.step([&] { old.moveNext(); });
    }
    return buffer;
}

// The new table as the transfer uses it, opened with the first old record.
struct NewRecords {
    std::optional<Recordset> table;
    QHash<MatchKey, int> byKey;
    QList<int> valueColumns;
    std::optional<QString> missingField;
    QStringList missingColumns;

    void open(const ProcessState& state, Database& target) {
        table.emplace(target.openRecordset(table::PresetDefs));
        // The table does not change while values are written: what the checks
        // find for the first record holds for every record.
        missingField = missingDemandedField(state, *table);
        const QStringList additional =
            state.additionalFields ? state.additionalFields->mid(1) : QStringList();
        missingColumns = missingSelectionColumns(*table, additional);
        if (!missingColumns.isEmpty())
            return;
        byKey = indexNewRecords(target);
        for (const QString& column : kValueColumns)
            valueColumns.append(table->indexOf(column));
    }
};

// A new table that lacks columns the selection names matches no old record:
// said once, as one failure, however many records there are.
void reportUnselectableColumns(Takeover& run, const QStringList& columns) {
    run.proc.report(DbError(db::ItemNotFound, QStringLiteral("Database"),
                            db::description(db::ItemNotFound) +
                                QStringLiteral(" %1 has no column %2 to select the old "
                                               "values by; none was taken over.")
                                    .arg(table::PresetDefs, columns.join(QStringLiteral(", ")))));
}

// Writes each old record's values into the first new record with its keys.
// A demanded additional column missing from the new table ends the program,
// also in silent mode.
void transfer(Takeover& run, const std::vector<OldRecord>& buffer) {
    Procedure& proc = run.proc;
    NewRecords fresh;
    for (const OldRecord& record : buffer) {
        if (!fresh.table && proc.step([&] { fresh.open(run.state, run.target); }) &&
            !fresh.missingColumns.isEmpty())
            reportUnselectableColumns(run, fresh.missingColumns);
        if (fresh.table && fresh.missingField) {
            WriteErrorLog(run.state, takeover::conflictLine(run.component, *fresh.missingField));
            run.fail();
            EndProgram(run.state);
        }
        const std::optional<double> offset = cellNumber(record.offset);
        if (!fresh.missingColumns.isEmpty() || !offset)
            continue; // no selection can be made for this record
        const auto match = fresh.byKey.constFind(
            matchKey(valueText(record.machineType), valueText(record.varName), *offset));
        if (match == fresh.byKey.constEnd())
            continue;
        Recordset& table = *fresh.table;
        proc.step([&] { table.moveTo(*match); });
        proc.step([&] { table.edit(); });
        for (qsizetype v = 0; v < fresh.valueColumns.size(); ++v)
            proc.step([&] { table.setValue(fresh.valueColumns[v], record.values[v]); });
        proc.step([&] { table.update(); });
    }
}

} // namespace

void TakeoverMachineCopyMDBData(ProcessState& state, Database& target,
                                std::optional<Recordset>& machineCopy) {
    Procedure proc(state, QStringLiteral("TakeoverMachineCopyMDBData"));
    Takeover run{state, proc, target, platform::executableName(state.runtime.executablePath()),
                 GetOCXName(state).toUpper()};

    int oldColumns = 0;
    proc.assign(oldColumns, [&] { return machineCopy.value().fieldCount(); });
    warnAboutColumns(run, oldColumns);
    if (!machineCopy)
        return;
    Recordset& old = *machineCopy;

    QString categoryColumn = CategoryId;
    proc.step([&] {
        const int oldCategory = old.indexOf(OldCategory);
        if (oldCategory >= 0)
            categoryColumn = old.fieldName(oldCategory);
    });

    qint16 claimed = 0;
    proc.assign(claimed, [&] { return toInt16(old.recordCount()); });
    // An old table without records has nothing to take over.
    bool empty = false;
    proc.assign(empty, [&] { return old.recordCount() == 0; });
    if (empty) {
        machineCopy.reset();
        return;
    }
    const int walked = walkedCount(run, old, claimed);
    checkCount(run, walked, claimed);
    const std::vector<OldRecord> buffer = bufferOldRecords(run, old, walked, categoryColumn);
    machineCopy.reset();
    transfer(run, buffer);
}

} // namespace kpl
