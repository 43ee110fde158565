#include "session/RangeExtremes.h"

#include <algorithm>
#include <bit>

namespace vorn {
namespace {

// Long enough that the tables stay small beside the values, short enough that reading a stretch's loose
// ends costs little.
constexpr std::size_t kBlock = 64;

} // namespace

RangeExtremes::Places RangeExtremes::combine(Places a, Places b) const
{
    // Of equal values the earlier is the lowest and the later the highest, whatever order a and b are in.
    Places p;
    const double al = m_values[a.low];
    const double bl = m_values[b.low];
    p.low = al < bl || (al == bl && a.low < b.low) ? a.low : b.low;
    const double ah = m_values[a.high];
    const double bh = m_values[b.high];
    p.high = ah > bh || (ah == bh && a.high > b.high) ? a.high : b.high;
    return p;
}

RangeExtremes::Places RangeExtremes::scan(std::size_t begin, std::size_t end) const
{
    Places p{begin, begin};
    for (std::size_t i = begin + 1; i < end; ++i) {
        if (m_values[i] < m_values[p.low])
            p.low = i;
        if (!(m_values[i] < m_values[p.high]))
            p.high = i;
    }
    return p;
}

void RangeExtremes::push(double value)
{
    m_values.push_back(value);
    if (m_values.size() % kBlock != 0)
        return;
    // A block is whole: it starts a run of one, and ends a run of 2^k blocks for each k it completes.
    const std::size_t block = m_values.size() / kBlock - 1;
    if (m_runs.empty())
        m_runs.emplace_back();
    m_runs[0].push_back(scan(block * kBlock, m_values.size()));
    for (std::size_t k = 1; (std::size_t{1} << k) <= block + 1; ++k) {
        if (m_runs.size() == k)
            m_runs.emplace_back();
        const std::size_t first = block + 1 - (std::size_t{1} << k);
        const std::size_t half = std::size_t{1} << (k - 1);
        m_runs[k].push_back(combine(m_runs[k - 1][first], m_runs[k - 1][first + half]));
    }
}

void RangeExtremes::cut(std::size_t count)
{
    if (count >= m_values.size())
        return;
    m_values.resize(count);
    const std::size_t blocks = count / kBlock;
    for (std::size_t k = 0; k < m_runs.size(); ++k) {
        const std::size_t length = std::size_t{1} << k;
        m_runs[k].resize(blocks >= length ? std::min(m_runs[k].size(), blocks - length + 1) : 0);
    }
}

std::pair<std::size_t, std::size_t> RangeExtremes::lowHigh(std::size_t begin, std::size_t end) const
{
    const std::size_t firstBlock = (begin + kBlock - 1) / kBlock;
    const std::size_t endBlock = end / kBlock;
    if (firstBlock >= endBlock) {
        const Places p = scan(begin, end);
        return {p.low, p.high};
    }
    // Two runs of blocks that overlap cover the whole blocks; the loose ends are read one by one.
    const std::size_t k = std::bit_width(endBlock - firstBlock) - 1;
    Places p = combine(m_runs[k][firstBlock], m_runs[k][endBlock - (std::size_t{1} << k)]);
    if (begin < firstBlock * kBlock)
        p = combine(p, scan(begin, firstBlock * kBlock));
    if (endBlock * kBlock < end)
        p = combine(p, scan(endBlock * kBlock, end));
    return {p.low, p.high};
}

} // namespace vorn
