#pragma once

#include <QLatin1String>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

namespace kpl {

// The controls of the presets dialog that the program addresses, each known
// by its name in the layout table. A name misspelt here fails to compile;
// the dialog model checks once, when it is made, that the table holds them.
enum class ControlId {
    FrameDTI,
    CheckDTI,
    LabelZeit,
    TextZeit,
    CheckTolleranz,
    CommandQuest,
    CommandOK,
    CommandCancel,
};

inline constexpr std::array kControlNames{
    std::pair{ControlId::FrameDTI, QLatin1String("FrameDTI")},
    std::pair{ControlId::CheckDTI, QLatin1String("CheckDTI")},
    std::pair{ControlId::LabelZeit, QLatin1String("LabelZeit")},
    std::pair{ControlId::TextZeit, QLatin1String("TextZeit")},
    std::pair{ControlId::CheckTolleranz, QLatin1String("CheckTolleranz")},
    std::pair{ControlId::CommandQuest, QLatin1String("CommandQuest")},
    std::pair{ControlId::CommandOK, QLatin1String("CommandOK")},
    std::pair{ControlId::CommandCancel, QLatin1String("CommandCancel")},
};

namespace detail {
constexpr bool controlNamesInOrder() {
    for (std::size_t i = 0; i < kControlNames.size(); ++i) {
        if (kControlNames[i].first != ControlId(i))
            return false;
    }
    return true;
}
} // namespace detail
static_assert(detail::controlNamesInOrder() &&
                  kControlNames.size() == std::size_t(ControlId::CommandCancel) + 1,
              "kControlNames lists every ControlId, in order");

inline constexpr QLatin1String controlName(ControlId id) {
    return kControlNames[std::size_t(id)].second;
}

// The control the layout table names `name`, when the program addresses it.
inline std::optional<ControlId> controlId(QStringView name) {
    for (const auto& [id, known] : kControlNames) {
        if (name == known)
            return id;
    }
    return std::nullopt;
}

} // namespace kpl
