#include "presetdb/Templates.h"

#include "core/ProcessState.h"
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
            m_state.varNameTemplates[0][1] = QStringLiteral("###Var_Name");
            m_state.varNameTemplates[1][1] = QStringLiteral("###Var_Name");
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

// The part number as an index into the templates; failure 9 outside 1..50.
int partIndex(const QVariant& part) {
    const qint16 number = cellToInt16(part);
    if (number < 1 || number > 50)
        raise(vb::SubscriptOutOfRange);
    return number;
}

QString templateText(const QVariant& value) {
    if (value.isNull())
        raise(vb::InvalidUseOfNull);
    return value.toString();
}

bool systemIs(const QVariant& system, const char* name) {
    // A Null system equals nothing.
    return !system.isNull() && system.toString().toUpper() == QLatin1String(name);
}

} // namespace

void LoadVarNameTemplates(ProcessState& state, Procedure& proc, const QString& sourcePath) {
    std::optional<Database> source;
    std::optional<Recordset> rows;
    proc.step([&] { source.emplace(Database::open(sourcePath)); });
    proc.step([&] { rows.emplace(source.value().openRecordset(QStringLiteral("Source_DEFS"))); });
    if (!rows)
        return;
    RowReader row(state);
    while (!rows->eof()) {
        const char* systems[] = {"VISIWIN32", "VISIWINSTUDIO"};
        for (int variant = 0; variant < 2; ++variant) {
            if (row.test([&] { return systemIs(rows->value(QStringLiteral("System")), systems[variant]); })) {
                row.step([&] {
                    state.varNameTemplates[variant][partIndex(rows->value(QStringLiteral("Part")))] =
                        templateText(rows->value(QStringLiteral("Var_Name")));
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
