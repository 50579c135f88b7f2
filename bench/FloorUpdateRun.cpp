#include "FloorUpdateRun.h"

#include "presetdb/AtomicCopy.h"

#include <QElapsedTimer>
#include <QHash>
#include <sqlite3.h>

#include <memory>

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

// Binds a string where it lies; it must outlive the statement's next step.
void bindText(sqlite3_stmt* query, int position, const QString& string) {
    sqlite3_bind_text16(query, position, string.utf16(), int(string.size() * 2), SQLITE_STATIC);
}

void runAndReset(sqlite3_stmt* query) {
    sqlite3_step(query);
    sqlite3_reset(query);
}

// The placeholders start with '#', which has no case: only the places of
// that character are compared with letter case ignored.
QString replaceFirst(const QString& text, const QString& item, const QString& replacement) {
    for (qsizetype at = text.indexOf(item.front()); at >= 0 && at + item.size() <= text.size();
         at = text.indexOf(item.front(), at + 1)) {
        if (QStringView(text).mid(at, item.size()).compare(item, Qt::CaseInsensitive) == 0)
            return text.left(at) + replacement + text.mid(at + item.size());
    }
    return text;
}

// The match keys of a record, texts folded to compare with letter case
// ignored.
struct Key {
    QString machineType;
    QString varName;
    double offset = 0;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& key, size_t seed = 0) {
    return qHashMulti(seed, key.machineType, key.varName, key.offset);
}

Key key(sqlite3_stmt* query, int firstColumn) {
    return {text(query, firstColumn).toCaseFolded(), text(query, firstColumn + 1).toCaseFolded(),
            sqlite3_column_double(query, firstColumn + 2)};
}

constexpr int kVarNameColumn = 4;
const QString kMachine = QStringLiteral("M1");
const QString kMachinePlaceholder = QStringLiteral("###machine");

} // namespace

double floorUpdateRunSeconds(const QString& sourcePath, const QString& projectPath) {
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

        // The old names, for the renaming of the other variant's names.
        QHash<QString, int> oldNames;
        Query names = prepare(project, "SELECT var_name FROM PRESET_DEFS ORDER BY _rowid_");
        for (int position = 0; sqlite3_step(names.get()) == SQLITE_ROW; ++position)
            oldNames.insert(text(names.get(), 0).toCaseFolded(), position);

        // Each template row is written as it is read; only its texts are
        // turned into strings, to get the machine's name.
        Query templates = prepare(source, "SELECT * FROM Source_PRESET_DEFS ORDER BY _rowid_");
        const int columns = sqlite3_column_count(templates.get());
        Query insert = prepare(
            source, "INSERT INTO PRESET_DEFS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        QList<QString> texts(columns);
        for (qint64 id = 1; sqlite3_step(templates.get()) == SQLITE_ROW; ++id) {
            sqlite3_bind_int64(insert.get(), 1, id);
            for (int c = 1; c < columns; ++c) {
                if (sqlite3_column_type(templates.get(), c) != SQLITE_TEXT) {
                    sqlite3_bind_value(insert.get(), c + 1,
                                       sqlite3_column_value(templates.get(), c));
                    continue;
                }
                if (c == kVarNameColumn) {
                    QString name =
                        replaceFirst(varNameTemplate, "###Var_Name", text(templates.get(), c));
                    name = replaceFirst(replaceFirst(name, kMachinePlaceholder, kMachine),
                                        kMachinePlaceholder, kMachine);
                    // The name is looked for among the old ones, as the renaming does.
                    Q_UNUSED(oldNames.contains(name.toCaseFolded()));
                    texts[c] = std::move(name);
                } else {
                    texts[c] =
                        replaceFirst(text(templates.get(), c), kMachinePlaceholder, kMachine);
                }
                bindText(insert.get(), c + 1, texts[c]);
            }
            runAndReset(insert.get());
        }

        // The first new record of each key.
        QHash<Key, qint64> newRecords;
        Query keys = prepare(source, "SELECT _rowid_, machine_type, var_name, offset_or_bitno "
                                     "FROM PRESET_DEFS ORDER BY _rowid_");
        while (sqlite3_step(keys.get()) == SQLITE_ROW) {
            const Key found = key(keys.get(), 1);
            if (!newRecords.contains(found))
                newRecords.insert(found, sqlite3_column_int64(keys.get(), 0));
        }

        // Each old record's values go straight from the row read to the row
        // written.
        Query old = prepare(project, "SELECT machine_type, var_name, offset_or_bitno, abs_min, "
                                     "abs_max, min, max, pass FROM PRESET_DEFS ORDER BY _rowid_");
        Query update = prepare(source, "UPDATE PRESET_DEFS SET abs_min = ?, abs_max = ?, min = ?, "
                                       "max = ?, pass = ? WHERE _rowid_ = ?");
        while (sqlite3_step(old.get()) == SQLITE_ROW) {
            const auto match = newRecords.constFind(key(old.get(), 0));
            if (match == newRecords.constEnd())
                continue;
            for (int v = 0; v < 5; ++v)
                sqlite3_bind_value(update.get(), v + 1, sqlite3_column_value(old.get(), v + 3));
            sqlite3_bind_int64(update.get(), 6, *match);
            runAndReset(update.get());
        }
        exec(source, "COMMIT");
    }
    kpl::copyFileAtomically(sourcePath, projectPath);
    return timer.nsecsElapsed() / 1e9;
}
