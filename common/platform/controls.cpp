#include "platform/controls.h"

#include <algorithm>
#include "platform/services.h"
#include "platform/textinput.h"

#include <QAbstractItemView>
#include <QCollator>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionFrame>
#include <QValidator>

namespace ui {

// --- SingleLineEdit ---

SingleLineEdit::SingleLineEdit(QWidget *parent) : QLineEdit(parent)
{
    textinput::limitInput(this, {[this](const QString &text) { return fits(text); }, [this] { return limitWords(); }});
    connect(this, &QLineEdit::textEdited, this, &SingleLineEdit::onEdited);
}

void SingleLineEdit::setTextByCode(const QString &text)
{
    setText(text);
    // A text wider than the box shows from its first character, not from its end; in the box the operator is
    // working in, the caret stays at the end until the box is left.
    m_setByCode = true;
    if (!hasFocus())
        setCursorPosition(0);
}

// The limits are read as the operator types; the rule comes back in front of a validator set since (a mask's).
void SingleLineEdit::setNoHScroll(bool on)
{
    m_noHScroll = on;
    textinput::keepSingleLine(this);
}

void SingleLineEdit::setCharacterLimit(int chars)
{
    m_characterLimit = chars;
    textinput::keepSingleLine(this);
}

bool SingleLineEdit::fits(const QString &text) const
{
    if (m_characterLimit > 0 && text.size() > m_characterLimit)
        return false;
    if (!m_noHScroll)
        return true;
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const int room = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this).width() - 4;
    return fontMetrics().horizontalAdvance(text) <= room;
}

void SingleLineEdit::setIdentifier(bool on)
{
    m_identifier = on;
    textinput::holdIdentifier(this, on);
}

// The limit as the operator is told it: its characters, or the digits (the characters of a text) its width
// shows.
QString SingleLineEdit::limitWords() const
{
    const auto widest = [this](QChar c) {
        int n = 0;
        while (n < 1000 && fits(QString(n + 1, c)))
            ++n;
        return n;
    };
    if (!m_noHScroll)
        return textinput::characters(m_characterLimit).words();
    return m_identifier ? QStringLiteral("最多 %1 位").arg(widest(u'0'))
                        : QStringLiteral("最多放得下 %1 个汉字").arg(widest(QChar(0x6C49)));
}

void SingleLineEdit::onEdited()
{
    m_dirty = true;
    m_setByCode = false;
    emit other();
}

void SingleLineEdit::fireModified()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    emit modified();
}

void SingleLineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    emit getFocus();
}

void SingleLineEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // A change counts when the box is left, not when the window merely loses activation.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason) {
        fireModified();
        if (m_setByCode && !hasFocus())
            setCursorPosition(0);
    }
    emit loseFocus();
}

void SingleLineEdit::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        fireModified();
        e->ignore(); // let the window see the Enter (Enter as Tab, default buttons)
        return;
    }
    QLineEdit::keyPressEvent(e);
}

// --- EditMask ---

EditMask::EditMask(QWidget *parent) : SingleLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setIdentifier(true); // an amount cut is another amount
}

void EditMask::setMask(const QString &mask)
{
    m_mask = mask;
    const QString lower = mask.toLower();
    m_isDate = lower.contains(u'y') || lower.contains(QStringLiteral("dd"));
    if (m_isDate) {
        // The mask's own picture: "yyyy.mm.dd" shows 2026.12.10, "yy/mm/dd" 26/12/10.
        m_dateFormat = mask.toLower();
        m_dateFormat.replace(QStringLiteral("mm"), QStringLiteral("MM"));
        QString input = mask;
        input.replace(QRegularExpression(QStringLiteral("[yYmMdD]")), QStringLiteral("9"));
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setInputMask(input + QStringLiteral(";_"));
        return;
    }
    const qsizetype dot = mask.indexOf(u'.');
    m_decimals = dot < 0 ? 0 : int(mask.size() - dot - 1);
    const QString whole = dot < 0 ? mask : mask.left(dot);
    m_integerDigits = qMin(int(whole.count(u'#') + whole.count(u'0')), textinput::exactIntegerDigits(m_decimals));
    setValidator(textinput::figureValidator(m_integerDigits, m_decimals, false, this));
    textinput::describeAccepted(this, acceptedWords());
    // The validator reads past the box's own separators (a digit typed or deleted between them); a pasted
    // figure brings its own, which must be in groups of three, or "1,5" would go in as 15.
    textinput::checkInserted(this, textinput::groupedByThousands,
                             QStringLiteral("分节号“,”只能在小数点前每三位数字之间"));
}

QString EditMask::acceptedWords() const
{
    return m_decimals > 0
               ? QStringLiteral("只能输入数字和小数点，最多 %1 位整数、%2 位小数").arg(m_integerDigits).arg(m_decimals)
               : QStringLiteral("只能输入数字，最多 %1 位").arg(m_integerDigits);
}

double EditMask::number() const
{
    QString t = text();
    t.remove(u',').remove(u' ');
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v : 0.0;
}

QDate EditMask::date() const { return QDate::fromString(text(), m_dateFormat); }

QString EditMask::formatted(double v) const
{
    QLocale c(QLocale::C);
    QString s = c.toString(v, 'f', m_decimals);
    // Group the integer part by thousands.
    const qsizetype dot = s.indexOf(u'.');
    QString intPart = dot < 0 ? s : s.left(dot);
    const QString frac = dot < 0 ? QString() : s.mid(dot);
    bool neg = intPart.startsWith(u'-');
    if (neg)
        intPart.remove(0, 1);
    for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
        intPart.insert(i, u',');
    return (neg ? QStringLiteral("-") : QString()) + intPart + frac;
}

void EditMask::setNumber(double v) { setTextByCode(formatted(v)); }

void EditMask::setDate(const QDate &d) { setTextByCode(d.toString(m_dateFormat)); }

void EditMask::reformat()
{
    if (m_isDate || text().trimmed().isEmpty())
        return;
    setTextByCode(formatted(number()));
}

void EditMask::focusOutEvent(QFocusEvent *e)
{
    const bool dirty = isDirty();
    if (dirty)
        reformat();
    SingleLineEdit::focusOutEvent(e);
}

void EditMask::keyPressEvent(QKeyEvent *e)
{
    if (!m_isDate) {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (isDirty())
                reformat();
            SingleLineEdit::keyPressEvent(e);
            return;
        }
        // The validator refuses what the mask cannot hold, typed or pasted alike, and says so; a typed group
        // separator is refused here (the box puts them in itself, and a pasted figure may bring them).
        if (e->text() == QStringLiteral(",")) {
            textinput::refused(this, acceptedWords() + QStringLiteral("，分节号“,”由框加上。"));
            return;
        }
    }
    SingleLineEdit::keyPressEvent(e);
}

// --- DropDownList ---

DropDownList::DropDownList(QWidget *parent) : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int index) {
        // A name chosen into an editable list changes its text as typing does: leaving the box or Enter
        // then raises modified.
        m_dirty = isEditable();
        emit selectionChanged(index + 1);
    });
}

void DropDownList::setAllowEdit(bool on)
{
    setEditable(on);
    if (on && lineEdit()) {
        setInsertPolicy(QComboBox::NoInsert);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &) { m_dirty = true; });
        setTypingLimit(m_limit);
    }
}

void DropDownList::setTypingLimit(int chars)
{
    m_limit = chars;
    // What is typed or pasted only: text set by code or chosen from the list is never cut.
    if (lineEdit())
        textinput::limitInput(lineEdit(), chars > 0 ? textinput::characters(chars) : textinput::Limit{});
}

namespace {
// A sorted list orders as the operator reads: case-insensitive, Chinese by pinyin.
const QCollator &listCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Chinese, QLocale::China));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}
} // namespace

int DropDownList::addItemText(const QString &text)
{
    // A list entry may be longer than the typing limit; adding must not cut it.
    int index = count();
    if (m_sorted) {
        index = 0;
        while (index < count() && listCollator().compare(itemText(index), text) <= 0)
            ++index;
    }
    const QString keep = isEditable() ? currentText() : QString();
    insertItem(index, text);
    if (isEditable()) {
        setCurrentIndex(-1);
        lineEdit()->setText(keep);
    } else if (count() == 1) {
        setCurrentIndex(-1);
    }
    return index + 1;
}

QString DropDownList::text() const { return currentText(); }

void DropDownList::setTextByCode(const QString &text)
{
    if (isEditable()) {
        lineEdit()->setText(text);
        if (!hasFocus())
            lineEdit()->setCursorPosition(0); // shown from its first character, as in the edit boxes
    } else {
        setCurrentIndex(text.isEmpty() ? -1 : findText(text, Qt::MatchExactly));
    }
}

int DropDownList::selectItem(const QString &text)
{
    const int i = findText(text, Qt::MatchExactly);
    setCurrentIndex(i);
    return i < 0 ? -1 : i + 1;
}

void DropDownList::fireModified()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    emit modified();
}

void DropDownList::focusInEvent(QFocusEvent *e)
{
    QComboBox::focusInEvent(e);
    emit getFocus();
}

void DropDownList::focusOutEvent(QFocusEvent *e)
{
    QComboBox::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        fireModified();
    emit loseFocus();
}

void DropDownList::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        fireModified();
        e->ignore();
        return;
    }
    QComboBox::keyPressEvent(e);
}

// --- CommandButton ---

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent) { setAutoDefault(false); }

void CommandButton::focusInEvent(QFocusEvent *e)
{
    QPushButton::focusInEvent(e);
    emit getFocus();
}

void CommandButton::focusOutEvent(QFocusEvent *e)
{
    QPushButton::focusOutEvent(e);
    emit loseFocus();
}

void CommandButton::keyPressEvent(QKeyEvent *e)
{
    // Enter on a focused button passes to the window (Enter as Tab on the forms); Space clicks.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->ignore();
        return;
    }
    QPushButton::keyPressEvent(e);
}

// --- Picture ---

Picture::Picture(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Picture::setPictureName(const QString &name)
{
    m_name = name;
    render();
}

void Picture::setScaled(bool on)
{
    m_scaled = on;
    render();
}

void Picture::render()
{
    if (m_name.isEmpty()) {
        clear();
        return;
    }
    // Our pictures are drawings: "unscaled" shows them at their drawn size, scaled fills the control.
    setPixmap(services::picture(m_name, m_scaled ? size() : QSize()));
}

void Picture::resizeEvent(QResizeEvent *e)
{
    QLabel::resizeEvent(e);
    if (m_scaled)
        render();
}

void Picture::mousePressEvent(QMouseEvent *e)
{
    m_pressed = true;
    QLabel::mousePressEvent(e);
}

void Picture::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    if (m_pressed && rect().contains(e->position().toPoint())) {
        m_pressed = false;
        emit clicked();
    }
    m_pressed = false;
}

void Picture::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLabel::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void Picture::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Space) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(e);
}

void Picture::focusInEvent(QFocusEvent *e)
{
    QLabel::focusInEvent(e);
    emit getFocus();
}

void Picture::focusOutEvent(QFocusEvent *e)
{
    QLabel::focusOutEvent(e);
    emit loseFocus();
}

// --- StaticText ---

StaticText::StaticText(QWidget *parent) : QLabel(parent) {}

void StaticText::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    emit clicked();
}

void StaticText::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLabel::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

// --- RadioButton ---

RadioButton::RadioButton(QWidget *parent) : QRadioButton(parent)
{
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            uncheckSiblings();
    });
}

void RadioButton::nextCheckState()
{
    // A click always checks; it never unchecks.
    setChecked(true);
}

void RadioButton::uncheckSiblings()
{
    if (!parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<RadioButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (RadioButton *other : siblings)
        if (other != this && other->groupName() == m_group && other->isChecked())
            other->setChecked(false);
}

void RadioButton::focusInEvent(QFocusEvent *e)
{
    QRadioButton::focusInEvent(e);
    emit getFocus();
}

void RadioButton::focusOutEvent(QFocusEvent *e)
{
    QRadioButton::focusOutEvent(e);
    emit loseFocus();
}

// --- Shape ---

Shape::Shape(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_kind == RoundRectangle);
    QPen pen(m_lineColor, m_lineWidth);
    p.setPen(m_lineWidth > 0 ? pen : Qt::NoPen);
    p.setBrush(m_fill.isValid() ? QBrush(m_fill) : Qt::NoBrush);
    const qreal half = m_lineWidth / 2.0;
    const QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
    switch (m_kind) {
    case Line:
        p.drawLine(m_a, m_b);
        break;
    case Rectangle:
        p.drawRect(r);
        break;
    case RoundRectangle:
        p.drawRoundedRect(r, 8, 8);
        break;
    }
}
} // namespace ui
