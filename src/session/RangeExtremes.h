#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace vorn {

// Values added one at a time that tell, of any stretch of them, where its first lowest and last highest
// value are, at a cost that does not grow with the stretch nor with the number of values: whole blocks of
// values are looked up in tables that cover runs of blocks by powers of two, and only the values at the
// stretch's ends outside whole blocks are read one by one.
class RangeExtremes {
public:
    void push(double value);
    // Keeps the first `count` values, dropping the rest.
    void cut(std::size_t count);

    std::size_t size() const { return m_values.size(); }
    double operator[](std::size_t i) const { return m_values[i]; }

    // The places of the first lowest and the last highest value from `begin` up to, not including, `end`
    // (begin < end <= size()): the very points std::minmax_element picks.
    std::pair<std::size_t, std::size_t> lowHigh(std::size_t begin, std::size_t end) const;

private:
    struct Places {
        std::size_t low = 0;
        std::size_t high = 0;
    };

    Places combine(Places a, Places b) const;
    Places scan(std::size_t begin, std::size_t end) const;

    std::vector<double> m_values;
    // m_runs[k][b]: the places over the 2^k whole blocks from block b on.
    std::vector<std::vector<Places>> m_runs;
};

} // namespace vorn
