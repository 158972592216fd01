#include "platform/textinput.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>
#include <algorithm>

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
// just put in and hands the result to that validator. Code may set another validator on the edit after
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

    State validate(QString &input, int &pos) const override
    {
        if (hasControl(input))
            clean(input, pos);
        return m_inner ? m_inner->validate(input, pos) : Acceptable;
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
    // Only the inserted part (what differs from the text before) is cut to its first line, so a paste into
    // the middle of a box keeps what stood after it.
    void clean(QString &input, int &pos) const
    {
        const QString &before = m_previous;
        qsizetype head = 0;
        while (head < before.size() && head < input.size() && before.at(head) == input.at(head))
            ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < input.size() - head
               && before.at(before.size() - 1 - tail) == input.at(input.size() - 1 - tail))
            ++tail;
        const qsizetype insertedSize = input.size() - head - tail;
        const QString inserted = singleLine(input.mid(head, insertedSize));
        input = input.left(head) + inserted + input.right(tail);
        if (hasControl(input)) // the text before was not clean either (set by code)
            input = singleLine(input);
        if (pos > head)
            pos = int(qMax(head, pos - (insertedSize - inserted.size())));
        pos = int(qMin<qsizetype>(pos, input.size()));
    }

    QLineEdit *m_edit;
    QString m_previous;
    QPointer<QValidator> m_inner;
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

void keepSingleLine(QLineEdit *edit)
{
    if (!edit)
        return;
    if (auto *rule = edit->findChild<QValidator *>(kName, Qt::FindDirectChildrenOnly))
        static_cast<SingleLineRule *>(rule)->stayInFront();
    else
        new SingleLineRule(edit);
}

} // namespace textinput
