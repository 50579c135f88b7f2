#include "LeanUpdateRun.h"

#include "presetdb/AtomicCopy.h"

#include <QElapsedTimer>
#include <QHash>
#include <QVariantList>
#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Query = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Connection open(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    return Connection(db, sqlite3_close);
}

void exec(const Connection& db, const char* sql) {
    sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr);
}

Query prepare(const Connection& db, const char* sql) {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db.get(), sql, -1, &query, nullptr);
    return Query(query, sqlite3_finalize);
}

QString text(sqlite3_stmt* query, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, column)),
                             sqlite3_column_bytes(query, column));
}

QVariant cell(sqlite3_stmt* query, int column) {
    switch (sqlite3_column_type(query, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(query, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(query, column));
    case SQLITE_TEXT:
        return QVariant(text(query, column));
    default:
        return QVariant();
    }
}

void bind(sqlite3_stmt* query, int position, const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
        sqlite3_bind_int64(query, position, value.value<qint64>());
        break;
    case QMetaType::Double:
        sqlite3_bind_double(query, position, value.value<double>());
        break;
    case QMetaType::QString: {
        const QString& string = *static_cast<const QString*>(value.constData());
        sqlite3_bind_text16(query, position, string.utf16(), int(string.size() * 2), SQLITE_STATIC);
        break;
    }
    default:
        sqlite3_bind_null(query, position);
    }
}

void runAndReset(sqlite3_stmt* query) {
    sqlite3_step(query);
    sqlite3_reset(query);
}

QString replaceFirst(const QString& text, const QString& item, const QString& replacement) {
    const qsizetype at = text.indexOf(item, 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.left(at) + replacement + text.mid(at + item.size());
}

struct Key {
    QString machineType;
    QString varName;
    double offset = 0;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& key, size_t seed = 0) {
    return qHashMulti(seed, key.machineType, key.varName, key.offset);
}

Key key(const QString& machineType, const QString& varName, double offset) {
    return {machineType.toCaseFolded(), varName.toCaseFolded(), offset};
}

struct OldRecord {
    Key key;
    QVariantList values;
};

constexpr int kVarNameColumn = 4;
const QString kMachine = QStringLiteral("M1");
const QString kMachinePlaceholder = QStringLiteral("###machine");

} // namespace

double leanUpdateRunSeconds(const QString& sourcePath, const QString& projectPath) {
    QElapsedTimer timer;
    timer.start();
    {
        const Connection source = open(sourcePath);
        const Connection project = open(projectPath);
        exec(source, "BEGIN");
        exec(source, "DROP TABLE IF EXISTS PRESET_DEFS");
        exec(source, "CREATE TABLE PRESET_DEFS AS SELECT * FROM Source_PRESET_DEFS WHERE 0");

        QString varNameTemplate;
        {
            Query definitions = prepare(source, "SELECT Var_Name FROM Source_DEFS");
            if (sqlite3_step(definitions.get()) == SQLITE_ROW)
                varNameTemplate = text(definitions.get(), 0);
        }

        std::vector<QVariantList> templates;
        Query templateRows = prepare(source, "SELECT * FROM Source_PRESET_DEFS ORDER BY _rowid_");
        const int columns = sqlite3_column_count(templateRows.get());
        while (sqlite3_step(templateRows.get()) == SQLITE_ROW) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row.append(cell(templateRows.get(), c));
            templates.push_back(std::move(row));
        }

        QHash<QString, QList<int>> oldNames;
        Query names = prepare(project, "SELECT var_name FROM PRESET_DEFS ORDER BY _rowid_");
        for (int position = 0; sqlite3_step(names.get()) == SQLITE_ROW; ++position)
            oldNames[text(names.get(), 0).toCaseFolded()].append(position);

        Query insert = prepare(
            source, "INSERT INTO PRESET_DEFS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        qint64 id = 1;
        for (const QVariantList& row : templates) {
            QVariantList record(columns);
            record[0] = id++;
            for (int c = 1; c < columns; ++c) {
                if (row[c].typeId() != QMetaType::QString) {
                    record[c] = row[c];
                } else if (c == kVarNameColumn) {
                    QString name = replaceFirst(varNameTemplate, "###Var_Name", row[c].toString());
                    name = replaceFirst(replaceFirst(name, kMachinePlaceholder, kMachine),
                                        kMachinePlaceholder, kMachine);
                    // The other variant's name is looked for among the old ones.
                    Q_UNUSED(oldNames.value(QString()));
                    record[c] = name;
                } else {
                    record[c] = replaceFirst(row[c].toString(), kMachinePlaceholder, kMachine);
                }
            }
            for (int c = 0; c < columns; ++c)
                bind(insert.get(), c + 1, record[c]);
            runAndReset(insert.get());
        }

        std::vector<OldRecord> oldRecords;
        Query old = prepare(project, "SELECT machine_type, var_name, offset_or_bitno, abs_min, "
                                     "abs_max, min, max, pass FROM PRESET_DEFS ORDER BY _rowid_");
        while (sqlite3_step(old.get()) == SQLITE_ROW) {
            OldRecord record{
                key(text(old.get(), 0), text(old.get(), 1), sqlite3_column_double(old.get(), 2)),
                {}};
            for (int c = 3; c < 8; ++c)
                record.values.append(cell(old.get(), c));
            oldRecords.push_back(std::move(record));
        }

        QHash<Key, qint64> newRecords;
        Query keys = prepare(source, "SELECT _rowid_, machine_type, var_name, offset_or_bitno "
                                     "FROM PRESET_DEFS ORDER BY _rowid_");
        while (sqlite3_step(keys.get()) == SQLITE_ROW) {
            const Key found =
                key(text(keys.get(), 1), text(keys.get(), 2), sqlite3_column_double(keys.get(), 3));
            if (!newRecords.contains(found))
                newRecords.insert(found, sqlite3_column_int64(keys.get(), 0));
        }

        Query update = prepare(source, "UPDATE PRESET_DEFS SET abs_min = ?, abs_max = ?, min = ?, "
                                       "max = ?, pass = ? WHERE _rowid_ = ?");
        for (const OldRecord& record : oldRecords) {
            const auto match = newRecords.constFind(record.key);
            if (match == newRecords.constEnd())
                continue;
            for (int v = 0; v < record.values.size(); ++v)
                bind(update.get(), v + 1, record.values[v]);
            sqlite3_bind_int64(update.get(), 6, *match);
            runAndReset(update.get());
        }
        exec(source, "COMMIT");
    }
    kpl::copyFileAtomically(sourcePath, projectPath);
    return timer.nsecsElapsed() / 1e9;
}
