#pragma once
#include "platform/export.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

// Which rows of a result a data view holds, and where (no widgets, no
// database). The rows held form segments in row order: the first from row 1 on,
// others around places the view has shown or from the end. Between segments lie
// gaps of rows known by number only. Row numbers are worked out from the
// segments and gaps, so a row added or deleted in a segment moves every row
// after it; the gaps keep the result's own positions, where a gap's rows are
// found in the database.
namespace dw {

class RowCursor;

class COMMON_EXPORT RowIndex {
public:
    struct Segment {
        std::vector<quint32> ids;          // handles of its rows, in row order
        int gap = 0;                       // unread rows of the result before it (after the segment before)
        int read = 0;                      // rows of the result it stands for: those read, deleted ones
                                           // included
        std::unique_ptr<RowCursor> cursor; // when open, gives the rows of the result after it
    };

    RowIndex();
    ~RowIndex();
    RowIndex(const RowIndex &) = delete;
    RowIndex &operator=(const RowIndex &) = delete;

    // One empty segment (the first rows), the end not known.
    void clear();
    int count() const { return int(m_segments.size()); }
    Segment &segment(int i) { return m_segments[size_t(i)]; }
    const Segment &segment(int i) const { return m_segments[size_t(i)]; }
    // The first row of a segment, and the result's rows before it (its gap and
    // those before, as read).
    int firstRow(int i) const;
    int resultBefore(int i) const;
    // Unread rows after the last segment; -1 while the end is not known.
    int tail() const { return m_tail; }
    void setTail(int rows) { m_tail = rows; }
    bool endKnown() const { return m_tail >= 0; }
    // Rows whose number is known: every row once the end is known, else up to the
    // end of the last segment.
    int known() const;
    // Rows of the result: the rows of every segment as read and every gap (the
    // tail counted once known).
    qint64 resultRows() const;
    // Whether every row is held: one segment and the end known with nothing after
    // it.
    bool whole() const { return m_segments.size() == 1 && m_tail == 0; }

    // The segment holding a row and the row's index in it; segment -1 when the
    // row is not held.
    struct Place {
        int segment = -1;
        int index = 0;
    };
    Place find(int row) const;
    bool held(int row) const { return find(row).segment >= 0; }
    quint32 at(int row) const;
    // The gap a row not held lies in: its rows first..last, and the segment
    // before it (the one after it is before + 1, none when that is count()). In
    // the tail, last is the last known row; beyond what is known, `before` is -1.
    struct Gap {
        int first = 0, last = 0;
        int before = -1;
    };
    Gap gapAt(int row) const;

    // A row added before row `row` (1-based; one after the last row held of a
    // segment appends to it); false when neither that row nor the one before it
    // is held.
    bool insert(int row, quint32 id);
    quint32 take(int row);

    // Rows read after a segment (its gap after shrinks) or before it (its own gap
    // shrinks); a segment that meets the next is joined with it, the later
    // segment's cursor going on.
    void append(int i, const std::vector<quint32> &ids);
    void prepend(int i, const std::vector<quint32> &ids);
    // A new segment of rows read from row `row` on, in the gap that row lies in;
    // returns its index.
    int place(int row, std::vector<quint32> ids);
    // Drops the segments between the first and the last, farthest from `row`
    // first, while more than `keep` remain, except those `stays` says must stay
    // (edited rows): their rows become rows between again.
    void dropFar(int row, int keep, const std::function<bool(const Segment &)> &stays);
    // Drops every segment but the first; the end is then what the first's cursor
    // says.
    void dropAfterFirst();
    // Every row held, in row order.
    void forEach(const std::function<void(int row, quint32 id)> &f) const;
    // Every handle held replaced by what `f` gives for it, in row order.
    void remap(const std::function<quint32(quint32 id)> &f);
    qsizetype capacity() const;

private:
    void joinFrom(int i);
    std::vector<Segment> m_segments;
    int m_tail = -1;
};
} // namespace dw
