#include "presetdb/Templates.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/VisiWinVariant.h"
#include "database/Database.h"
#include "database/Recordset.h"
#include "errors/Procedure.h"
#include "presetdb/Conversions.h"

namespace kpl {

namespace {

// One step of reading a row, with the row's own failure handling.
class RowReader {
public:
    explicit RowReader(ProcessState& state) : m_state(state) {}

    template <class Body> bool step(Body&& body) {
        try {
            body();
            return true;
        } catch (const Failure&) {
            for (auto& templates : m_state.varNameTemplates)
                templates.at(1) = placeholder::VarName;
            return false;
        }
    }
    // A failed test runs the step it guards.
    template <class Condition> bool test(Condition&& condition) {
        bool result = true;
        step([&] { result = condition(); });
        return result;
    }

private:
    ProcessState& m_state;
};

QString templateText(const QVariant& value) {
    if (value.isNull())
        raise(vb::InvalidUseOfNull);
    return value.toString();
}

// Whether a template row's system names `variant`. A Null system names none.
bool systemIs(const QVariant& system, VisiWinVariant variant) {
    const char* name = variant == VisiWinVariant::VisiWinStudio ? "VISIWINSTUDIO" : "VISIWIN32";
    return !system.isNull() && system.toString().toUpper() == QLatin1String(name);
}

} // namespace

void LoadVarNameTemplates(ProcessState& state, Procedure& proc, const QString& sourcePath) {
    std::optional<Database> source;
    std::optional<Recordset> rows;
    proc.step([&] { source.emplace(Database::open(sourcePath)); });
    proc.step([&] { rows.emplace(source.value().openRecordset(table::SourceDefs)); });
    if (!rows)
        return;
    RowReader row(state);
    while (!rows->eof()) {
        for (const VisiWinVariant variant : kVisiWinVariants) {
            if (row.test([&] { return systemIs(rows->value(sourceDefs::System), variant); })) {
                row.step([&] {
                    state.varNameTemplates[variant].at(cellToInt16(rows->value(sourceDefs::Part))) =
                        templateText(rows->value(sourceDefs::VarName));
                });
            }
        }
        if (!row.step([&] { rows->moveNext(); }))
            break;
    }
    rows.reset();
    proc.step([&] { source->close(); });
}

} // namespace kpl
