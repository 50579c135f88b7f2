#pragma once

#include <array>
#include <cstddef>

namespace kpl {

// The HMI variant the project's variable names are built for: VisiWin 32, or
// VisiWin Studio where a standalone start's program INI says so.
enum class VisiWinVariant { VisiWin32, VisiWinStudio };

inline constexpr std::array<VisiWinVariant, 2> kVisiWinVariants{VisiWinVariant::VisiWin32,
                                                                VisiWinVariant::VisiWinStudio};

// One value for each HMI variant.
template <class T> class PerVisiWinVariant {
public:
    T& operator[](VisiWinVariant variant) { return m_values[std::size_t(variant)]; }
    const T& operator[](VisiWinVariant variant) const { return m_values[std::size_t(variant)]; }

    auto begin() { return m_values.begin(); }
    auto end() { return m_values.end(); }

private:
    std::array<T, kVisiWinVariants.size()> m_values{};
};

} // namespace kpl
