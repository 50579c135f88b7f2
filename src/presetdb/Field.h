#pragma once

#include "presetdb/FieldType.h"

#include <QString>

namespace kpl {

// One column of a table definition or a recordset: its name, type and size
// (the text length for Text, the storage size for fixed-size types).
struct Field {
    QString name;
    FieldType type = FieldType::Untyped;
    int size = 0;
    bool operator==(const Field&) const = default;
};

} // namespace kpl
