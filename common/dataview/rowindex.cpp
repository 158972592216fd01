#include "dataview/rowindex.h"

#include "dataview/rows.h"

namespace dw {

RowIndex::RowIndex() { clear(); }

RowIndex::~RowIndex() = default;

void RowIndex::clear()
{
    m_segments.clear();
    m_segments.emplace_back();
    m_tail = -1;
}

int RowIndex::firstRow(int i) const
{
    int row = 1;
    for (int j = 0; j < i; ++j)
        row += m_segments[size_t(j)].gap + int(m_segments[size_t(j)].ids.size());
    return row + m_segments[size_t(i)].gap;
}

int RowIndex::resultBefore(int i) const
{
    int rows = 0;
    for (int j = 0; j < i; ++j)
        rows += m_segments[size_t(j)].gap + m_segments[size_t(j)].read;
    return rows + m_segments[size_t(i)].gap;
}

int RowIndex::known() const
{
    int rows = qMax(0, m_tail);
    for (const Segment &s : m_segments)
        rows += s.gap + int(s.ids.size());
    return rows;
}

qint64 RowIndex::resultRows() const
{
    qint64 rows = qMax(0, m_tail);
    for (const Segment &s : m_segments)
        rows += s.gap + s.read;
    return rows;
}

RowIndex::Place RowIndex::find(int row) const
{
    int first = 1;
    for (int i = 0; i < count(); ++i) {
        const Segment &s = m_segments[size_t(i)];
        first += s.gap;
        if (row < first)
            return {};
        if (row < first + int(s.ids.size()))
            return {i, row - first};
        first += int(s.ids.size());
    }
    return {};
}

quint32 RowIndex::at(int row) const
{
    const Place p = find(row);
    return m_segments[size_t(p.segment)].ids[size_t(p.index)];
}

RowIndex::Gap RowIndex::gapAt(int row) const
{
    int first = 1;
    for (int i = 0; i < count(); ++i) {
        const Segment &s = m_segments[size_t(i)];
        if (row < first + s.gap)
            return {first, first + s.gap - 1, i - 1};
        first += s.gap + int(s.ids.size());
    }
    if (m_tail < 0)
        return {first, -1, count() - 1};
    if (row < first + m_tail)
        return {first, first + m_tail - 1, count() - 1};
    return {first, first - 1, -1};
}

bool RowIndex::insert(int row, quint32 id)
{
    Place p = find(row);
    if (p.segment < 0) {
        p = row == 1 ? Place{0, -1} : find(row - 1);
        if (p.segment < 0)
            return false;
        ++p.index;
    }
    std::vector<quint32> &ids = m_segments[size_t(p.segment)].ids;
    ids.insert(ids.begin() + p.index, id);
    return true;
}

quint32 RowIndex::take(int row)
{
    const Place p = find(row);
    std::vector<quint32> &ids = m_segments[size_t(p.segment)].ids;
    const quint32 id = ids[size_t(p.index)];
    ids.erase(ids.begin() + p.index);
    return id;
}

void RowIndex::append(int i, const std::vector<quint32> &ids)
{
    Segment &s = m_segments[size_t(i)];
    s.ids.insert(s.ids.end(), ids.begin(), ids.end());
    s.read += int(ids.size());
    if (i + 1 < count()) {
        Segment &next = m_segments[size_t(i + 1)];
        next.gap = qMax(0, next.gap - int(ids.size()));
        joinFrom(i);
    } else if (m_tail > 0) {
        m_tail = qMax(0, m_tail - int(ids.size()));
    }
}

void RowIndex::prepend(int i, const std::vector<quint32> &ids)
{
    Segment &s = m_segments[size_t(i)];
    s.ids.insert(s.ids.begin(), ids.begin(), ids.end());
    s.read += int(ids.size());
    s.gap = qMax(0, s.gap - int(ids.size()));
    if (s.gap == 0 && i > 0)
        joinFrom(i - 1);
}

int RowIndex::place(int row, std::vector<quint32> ids)
{
    const Gap g = gapAt(row);
    if (g.before < 0 && g.last < g.first)
        return -1; // no such row
    Segment s;
    s.gap = row - g.first;
    s.read = int(ids.size());
    const int taken = s.gap + s.read;
    s.ids = std::move(ids);
    const int at = g.before + 1;
    if (at < count())
        m_segments[size_t(at)].gap = qMax(0, m_segments[size_t(at)].gap - taken);
    else if (m_tail >= 0)
        m_tail = qMax(0, m_tail - taken);
    m_segments.insert(m_segments.begin() + at, std::move(s));
    joinFrom(at);
    if (at > 0 && m_segments[size_t(at)].gap == 0)
        joinFrom(at - 1);
    return find(row).segment;
}

void RowIndex::joinFrom(int i)
{
    while (i + 1 < count() && m_segments[size_t(i + 1)].gap == 0) {
        Segment &s = m_segments[size_t(i)];
        Segment &next = m_segments[size_t(i + 1)];
        s.ids.insert(s.ids.end(), next.ids.begin(), next.ids.end());
        s.read += next.read;
        // The earlier cursor would give the later segment's rows again.
        s.cursor = std::move(next.cursor);
        m_segments.erase(m_segments.begin() + i + 1);
    }
}

void RowIndex::dropFar(int row, int keep, const std::function<bool(const Segment &)> &stays)
{
    while (count() - 2 > keep) {
        int farthest = -1;
        qint64 distance = -1;
        for (int i = 1; i + 1 < count(); ++i) {
            if (stays(m_segments[size_t(i)]))
                continue;
            const int first = firstRow(i), last = first + int(m_segments[size_t(i)].ids.size()) - 1;
            const qint64 d = row < first ? first - row : qMax(0, row - last);
            if (d > distance)
                distance = d, farthest = i;
        }
        if (farthest < 0)
            return;
        const Segment &s = m_segments[size_t(farthest)];
        m_segments[size_t(farthest + 1)].gap += s.gap + s.read;
        m_segments.erase(m_segments.begin() + farthest);
    }
}

void RowIndex::dropAfterFirst()
{
    m_segments.erase(m_segments.begin() + 1, m_segments.end());
    m_tail = -1;
}

void RowIndex::forEach(const std::function<void(int, quint32)> &f) const
{
    int row = 1;
    for (const Segment &s : m_segments) {
        row += s.gap;
        for (const quint32 id : s.ids)
            f(row++, id);
    }
}

void RowIndex::remap(const std::function<quint32(quint32)> &f)
{
    for (Segment &s : m_segments)
        for (quint32 &id : s.ids)
            id = f(id);
}

qsizetype RowIndex::capacity() const
{
    qsizetype n = 0;
    for (const Segment &s : m_segments)
        n += qsizetype(s.ids.capacity());
    return n;
}
} // namespace dw
