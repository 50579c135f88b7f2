#pragma once

#include "core/Failure.h"

#include <array>
#include <cstddef>

namespace kpl {

// A table numbered 1 to Last, as the old program dimensioned its arrays. A
// number outside that range is failure 9 (subscript out of range).
template <class T, int Last> class OneBasedArray {
public:
    static constexpr int kLast = Last;

    static constexpr bool contains(qint64 number) { return number >= 1 && number <= Last; }

    T& at(qint64 number) { return m_items[index(number)]; }
    const T& at(qint64 number) const { return m_items[index(number)]; }

private:
    static std::size_t index(qint64 number) {
        if (!contains(number))
            raise(vb::SubscriptOutOfRange);
        return std::size_t(number - 1);
    }

    std::array<T, Last> m_items{};
};

} // namespace kpl
