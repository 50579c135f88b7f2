#pragma once

#include <QString>

// The tables of the preset definition databases, the columns the program
// names and the placeholders of their template texts, each named once.
namespace kpl {

namespace table {
inline const QString SourceDefs = QStringLiteral("Source_DEFS");
inline const QString SourcePresetDefs = QStringLiteral("Source_PRESET_DEFS");
inline const QString PresetDefs = QStringLiteral("PRESET_DEFS");
} // namespace table

// The variable-name templates, one row per part and HMI variant.
namespace sourceDefs {
inline const QString System = QStringLiteral("System");
inline const QString Part = QStringLiteral("Part");
inline const QString VarName = QStringLiteral("Var_Name");
} // namespace sourceDefs

// PRESET_DEFS, and Source_PRESET_DEFS whose columns it is made with.
namespace presetDefs {
inline const QString Id = QStringLiteral("ID");
inline const QString MachineType = QStringLiteral("machine_type");
inline const QString Type = QStringLiteral("type");
inline const QString Part = QStringLiteral("part");
inline const QString VarName = QStringLiteral("var_name");
inline const QString CategoryId = QStringLiteral("category_id");
// What older project databases call category_id (any letter case).
inline const QString OldCategory = QStringLiteral("CATEGORIE");
inline const QString IsBitArray = QStringLiteral("isBitArray");
inline const QString OffsetOrBitNo = QStringLiteral("offset_or_bitno");
inline const QString Text = QStringLiteral("text");
inline const QString PageName = QStringLiteral("page_name");
inline const QString AbsMin = QStringLiteral("abs_min");
inline const QString AbsMax = QStringLiteral("abs_max");
inline const QString Min = QStringLiteral("min");
inline const QString Max = QStringLiteral("max");
inline const QString Pass = QStringLiteral("pass");
} // namespace presetDefs

// Placeholders of template texts, matched with letter case ignored.
namespace placeholder {
inline const QString VarName = QStringLiteral("###Var_Name");
inline const QString Machine = QStringLiteral("###machine");
} // namespace placeholder

} // namespace kpl
