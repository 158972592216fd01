#include "pickers/picker.h"

#include "globals.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/post.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace pickers {

Picker::Picker(const QString &className, int width, int height, const dw::Definition &definition, QRect listUnits,
               QString bookWindow)
    : ui::Window(className, width, height), m_bookWindow(std::move(bookWindow))
{
    setBackground(67108864);
    m_list = new dw::DataView(this);
    m_list->setDefinition(definition);
    addCustom(QStringLiteral("dw_1"), m_list, listUnits.x(), listUnits.y(), listUnits.width(), listUnits.height(), 10);

    using ui::Event;
    on(QStringLiteral("cb_2"), Event::Clicked, [this] { search(); });
    on(QStringLiteral("cb_1"), Event::Clicked, [this] { choose(); });
    on(QStringLiteral("cb_3"), Event::Clicked, [this] { closeWindow(); });
    on(QStringLiteral("cb_4"), Event::Clicked, [this] { ui::openWindow(m_bookWindow, this); });
    connect(m_list, &dw::DataView::doubleClicked, this, [this] { listDoubleClicked(); });
    // Once another window has been active, an activation may follow changes to the book.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *focused) {
        if (focused && focused != windowHandle())
            m_readAtOpen = false;
    });
}

void Picker::open()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    readBook(dw::DataView::Keep::FirstRow);
    m_readAtOpen = true;
}

void Picker::activate()
{
    // The activation that comes with the opening finds the book just read: it is not read twice.
    if (std::exchange(m_readAtOpen, false))
        return;
    // Coming back from the book window (or anywhere) lists the book as it is now. The current row stays on the
    // record it was on: an activation can arrive between the click that chose a row and the posted choose.
    readBook(dw::DataView::Keep::SameRecord);
}

void Picker::readBook(dw::DataView::Keep keep)
{
    m_list->setTransaction(g::sqlca);
    m_list->retrieve({QStringLiteral("%")}, keep);
    emit bookRead();
}

void Picker::search()
{
    // Only blanks are trimmed; "%" and "_" typed by the operator work as wildcards.
    const QString text = gbk::trimBlanks(get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->text());
    m_list->setTransaction(g::sqlca);
    m_list->retrieve({u'%' + text + u'%'});
}

void Picker::listDoubleClicked()
{
    // Choose, then close: both after the double-click has ended, in that order.
    post::later(this, [this] { get<ui::CommandButton>(QStringLiteral("cb_1"))->click(); });
    post::later(this, [this] { get<ui::CommandButton>(QStringLiteral("cb_3"))->click(); });
}

void Picker::showText(const QString &box, const QString &text)
{
    if (auto *edit = get<ui::SingleLineEdit>(box))
        edit->setTextByCode(text);
}

} // namespace pickers
