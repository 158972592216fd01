#include "cheques/form_window.h"

#include "forms/amount.h"
#include "forms/datecaps.h"
#include "globals.h"
#include "layout/layout_window.h"
#include "pickers/handover.h"
#include "platform/controls.h"
#include "platform/messagebox.h"
#include "platform/post.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/transaction.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QScreen>

namespace form {
namespace {
const QString kErrorTitle = QStringLiteral("错误!");

std::optional<forms::Field> fieldOf(forms::Family family, int pair)
{
    for (const forms::Field &f : forms::fieldTable(family))
        if (f.pair == pair)
            return f;
    return std::nullopt;
}
} // namespace

FormWindow::FormWindow(FormDescription description)
    : ui::Window(description.className, description.width, description.height), m_desc(std::move(description))
{
    setWindowTitle(m_desc.title);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setBackground(m_desc.background);
    build(m_desc.controls);
    finishControls();

    using ui::Event;
    const ButtonSpec &b = m_desc.buttons;
    for (const QString &radio : b.radios)
        on(radio, Event::Clicked, [this] { formatClicked(); });
    on(b.save, Event::Clicked, [this] { save(); });
    on(b.print, Event::Clicked, [this] { printClicked(); });
    if (!b.positioning.isEmpty())
        on(b.positioning, Event::Clicked, [this] { positioningClicked(); });
    on(b.next, Event::Clicked, [this] { nextSheet(); });
    on(b.exit, Event::Clicked, [this] { closeWindow(); });
    on(m_desc.amount.box, Event::Modified, [this] { amountModified(); });
    if (m_desc.account)
        on(m_desc.account->list, Event::SelectionChanged, [this](int) { accountChosen(); });
    for (int i = 0; i < m_desc.lookups.size(); ++i)
        on(m_desc.lookups.at(i).keyBox, Event::Modified, [this, i] { runLookup(m_desc.lookups.at(i)); });
    for (const Echo &echo : m_desc.echoes)
        on(echo.source, Event::Modified, [this, echo] {
            for (const QString &copy : echo.copies)
                setTextOf(copy, textOf(echo.source));
        });
    // A mirror follows every change: typed, looked up or handed over by a picker.
    for (const Echo &mirror : m_desc.mirrors)
        if (auto *source = get<QLineEdit>(mirror.source))
            connect(source, &QLineEdit::textChanged, this, [this, mirror](const QString &text) {
                for (const QString &copy : mirror.copies)
                    setTextOf(copy, text);
            });

    pickers::installHandover(this, pickers::handoverTable(className()));

    for (const SaveColumn &c : m_desc.save.columns)
        if (c.kind == SaveColumn::Box)
            watchControl(c.value);
    watchControl(m_desc.amount.box);
    if (m_desc.account)
        watchControl(m_desc.account->list);
    watch(m_desc.print);
}

void FormWindow::watch(const PrintSpec &sheet)
{
    for (const PrintField &field : sheet.fields) {
        for (const Source &source : {field.text, field.sample.value_or(Source{})})
            if (source.kind == Source::Box)
                watchControl(source.name);
        if (const std::optional<forms::Field> f = fieldOf(sheet.family, field.pair); f && f->split < 0)
            for (const QString &box : m_desc.amount.digitBoxes)
                watchControl(box);
    }
}

void FormWindow::watchControl(const QString &name)
{
    if (name.isEmpty() || m_watched.contains(name))
        return;
    QWidget *w = control(name);
    if (auto *e = qobject_cast<QLineEdit *>(w))
        connect(e, &QLineEdit::textChanged, this, &FormWindow::sheetEdited);
    else if (auto *d = qobject_cast<QComboBox *>(w))
        connect(d, &QComboBox::currentTextChanged, this, &FormWindow::sheetEdited);
    else
        return;
    m_watched << name;
}

QStringList FormWindow::sheetTexts() const
{
    QStringList texts;
    for (const QString &name : m_watched)
        texts << textOf(name);
    return texts << QString::number(an, 'g', 17) << prnbank;
}

void FormWindow::sheetEdited()
{
    // Judged once the operator's action has ended: an account choice empties the number box before it
    // writes the number again, and a text that ends as it was saved changes nothing.
    if (!m_saved || m_editPending)
        return;
    m_editPending = true;
    post::later(this, [this] { settleEdits(); });
}

void FormWindow::settleEdits()
{
    m_editPending = false;
    if (m_saved && sheetTexts() != m_savedTexts)
        setSaved(false);
}

void FormWindow::setSaved(bool saved)
{
    m_saved = saved;
    m_savedTexts = saved ? sheetTexts() : QStringList();
    showSavedMark(saved);
    enable(m_desc.buttons.save, !saved);
    for (const QString &print : QStringList{m_desc.buttons.print} + m_desc.buttons.otherPrints)
        enable(print, saved);
}

// Look of the built controls beyond what their table rows say.
void FormWindow::finishControls()
{
    // The first control of the table lies on top, as the forms are drawn: the picker buttons over the
    // end of their boxes, the saved mark over its frame. Shapes stay under everything, the paper lowest.
    const QStringList names = controlNames();
    QList<QWidget *> shapes;
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        QWidget *w = control(*it);
        if (qobject_cast<ui::Shape *>(w))
            shapes.prepend(w);
        else
            w->raise();
    }
    for (auto it = shapes.crbegin(); it != shapes.crend(); ++it)
        (*it)->lower();
    // A box is named by the caption beside it, where a refused input or a refused save tells the operator.
    for (const SaveColumn &c : m_desc.save.columns)
        if (QWidget *box = c.kind == SaveColumn::Box ? control(c.value) : nullptr;
            box && m_desc.save.captions.contains(c.column))
            box->setAccessibleName(m_desc.save.captions.value(c.column));
    if (QWidget *amount = control(m_desc.amount.box))
        amount->setAccessibleName(QStringLiteral("金额"));
    // The format radios are narrow: their caption sits close to the button. A style sheet would hide the
    // palette's background, so it carries the radio's colours along.
    for (const QString &radio : m_desc.buttons.radios)
        if (QWidget *w = control(radio))
            w->setStyleSheet(
                QStringLiteral("QRadioButton { spacing: 2px; color: %1; background-color: %2; }"
                               "QRadioButton::indicator { width: 8px; height: 8px; border: 1px solid %1;"
                               " border-radius: 5px; background: white; }"
                               "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5,"
                               " radius:0.5, fx:0.5, fy:0.5, stop:0 black, stop:0.5 black, stop:0.6 white); }")
                    .arg(w->palette().color(QPalette::WindowText).name(),
                         w->palette().color(QPalette::Window).name()));
    // A list's height includes its dropped-down part; closed, it is one line high.
    for (const QString &name : names)
        if (auto *list = get<ui::DropDownList>(name))
            list->resize(list->width(), qMin(list->height(), list->sizeHint().height()));
}

QString FormWindow::textOf(const QString &name) const
{
    QWidget *w = control(name);
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *d = qobject_cast<ui::DropDownList *>(w))
        return d->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    return {};
}

void FormWindow::setTextOf(const QString &name, const QString &text)
{
    QWidget *w = control(name);
    if (auto *e = qobject_cast<ui::SingleLineEdit *>(w))
        e->setTextByCode(text);
    else if (auto *d = qobject_cast<ui::DropDownList *>(w))
        d->setTextByCode(text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(text);
}

void FormWindow::enable(const QString &name, bool on)
{
    if (QWidget *w = control(name))
        w->setEnabled(on);
}

void FormWindow::showSavedMark(bool on)
{
    for (const QString &name : m_desc.buttons.savedMark)
        if (QWidget *w = control(name))
            w->setVisible(on);
}

QString *FormWindow::variable(const QString &name)
{
    if (name == QLatin1String("prnbank"))
        return &prnbank;
    if (name == QLatin1String("xjskr"))
        return &xjskr;
    if (name == QLatin1String("mme3"))
        return &mme3;
    if (name == QLatin1String("mme4"))
        return &mme4;
    return nullptr;
}

QString FormWindow::sourceText(const Source &source) const
{
    switch (source.kind) {
    case Source::Box:
        return source.prefix + textOf(source.name);
    case Source::Literal:
        return source.prefix + source.name;
    case Source::UnitName:
        return source.prefix + g::myname;
    case Source::PrintBank:
        return source.prefix + prnbank;
    }
    return {};
}

// --- Form open ---

void FormWindow::open()
{
    const OpenSpec &o = m_desc.open;
    g::rq = services::today();
    if (o.dateBoxes.size() == 3) {
        setTextOf(o.dateBoxes[0], QString::number(g::rq.year()));
        setTextOf(o.dateBoxes[1], QString::number(g::rq.month()));
        setTextOf(o.dateBoxes[2], QString::number(g::rq.day()));
    }
    if (o.dateCapitalBoxes.size() == 3 && o.dateBoxes.size() == 3) {
        // Worked from the boxes' texts, as they stand after the open wrote them.
        const forms::DateCapitals caps =
            forms::dateInCapitals(textOf(o.dateBoxes[0]), textOf(o.dateBoxes[1]), textOf(o.dateBoxes[2]));
        setTextOf(o.dateCapitalBoxes[0], caps.year);
        setTextOf(o.dateCapitalBoxes[1], caps.month);
        setTextOf(o.dateCapitalBoxes[2], caps.day);
    }
    if (o.listBeforeOperator)
        fillAccountList();
    if (o.unitBeforeOperator && !o.unitBox.isEmpty())
        setTextOf(o.unitBox, g::myname);
    setTextOf(o.operatorBox, g::name);
    if (o.unitPlaceBoxes.size() == 3) {
        QString prov, city, xian;
        g::sqlca.selectInto(QStringLiteral("SELECT prov , city , xian FROM myname"), {}, {prov, city, xian});
        if (g::sqlca.SQLCode == 0) {
            setTextOf(o.unitPlaceBoxes[0], prov);
            setTextOf(o.unitPlaceBoxes[1], city);
            setTextOf(o.unitPlaceBoxes[2], xian);
        }
    }
    if (!o.unitBeforeOperator && !o.unitBox.isEmpty())
        setTextOf(o.unitBox, g::myname);
    if (!o.listBeforeOperator)
        fillAccountList();
    if (!o.focus.isEmpty())
        if (QWidget *w = control(o.focus))
            w->setFocus(Qt::OtherFocusReason);
    fillFormatCaptions();
    for (int slot : o.pickerSlotsCleared)
        g::dnname[slot].clear();
    centre();
}

void FormWindow::fillAccountList()
{
    auto *list = get<ui::DropDownList>(m_desc.open.accountList);
    if (!list)
        return;
    db::Cursor bank(g::sqlca, QStringLiteral("select bankoffice from bankoffice"));
    bank.open();
    // A failed fetch ends the loop like the end of the rows.
    while (bank.fetch({g::kk}) == 0)
        list->addItemText(g::kk);
    bank.close();
}

void FormWindow::fillFormatCaptions()
{
    // The slot of a row is fixed before it is fetched: the row after a gap in prid takes the slot after
    // the previous row's prid. Rows that would land outside the list are dropped.
    std::array<QString, 9> names;
    db::Cursor ppss(g::sqlca, QStringLiteral("select prid , psname from prsz"));
    ppss.open();
    int i = 1;
    for (;;) {
        const int slot = i;
        int prid = 0;
        QString psname;
        if (ppss.fetch({prid, psname}) != 0)
            break;
        if (slot >= 1 && slot <= 8)
            names[std::size_t(slot)] = psname;
        i = prid + 1;
    }
    ppss.close();
    for (int k = 0; k < m_desc.buttons.radios.size() && k < 7; ++k)
        setTextOf(m_desc.buttons.radios.at(k), names[std::size_t(k + 1)]);
}

void FormWindow::centre()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

// --- Enter as Tab ---

bool FormWindow::key(QKeyEvent *)
{
    // One Tab per key-down while Enter is held. The same key event may reach the window twice (from its
    // control and again when the control passes it on), and the posted Tab itself comes through here:
    // neither posts another Tab.
    if (m_tabPending || !keystate::isDown(Qt::Key_Return))
        return false;
    QWidget *focused = QApplication::focusWidget();
    if (!focused || focused->window() != this)
        return false;
    m_tabPending = true;
    post::tabFromFocus();
    post::later(this, [this] { m_tabPending = false; });
    return false;
}

// --- Format radios and button states ---

int FormWindow::checkedFormat() const
{
    std::array<bool, 7> checked{};
    for (int k = 0; k < m_desc.buttons.radios.size() && k < 7; ++k)
        if (auto *r = get<QAbstractButton>(m_desc.buttons.radios.at(k)))
            checked[std::size_t(k)] = r->isChecked();
    return forms::firstCheckedFormat(checked);
}

void FormWindow::formatClicked()
{
    enable(m_desc.buttons.save, true);
    if (!m_desc.buttons.positioning.isEmpty())
        enable(m_desc.buttons.positioning, true);
}

// --- Amount in capitals ---

void FormWindow::amountModified()
{
    const AmountSpec &a = m_desc.amount;
    an = forms::amountFromText(textOf(a.box));
    const forms::AmountText text = forms::amountInCapitals(an, int(a.digitBoxes.size()));
    const QStringList boxes = text.highestFirst();
    for (int j = 0; j < a.digitBoxes.size() && j < boxes.size(); ++j)
        setTextOf(a.digitBoxes.at(j), boxes.at(j));
    setTextOf(a.capitals, text.capitals);
}

// --- Register save ---

bool FormWindow::save()
{
    const SaveSpec &s = m_desc.save;
    QStringList columns, marks;
    QVariantList values;
    for (const SaveColumn &c : s.columns) {
        columns << c.column;
        marks << QStringLiteral("?");
        switch (c.kind) {
        case SaveColumn::Rq:
            values << g::rq;
            break;
        case SaveColumn::Box: {
            // An empty box is stored as an empty text, not as no value.
            const QString text = textOf(c.value);
            values << (text.isNull() ? QStringLiteral("") : text);
            break;
        }
        case SaveColumn::Amount:
            values << an;
            break;
        case SaveColumn::Literal:
            values << c.value;
            break;
        }
    }
    const db::Captions captions(g::sqlca, s.captions);
    g::sqlca.execute(QStringLiteral("INSERT INTO %1 ( %2 ) VALUES ( %3 )")
                         .arg(s.table, columns.join(QStringLiteral(" , ")), marks.join(QStringLiteral(" , "))),
                     values);
    bool ok = g::sqlca.SQLCode == 0 && writeAfterInsert();
    if (ok) {
        g::sqlca.commit();
        ok = g::sqlca.SQLCode == 0;
    }
    if (!ok) {
        // Nothing of a refused save stays behind, the sheet keeps its values and can be saved again once
        // corrected.
        const QString error = db::faultMessage(g::sqlca);
        g::sqlca.rollback();
        setSaved(false);
        msg::show(kErrorTitle, error, msg::Icon::StopSign);
        return false;
    }
    setSaved(true);
    return true;
}

// --- Slot printing ---

void FormWindow::printSheet(const PrintSpec &sheet)
{
    // Nothing is printed that differs from the saved row, even before the posted check has run.
    if (m_editPending) {
        settleEdits();
        if (!m_saved)
            return;
    }
    const int format = checkedFormat();
    if (format == 0)
        return;
    g::acer = forms::slotOf(sheet.family, format);
    const forms::LayoutRow layout = forms::readLayoutRow(g::sqlca, sheet.family, g::acer);
    forms::FontRow fontRow;
    QList<PrintFont> fonts = sheet.fixedFonts;
    if (forms::readsFontRow(sheet.family)) {
        fontRow = forms::readFontRow(g::sqlca, g::acer);
        fonts = {{QStringLiteral("宋体"), fontRow.font[1], 400},
                 {QStringLiteral("黑体"), fontRow.font[2], 800},
                 {QStringLiteral("宋体"), fontRow.font[3], 400}};
    }

    const int job = print::open(m_desc.title);
    if (job == -1) {
        msg::show(kErrorTitle, QStringLiteral("打印未能开始：") + print::lastError(), msg::Icon::StopSign);
        enable(m_desc.buttons.next, true);
        return;
    }
    for (int n = 0; n < fonts.size(); ++n) {
        const PrintFont &f = fonts.at(n);
        print::defineFont(job, n + 1, f.face, -f.points, f.weight, 0, 5, false, false);
    }
    print::setFont(job, 1);
    int selected = 1;
    for (const PrintField &field : sheet.fields) {
        const std::optional<forms::Field> f = fieldOf(sheet.family, field.pair);
        if (!f)
            continue;
        const bool byArgument = sheet.smallFontByArgument && f->font == 3;
        if (!byArgument && f->font != selected) {
            print::setFont(job, f->font);
            selected = f->font;
        }
        const int fontArg = byArgument ? f->font : 0;
        const QPoint at = layout.pair[std::size_t(field.pair)];
        if (f->split < 0) {
            const QStringList &boxes = m_desc.amount.digitBoxes;
            const QList<QPoint> row = forms::digitRowPositions(at, layout.jj, int(boxes.size()));
            for (int j = 0; j < boxes.size(); ++j)
                print::text(job, textOf(boxes.at(j)), row.at(j).x(), row.at(j).y(), fontArg);
        } else if (f->split > 0) {
            const auto [first, rest] =
                forms::splitLongField(sourceText(field.text), fontRow.enter[std::size_t(f->split)]);
            print::text(job, first, at.x(), at.y(), fontArg);
            print::text(job, rest, at.x(), at.y() + fontRow.high[std::size_t(f->split)], fontArg);
        } else {
            print::text(job, sourceText(field.text), at.x(), at.y(), fontArg);
        }
    }
    print::line(job, QString());
    print::close(job);
    enable(m_desc.buttons.next, true);
}

// --- Positioning hand-over ---

void FormWindow::handOver(const PrintSpec &sheet)
{
    const int format = checkedFormat();
    if (format == 0)
        return;
    g::acer = forms::slotOf(sheet.family, format);
    QMap<int, QString> samples;
    for (const PrintField &field : sheet.fields) {
        const std::optional<forms::Field> f = fieldOf(sheet.family, field.pair);
        if (!f)
            continue;
        if (f->split < 0) {
            // Ten boxes into slots 15..24; with eleven the 亿 box goes to slot 25.
            const QStringList &boxes = m_desc.amount.digitBoxes;
            const int first = boxes.size() > 10 ? 1 : 0;
            if (first == 1)
                samples[25] = textOf(boxes.at(0));
            for (int j = first; j < boxes.size(); ++j)
                samples[15 + j - first] = textOf(boxes.at(j));
        } else if (f->airSlot > 0) {
            samples[f->airSlot] = sourceText(field.sample.value_or(field.text));
        }
    }
    for (const auto &[slot, source] : sheet.extraSamples)
        samples[slot] = sourceText(source);
    samples[30] = textOf(m_desc.heading);
    for (auto it = samples.cbegin(); it != samples.cend(); ++it)
        if (it.key() >= 1 && it.key() <= 30)
            g::air[std::size_t(it.key())] = it.value();
    layout::LayoutWindow::openForHandOver(sheet.layoutWindow);
}

// --- Next-sheet reset ---

void FormWindow::nextSheet()
{
    // Emptying the sheet is no edit of the saved one: save stays as it was.
    m_saved = false;
    const ResetSpec &r = m_desc.reset;
    if (auto *list = get<ui::DropDownList>(r.accountList))
        list->setTextByCode(QString());
    for (const QString &name : r.emptied)
        setTextOf(name, QString());
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[std::size_t(slot)].clear();
    showSavedMark(false);
    for (const QString &radio : r.uncheckedRadios.value_or(m_desc.buttons.radios))
        if (auto *b = get<QAbstractButton>(radio))
            b->setChecked(false);
    for (const QString &print : QStringList{m_desc.buttons.print} + m_desc.buttons.otherPrints)
        enable(print, false);
    enable(m_desc.buttons.next, false);
    if (!m_desc.buttons.positioning.isEmpty())
        enable(m_desc.buttons.positioning, false);
    // The emptied amount box is worth 0, and no account is chosen any more.
    an = 0;
    prnbank.clear();
}

// --- Lookups ---

void FormWindow::accountChosen()
{
    const AccountChoice &a = *m_desc.account;
    const QString code1 = textOf(a.list);
    if (a.emptyFirst)
        setTextOf(a.numberBox, QString());
    QString number, bank;
    if (a.readsPrintBank)
        g::sqlca.selectInto(QStringLiteral("SELECT bankcode , printbank FROM bankoffice WHERE bankoffice = ?"),
                            {code1}, {number, bank});
    else
        g::sqlca.selectInto(QStringLiteral("SELECT bankcode FROM bankoffice WHERE bankoffice = ?"), {code1},
                            {number});
    if (g::sqlca.SQLCode == 0) {
        setTextOf(a.numberBox, number);
        if (a.readsPrintBank)
            prnbank = bank;
    } else if (a.readsPrintBank && a.emptyFirst) {
        // The number box was emptied for this choice: no bank name of an earlier choice goes with it. A form
        // that keeps the number keeps the bank name with it.
        prnbank.clear();
    }
    if (!a.focusAfter.isEmpty())
        if (QWidget *w = control(a.focusAfter); w && w->isEnabled())
            w->setFocus(Qt::OtherFocusReason);
}

bool FormWindow::runLookup(const Lookup &lookup)
{
    const QString key = textOf(lookup.keyBox);
    if (!lookup.keyVariable.isEmpty())
        if (QString *v = variable(lookup.keyVariable))
            *v = key;
    bool found = false;
    if (!key.isEmpty()) {
        std::array<QString, 6> v;
        g::sqlca.selectInto(lookup.sql, {key}, {v[0], v[1], v[2], v[3], v[4], v[5]});
        found = g::sqlca.SQLCode == 0;
        if (found) {
            for (int i = 0; i < lookup.targets.size() && i < int(v.size()); ++i) {
                const Target &t = lookup.targets.at(i);
                switch (t.kind) {
                case Target::Box:
                    setTextOf(t.name, v[std::size_t(i)]);
                    break;
                case Target::Slot:
                    g::dnname[std::size_t(t.slot)] = v[std::size_t(i)];
                    break;
                case Target::Variable:
                    if (QString *var = variable(t.name))
                        *var = v[std::size_t(i)];
                    break;
                }
            }
        }
    }
    for (const QString &copy : lookup.copies)
        setTextOf(copy, textOf(lookup.keyBox));
    lookedUp(lookup, found);
    return found;
}

} // namespace form
