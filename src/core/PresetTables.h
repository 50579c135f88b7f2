#pragma once

#include <QLatin1String>

// The tables of the preset definition databases, the columns the program
// names and the placeholders of their template texts, each named once.
namespace kpl {

namespace table {
inline constexpr QLatin1String SourceDefs("Source_DEFS");
inline constexpr QLatin1String SourcePresetDefs("Source_PRESET_DEFS");
inline constexpr QLatin1String PresetDefs("PRESET_DEFS");
} // namespace table

// The variable-name templates, one row per part and HMI variant.
namespace sourceDefs {
inline constexpr QLatin1String System("System");
inline constexpr QLatin1String Part("Part");
inline constexpr QLatin1String VarName("Var_Name");
} // namespace sourceDefs

// PRESET_DEFS, and Source_PRESET_DEFS whose columns it is made with.
namespace presetDefs {
inline constexpr QLatin1String Id("ID");
inline constexpr QLatin1String MachineType("machine_type");
inline constexpr QLatin1String Type("type");
inline constexpr QLatin1String Part("part");
inline constexpr QLatin1String VarName("var_name");
inline constexpr QLatin1String CategoryId("category_id");
// What older project databases call category_id (any letter case).
inline constexpr QLatin1String OldCategory("CATEGORIE");
inline constexpr QLatin1String IsBitArray("isBitArray");
inline constexpr QLatin1String OffsetOrBitNo("offset_or_bitno");
inline constexpr QLatin1String Text("text");
inline constexpr QLatin1String PageName("page_name");
inline constexpr QLatin1String AbsMin("abs_min");
inline constexpr QLatin1String AbsMax("abs_max");
inline constexpr QLatin1String Min("min");
inline constexpr QLatin1String Max("max");
inline constexpr QLatin1String Pass("pass");
} // namespace presetDefs

// Placeholders of template texts, matched with letter case ignored.
namespace placeholder {
inline constexpr QLatin1String VarName("###Var_Name");
inline constexpr QLatin1String Machine("###machine");
} // namespace placeholder

} // namespace kpl
