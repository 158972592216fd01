#include "platform/textinput.h"

#include "platform/balloon.h"
#include "platform/gbk.h"
#include "platform/services.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
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

// The lines of a text, each without its control characters (tabs as blanks); empty lines left out.
QStringList linesOf(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text.at(i)))
            continue;
        if (i > start)
            lines << withoutControls(text.mid(start, i - start));
        start = i + 1;
    }
    return lines;
}

bool filled(const QString &line) { return !line.trimmed().isEmpty(); }

// Ideographs, kana, hangul and full-width forms: Chinese lines join without a blank between them.
bool isWide(QChar c) { return c.unicode() >= 0x2E80 && !(c.unicode() >= 0xFF61 && c.unicode() <= 0xFFDC); }

// What the controls around a text leave: a spreadsheet cell's line end, a tab after the last cell.
QStringView withoutControlsAround(QStringView text)
{
    qsizetype head = 0, end = text.size();
    while (head < end && isControl(text.at(head)))
        ++head;
    while (end > head && isControl(text.at(end - 1)))
        --end;
    return text.mid(head, end - head);
}

// What a text holds between the blanks and controls around it.
QStringView contentOf(QStringView text) { return withoutControlsAround(text).trimmed(); }

// A line break or a tab between the characters of a text: two lines, or two cells of a spreadsheet.
bool breaksWithin(QStringView text)
{
    const QStringView core = contentOf(text);
    return std::any_of(core.begin(), core.end(), [](QChar c) { return c == u'\t' || isLineBreak(c); });
}

const QString kName = QStringLiteral("singleLineRule");

// Keeps the rule in front of whatever validator the edit has: it puts the part of the text the operator
// just put in on one line (or refuses it where the box holds an identifier), holds it to the box's limit,
// and hands the result to that validator. Code may set another validator on the edit after this one; the
// rule puts itself in front of it again before the edit is shown, focused or dropped on.
class SingleLineRule : public QValidator {
public:
    explicit SingleLineRule(QLineEdit *edit) : QValidator(edit), m_edit(edit)
    {
        setObjectName(kName);
        // The edit as the operator left it: its text, and what was selected or where the caret stood. A
        // change is validated before the edit signals its text, so this is the state the change started
        // from; an input method's commit moves the caret before that, which is not remembered.
        remember();
        connect(edit, &QLineEdit::textChanged, this, &SingleLineRule::remember);
        const auto moved = [this] {
            if (m_edit->text() == m_previous)
                remember();
        };
        connect(edit, &QLineEdit::selectionChanged, this, moved);
        connect(edit, &QLineEdit::cursorPositionChanged, this, moved);
        edit->installEventFilter(this);
        stayInFront();
    }

    void setLimit(Limit limit) { m_limit = std::move(limit); }
    void setIdentifier(bool on) { m_identifier = on; }
    void setAccepted(const QString &words) { m_accepted = words; }
    void setInsertedCheck(Fits takes, const QString &words)
    {
        m_takes = std::move(takes);
        m_takesWords = words;
    }

    State validate(QString &input, int &pos) const override
    {
        m_told = false;
        QString joined; // what the operator is told of an input put on one line, unless told more
        if (hasControl(input)) {
            if (const std::optional<Insertion> in = operatorInsertion(input)) {
                const QStringView inserted = QStringView(input).mid(in->head, in->size);
                if (breaksWithin(inserted)) {
                    // "12" and "34" of "12↵34" or of two spreadsheet cells make no cheque number.
                    if (m_identifier) {
                        tell(QStringLiteral("只能输入一行，输入的内容有换行或制表符，未放入。"));
                        return Invalid;
                    }
                    const QStringView core = contentOf(inserted);
                    joined = std::any_of(core.begin(), core.end(), isLineBreak)
                                 ? QStringLiteral("只能输入一行，输入的几行已连成一行。")
                                 : QStringLiteral("只能输入一行，输入的制表符已换成空格。");
                }
            }
            clean(input, pos);
        }
        const State state = heldToTheBox(input, pos);
        if (state != Invalid && !joined.isEmpty() && !m_told)
            tell(joined);
        return state;
    }
    void refuseInsertion(const QString &accepted) const
    {
        tell(QStringLiteral("%1，输入的内容不能放入。").arg(accepted));
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
    // The box's limit, its check of what is put in, and its own validator.
    State heldToTheBox(QString &input, int &pos) const
    {
        if (m_limit.fits && !m_limit.fits(input) && !holdToLimit(input, pos))
            return Invalid;
        if (const std::optional<Insertion> in = m_takes ? operatorInsertion(input) : std::nullopt;
            in && !m_takes(input.mid(in->head, in->size))) {
            refuseInsertion(m_takesWords);
            return Invalid;
        }
        if (!m_inner)
            return Acceptable;
        // What the box's own validator refuses (a figure an amount box cannot hold) is told the same way. What
        // the box holds without an insertion stands: text set by code (an amount another program stored past
        // what may be typed), an undo, what a deletion left. Were it refused, the edit would take every next
        // key, as it keeps to its validator only input that was valid before.
        const State state = m_inner->validate(input, pos);
        if (state != Invalid)
            return state;
        if (!operatorInsertion(input))
            return Acceptable;
        refuseInsertion(acceptedWords());
        return Invalid;
    }

    // The sign at the box; one per change.
    void tell(const QString &why) const
    {
        m_told = true;
        refused(m_edit, why);
    }

    void remember()
    {
        m_previous = m_edit->text();
        m_selectionStart = m_edit->hasSelectedText() ? m_edit->selectionStart() : m_edit->cursorPosition();
        m_selectionEnd = m_edit->hasSelectedText() ? m_edit->selectionEnd() : m_selectionStart;
    }

    // The part of `after` the operator put in, from `head`, of `size` characters; the `tail` characters after
    // it stood there before.
    struct Insertion {
        qsizetype head = 0, size = 0, tail = 0;
    };
    // An insertion replaces what was selected (or goes in at the caret): where the new text is the old one
    // with that part replaced, that part is the insertion, even where the inserted text begins or ends as the
    // replaced one did (20180003 selected and 12345678901234563 pasted replace all eight digits). Other
    // changes (a deletion, an undo, a drop) are told by what differs.
    Insertion insertion(const QString &after) const
    {
        const QString &before = m_previous;
        const qsizetype start = m_selectionStart, end = m_selectionEnd;
        if (start >= 0 && start <= end && end <= before.size()) {
            const qsizetype kept = before.size() - (end - start);
            if (after.size() >= kept && QStringView(after).left(start) == QStringView(before).left(start)
                && QStringView(after).right(before.size() - end) == QStringView(before).mid(end))
                return {start, after.size() - kept, before.size() - end};
        }
        Insertion in;
        while (in.head < before.size() && in.head < after.size() && before.at(in.head) == after.at(in.head))
            ++in.head;
        while (in.tail < before.size() - in.head && in.tail < after.size() - in.head
               && before.at(before.size() - 1 - in.tail) == after.at(after.size() - 1 - in.tail))
            ++in.tail;
        in.size = after.size() - in.head - in.tail;
        return in;
    }

    // What the operator's edit put in; none for text set by code (which clears the edit's undo history), nor
    // for an undo, which puts back what the box held (an edit clears what could be redone, an undo keeps it).
    std::optional<Insertion> operatorInsertion(const QString &input) const
    {
        if (!m_edit->isUndoAvailable() || m_edit->isRedoAvailable())
            return std::nullopt;
        const Insertion in = insertion(input);
        return in.size > 0 ? std::optional<Insertion>(in) : std::nullopt;
    }

    QString limitWords() const { return m_limit.words ? m_limit.words() : QStringLiteral("已满"); }
    QString acceptedWords() const
    {
        return m_accepted.isEmpty() ? QStringLiteral("不能放入这些字符") : m_accepted;
    }

    // Of an operator's edit that made the text too long, the inserted part is cut to its longest start that
    // fits (found by halving: every limit grows with the text); in a box that holds an identifier, or where
    // nothing of it fits, it is refused whole (false) and the edit goes back to what it was. Text set by code
    // is never cut; text that was already too long may still shrink, nothing more goes in.
    bool holdToLimit(QString &input, int &pos) const
    {
        const std::optional<Insertion> found = operatorInsertion(input);
        if (!found)
            return true;
        const Insertion in = *found;
        const QString left = input.left(in.head), right = input.right(in.tail);
        const QString inserted = input.mid(in.head, in.size);
        qsizetype low = 0, high = m_identifier ? 0 : inserted.size() - 1;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (m_limit.fits(left + inserted.left(middle) + right))
                low = middle;
            else
                high = middle - 1;
        }
        if (low > 0 && inserted.at(low - 1).isHighSurrogate())
            --low; // never half a character
        if (low == 0) {
            tell(QStringLiteral("%1，输入的内容放不下，未放入。").arg(limitWords()));
            return false;
        }
        input = left + inserted.left(low) + right;
        pos = int(in.head + low);
        tell(QStringLiteral("%1，输入的内容只放入了前 %2 个字。").arg(limitWords()).arg(low));
        return true;
    }

    // Only the inserted part (what differs from the text before) is put on one line, so a paste into the
    // middle of a box keeps what stood after it.
    void clean(QString &input, int &pos) const
    {
        const Insertion in = insertion(input);
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
    qsizetype m_selectionStart = 0, m_selectionEnd = 0; // what it had selected, or the caret (start == end)
    QPointer<QValidator> m_inner;
    Limit m_limit;
    bool m_identifier = false;
    QString m_accepted;
    Fits m_takes;
    QString m_takesWords;
    mutable bool m_told = false; // this change was told of already
};
} // namespace

QString singleLine(const QString &text)
{
    if (!hasControl(text))
        return text;
    // The lines that hold more than blanks, each joined to the next where it ends: Chinese ones directly
    // ("北京科技" and "发展有限公司"), others with a blank between their words.
    QString joined;
    for (const QString &line : linesOf(withoutControlsAround(text))) {
        if (!filled(line))
            continue;
        if (joined.isEmpty()) {
            joined = line;
            continue;
        }
        while (joined.back().isSpace())
            joined.chop(1);
        qsizetype from = 0;
        while (line.at(from).isSpace()) // a filled line has a character that is not
            ++from;
        if (!isWide(joined.back()) && !isWide(line.at(from)))
            joined += u' ';
        joined += QStringView(line).mid(from);
    }
    return joined;
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

Limit characters(int count)
{
    return {[count](const QString &text) { return text.size() <= count; },
            [count] { return QStringLiteral("最多 %1 个字符").arg(count); }};
}

Limit gbkBytes(int bytes)
{
    return {[bytes](const QString &text) { return gbk::byteLength(text) <= bytes; },
            [bytes] { return QStringLiteral("最多 %1 字节（%2 个汉字）").arg(bytes).arg(bytes / 2); }};
}

void limitInput(QLineEdit *edit, Limit limit)
{
    if (edit)
        ruleOf(edit)->setLimit(std::move(limit));
}

void holdIdentifier(QLineEdit *edit, bool on)
{
    if (edit)
        ruleOf(edit)->setIdentifier(on);
}

void describeAccepted(QLineEdit *edit, const QString &words)
{
    if (edit)
        ruleOf(edit)->setAccepted(words);
}

void checkInserted(QLineEdit *edit, Fits takes, const QString &words)
{
    if (edit)
        ruleOf(edit)->setInsertedCheck(std::move(takes), words);
}

namespace {
class FigureValidator : public QValidator {
public:
    FigureValidator(int integerDigits, int places, bool negative, QObject *parent)
        : QValidator(parent), m_integerDigits(integerDigits), m_places(places), m_negative(negative)
    {
    }
    State validate(QString &input, int &) const override
    {
        QStringView plain(input);
        if (m_negative && plain.startsWith(u'-'))
            plain = plain.mid(1);
        const qsizetype dot = plain.indexOf(u'.');
        const QStringView whole = dot < 0 ? plain : plain.left(dot);
        const QStringView fraction = dot < 0 ? QStringView() : plain.mid(dot + 1);
        const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
        if (!std::all_of(whole.begin(), whole.end(), [&](QChar c) { return isDigit(c) || c == u','; })
            || !std::all_of(fraction.begin(), fraction.end(), isDigit) || (dot >= 0 && m_places == 0))
            return Invalid;
        if (whole.size() - whole.count(u',') > m_integerDigits || fraction.size() > m_places)
            return Invalid;
        return Acceptable;
    }

private:
    int m_integerDigits;
    int m_places;
    bool m_negative;
};
} // namespace

QValidator *figureValidator(int integerDigits, int places, bool negative, QObject *parent)
{
    return new FigureValidator(integerDigits, places, negative, parent);
}

int exactIntegerDigits(int places) { return qMax(1, 15 - places); }

bool groupedByThousands(const QString &number)
{
    if (!number.contains(u','))
        return true;
    static const QRegularExpression grouped(QStringLiteral("^[+-]?[0-9]{1,3}(,[0-9]{3})*(\\.[0-9]*)?$"));
    return grouped.match(number).hasMatch();
}

void refused(QWidget *box, const QString &why)
{
    if (!box) {
        services::beep();
        return;
    }
    // The box by the name the operator reads beside it; an editable list's field by the list's.
    QString name = box->accessibleName();
    if (const auto *list = qobject_cast<const QComboBox *>(box->parentWidget()); list && name.isEmpty())
        name = list->accessibleName();
    refused(box, box->rect(), name, why);
}

void refused(QWidget *widget, const QRect &part, const QString &name, const QString &why)
{
    services::beep();
    const QString text = (name.isEmpty() ? QStringLiteral("此框") : QStringLiteral("“%1”").arg(name)) + why;
    // Under the box, so that it does not hide what the operator typed; a balloon of our own, since a tooltip
    // goes as the pointer leaves a widget or a menu closes, before the operator could read it.
    balloon::show(widget, widget->mapToGlobal(part.bottomLeft()), text);
}

} // namespace textinput
