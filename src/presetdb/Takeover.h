#pragma once

#include <optional>

namespace kpl {

struct ProcessState;
class Database;
class Recordset;

// Carries the values tuned on the machine (abs_min, abs_max, min, max, pass)
// from the old PRESET_DEFS records over into the matching new records of
// `target`, matched by machine_type, var_name and offset_or_bitno. Guards the
// takeover with the column warning, the record-count check and the
// demanded-column check. Releases `machineCopy`.
void TakeoverMachineCopyMDBData(ProcessState& state, Database& target,
                                std::optional<Recordset>& machineCopy);

} // namespace kpl
