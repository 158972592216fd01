#include "platform/textinput.h"

#include "platform/gbk.h"
#include "platform/services.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>
#include <algorithm>
#include <optional>

namespace textinput {
namespace {
bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) || c == QChar(0x2028)
           || c == QChar(0x2029);
}

bool isControl(QChar c) { return c.category() == QChar::Other_Control || isLineBreak(c); }

bool hasControl(const QString &text) { return std::any_of(text.begin(), text.end(), isControl); }

QString withoutControls(QStringView line)
{
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        if (c == u'\t')
            out += u' ';
        else if (!isControl(c))
            out += c;
    }
    return out;
}

const QString kName = QStringLiteral("singleLineRule");

// Keeps the rule in front of whatever validator the edit has: it cleans the part of the text the operator
// just put in, cuts it to the box's limit, and hands the result to that validator. Code may set another validator on the edit after
// this one; the rule puts itself in front of it again before the edit is shown, focused or dropped on.
class SingleLineRule : public QValidator {
public:
    explicit SingleLineRule(QLineEdit *edit) : QValidator(edit), m_edit(edit), m_previous(edit->text())
    {
        setObjectName(kName);
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_previous = text; });
        edit->installEventFilter(this);
        stayInFront();
    }

    void setLimit(Fits fits) { m_fits = std::move(fits); }

    State validate(QString &input, int &pos) const override
    {
        if (hasControl(input))
            clean(input, pos);
        if (m_fits && !m_fits(input))
            holdToLimit(input, pos);
        if (!m_inner)
            return Acceptable;
        // What the box's own validator refuses (a figure an amount box cannot hold) goes with a beep too.
        const State state = m_inner->validate(input, pos);
        if (state == Invalid && operatorInsertion(input))
            services::beep();
        return state;
    }
    void fixup(QString &input) const override
    {
        if (m_inner)
            m_inner->fixup(input);
    }

    void stayInFront()
    {
        const QValidator *current = m_edit->validator();
        if (current == this)
            return;
        m_inner = const_cast<QValidator *>(current);
        m_edit->setValidator(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_edit
            && (e->type() == QEvent::Show || e->type() == QEvent::FocusIn || e->type() == QEvent::DragEnter))
            stayInFront();
        return false;
    }

private:
    // The part of `after` that differs from `before`: what the operator put in, from `head`, of `size`
    // characters; the `tail` characters after it stood there before.
    struct Insertion {
        qsizetype head = 0, size = 0, tail = 0;
    };
    static Insertion insertion(const QString &before, const QString &after)
    {
        Insertion in;
        while (in.head < before.size() && in.head < after.size() && before.at(in.head) == after.at(in.head))
            ++in.head;
        while (in.tail < before.size() - in.head && in.tail < after.size() - in.head
               && before.at(before.size() - 1 - in.tail) == after.at(after.size() - 1 - in.tail))
            ++in.tail;
        in.size = after.size() - in.head - in.tail;
        return in;
    }

    // Of an operator's edit that made the text too long, the inserted part is cut to the longest start that
    // fits (found by halving: every limit grows with the text). The edit's own undo step tells the operator's
    // edit from text set by code, which clears the undo history and is never cut. Text that was already too
    // long may still shrink; nothing more goes in.
    // What the operator's edit put in; none for text set by code (which clears the edit's undo history).
    std::optional<Insertion> operatorInsertion(const QString &input) const
    {
        if (!m_edit->isUndoAvailable())
            return std::nullopt;
        const Insertion in = insertion(m_previous, input);
        return in.size > 0 ? std::optional<Insertion>(in) : std::nullopt;
    }

    void holdToLimit(QString &input, int &pos) const
    {
        const std::optional<Insertion> found = operatorInsertion(input);
        if (!found)
            return;
        const Insertion in = *found;
        const QString left = input.left(in.head), right = input.right(in.tail);
        const QString inserted = input.mid(in.head, in.size);
        qsizetype low = 0, high = inserted.size() - 1;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (m_fits(left + inserted.left(middle) + right))
                low = middle;
            else
                high = middle - 1;
        }
        if (low > 0 && inserted.at(low - 1).isHighSurrogate())
            --low; // never half a character
        input = left + inserted.left(low) + right;
        pos = int(in.head + low);
        services::beep();
    }

    // Only the inserted part (what differs from the text before) is cut to its first line, so a paste into
    // the middle of a box keeps what stood after it.
    void clean(QString &input, int &pos) const
    {
        const Insertion in = insertion(m_previous, input);
        const qsizetype head = in.head, tail = in.tail, insertedSize = in.size;
        const QString inserted = singleLine(input.mid(head, insertedSize));
        input = input.left(head) + inserted + input.right(tail);
        if (hasControl(input)) // the text before was not clean either (set by code)
            input = singleLine(input);
        if (pos > head)
            pos = int(qMax(head, pos - (insertedSize - inserted.size())));
        pos = int(qMin<qsizetype>(pos, input.size()));
    }

    QLineEdit *m_edit;
    QString m_previous; // the text before the change being validated
    QPointer<QValidator> m_inner;
    Fits m_fits;
};
} // namespace

QString singleLine(const QString &text)
{
    if (!hasControl(text))
        return text;
    // The first line that holds more than blanks; a text of blank lines gives the first of them.
    QString first;
    bool haveFirst = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text.at(i)))
            continue;
        const QString line = withoutControls(QStringView(text).mid(start, i - start));
        if (!line.trimmed().isEmpty())
            return line;
        if (!haveFirst && i > start) {
            first = line;
            haveFirst = true;
        }
        start = i + 1;
    }
    return first;
}

namespace {
SingleLineRule *ruleOf(QLineEdit *edit)
{
    if (auto *rule = edit->findChild<QValidator *>(kName, Qt::FindDirectChildrenOnly)) {
        auto *r = static_cast<SingleLineRule *>(rule);
        r->stayInFront();
        return r;
    }
    return new SingleLineRule(edit);
}
} // namespace

void keepSingleLine(QLineEdit *edit)
{
    if (edit)
        ruleOf(edit);
}

Fits characters(int count)
{
    return [count](const QString &text) { return text.size() <= count; };
}

Fits gbkBytes(int bytes)
{
    return [bytes](const QString &text) { return gbk::byteLength(text) <= bytes; };
}

void limitInput(QLineEdit *edit, Fits fits)
{
    if (edit)
        ruleOf(edit)->setLimit(std::move(fits));
}

} // namespace textinput
