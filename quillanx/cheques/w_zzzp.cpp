#include "cheques/w_zzzp.h"

#include "globals.h"
#include "platform/transaction.h"

#include <QLabel>

using form::PrintField;
using form::Source;
using ui::ControlSpec;
using ui::Kind;

namespace {
constexpr qint64 kWhite = 16777215;
constexpr qint64 kWindowText = 33554432;
const QString kSong = QStringLiteral("宋体");
const QString kHei = QStringLiteral("黑体");
const QString kKind = QStringLiteral("转帐支票");

QString sle(int n) { return QStringLiteral("sle_%1").arg(n); }

// The four buttons the transfer cheque adds, on the one button row under the radios.
ControlSpec button(const QString &name, int x, int width, const QString &text, const QString &face, int tabOrder)
{
    return {.name = name, .kind = Kind::CommandButton, .x = x, .y = 1604, .width = width, .height = 104,
            .text = text, .font = {face, 10, 700}, .tabOrder = tabOrder, .flags = ui::Disabled};
}

// The payee's bank and account: filled by the picker and the short-code lookup, never typed.
ControlSpec payeeBox(const QString &name, int x, int width, int tabOrder)
{
    return {.name = name, .kind = Kind::Edit, .x = x, .y = 1316, .width = width, .height = 92,
            .font = {kSong, 10}, .backColor = kWhite, .tabOrder = tabOrder, .flags = ui::DisplayOnly};
}

void place(form::FormDescription &d, const QString &name, int x, int y)
{
    ui::ControlSpec *c = d.control(name);
    c->x = x;
    c->y = y;
}

void moveDown(form::FormDescription &d, const QString &name, int y) { d.control(name)->y = y; }

void retab(form::FormDescription &d, const QString &name, int tabOrder) { d.control(name)->tabOrder = tabOrder; }
} // namespace

form::FormDescription w_zzzp::describe()
{
    form::FormDescription d = w_xjzp::describe();
    d.className = QStringLiteral("w_zzzp");
    d.title = QStringLiteral("银行转帐支票开票");
    d.height = 1872;

    // Not on this form: the cash cheque's own print and positioning, its second number and the frame of its
    // counterfoil corner.
    place(d, QStringLiteral("cb_10"), 9, 1304);
    retab(d, QStringLiteral("cb_10"), 210);
    place(d, QStringLiteral("cb_2"), 5, 1316);
    retab(d, QStringLiteral("cb_2"), 0);
    for (const QString &hidden : {QStringLiteral("cb_10"), QStringLiteral("cb_2"), sle(25), QStringLiteral("ln_1"),
                                  QStringLiteral("ln_3")})
        d.control(hidden)->flags |= ui::Hidden;

    d.control(QStringLiteral("st_1"))->text = d.title;
    d.control(QStringLiteral("st_14"))->text = QStringLiteral("银行转帐支票存根");
    d.control(QStringLiteral("st_41"))->text = QStringLiteral("转帐日期");
    d.control(QStringLiteral("st_45"))->text = QStringLiteral("复核    记帐");
    d.control(QStringLiteral("st_45"))->width = 457;
    // The empty label of the cash cheque labels the payee account here.
    ui::ControlSpec *account = d.control(QStringLiteral("st_8"));
    place(d, account->name, 1595, 1316);
    account->width = 471;
    account->height = 92;
    account->text = QStringLiteral(" 收款人帐号：");

    // The radios go one row down, under the payee's bank and account; the buttons form one row below.
    for (int k = 1; k <= 7; ++k)
        moveDown(d, QStringLiteral("rb_%1").arg(k), 1464);
    d.control(QStringLiteral("rb_6"))->x = 2592;
    moveDown(d, QStringLiteral("st_47"), 1480);
    moveDown(d, QStringLiteral("rr_1"), 1440);
    place(d, QStringLiteral("cb_1"), 613, 1604);
    place(d, QStringLiteral("cb_3"), 2423, 1604);
    retab(d, QStringLiteral("cb_3"), 220);
    place(d, QStringLiteral("cb_4"), 2683, 1604);
    retab(d, QStringLiteral("cb_4"), 230);
    for (const auto &[name, y] : {std::pair{QStringLiteral("pb_2"), 944}, {sle(26), 1136}, {sle(11), 352},
                                  {QStringLiteral("st_11"), 1152}, {QStringLiteral("st_10"), 1148}, {sle(6), 928},
                                  {sle(12), 244}})
        moveDown(d, name, y);

    d.controls << button(QStringLiteral("cb_5"), 2034, 375, QStringLiteral("打印进帐单"), kHei, 200)
               << button(QStringLiteral("cb_7"), 873, 288, QStringLiteral("打印定位"), kHei, 170)
               << button(QStringLiteral("cb_8"), 1477, 544, QStringLiteral("进帐单打印定位"), kHei, 190)
               << button(QStringLiteral("cb_9"), 1175, 288, QStringLiteral("打印支票"), kSong, 160)
               << payeeBox(sle(27), 850, 750, 220)
               << ControlSpec{.name = QStringLiteral("st_48"), .kind = Kind::StaticText, .x = 384, .y = 1316,
                              .width = 471, .height = 92, .text = QStringLiteral("收款人开户行："),
                              .font = {kSong, 10}, .textColor = kWindowText, .flags = ui::Disabled | ui::Transparent}
               << payeeBox(sle(28), 2062, 923, 230);

    // The cheque prints on the transfer cheque slots with the cash cheque's field table. Its own print
    // buttons follow the save as the cash cheque's print does.
    d.print.family = forms::Family::TransferCheque;
    d.buttons.otherPrints = {QStringLiteral("cb_9"), QStringLiteral("cb_5")};
    d.save.captions.insert(QStringLiteral("shbank"), QStringLiteral("收款人开户行"));
    d.save.captions.insert(QStringLiteral("shcode"), QStringLiteral("收款人帐号"));
    return d;
}

form::PrintSpec w_zzzp::depositForm()
{
    // The unit draws the cheque: it is the drawer of the deposit form, the cheque's payee its payee.
    // In the order printed; font and split of each pair come from the deposit form's field table.
    return {.family = forms::Family::DepositForm,
            .fields = {{1, Source::box(sle(1))},
                       {2, Source::box(sle(2))},
                       {3, Source::box(sle(3))},
                       {4, Source::unitName()},
                       {5, Source::box(sle(10))},
                       {6, Source::printBank(), Source::box(QStringLiteral("ddlb_2"))},
                       {7, Source::box(sle(4))},
                       {8, Source::box(sle(28))},
                       {9, Source::box(sle(27))},
                       {10, Source::box(sle(13))},
                       {15, {}},
                       {11, Source::literal(kKind)},
                       {12, Source::literal(QStringLiteral("1张"))},
                       {13, Source::box(sle(12))},
                       {14, Source::box(sle(26))}},
            .extraSamples = {{25, Source::box(sle(24))}},
            .layoutWindow = QStringLiteral("w_setprint")};
}

w_zzzp::w_zzzp() : w_xjzp(describe()), m_deposit(depositForm())
{
    watch(m_deposit);
    if (auto *label = get<QLabel>(QStringLiteral("st_8")))
        label->setFrameShape(QFrame::Box);
    using ui::Event;
    on(QStringLiteral("cb_9"), Event::Clicked, [this] { printClicked(); });
    on(QStringLiteral("cb_7"), Event::Clicked, [this] { positioningClicked(); });
    on(QStringLiteral("cb_5"), Event::Clicked, [this] { printSheet(m_deposit); });
    on(QStringLiteral("cb_8"), Event::Clicked, [this] { handOver(m_deposit); });
}

void w_zzzp::formatClicked()
{
    w_xjzp::formatClicked();
    enable(QStringLiteral("cb_7"), true);
    enable(QStringLiteral("cb_8"), true);
}

bool w_zzzp::writeAfterInsert()
{
    // Inside the insert's transaction, so the newest row is the one just inserted: the write lock is held
    // from the insert to the commit and the keys only grow. A refused relabel rolls the insert back with
    // it instead of leaving a "现金支票" row without the payee's bank and account.
    const QString bank = textOf(sle(27)), account = textOf(sle(28));
    g::sqlca.execute(QStringLiteral("UPDATE xjzp SET bz = ? , shbank = ? , shcode = ? "
                                    "WHERE line = ( SELECT max ( line ) FROM xjzp )"),
                     {kKind, bank.isNull() ? QStringLiteral("") : bank,
                      account.isNull() ? QStringLiteral("") : account});
    return g::sqlca.SQLCode == 0;
}

void w_zzzp::nextSheet()
{
    w_xjzp::nextSheet();
    for (const char *b : {"cb_7", "cb_8"})
        enable(QString::fromLatin1(b), false);
    setTextOf(sle(27), QString());
    setTextOf(sle(28), QString());
}

void w_zzzp::lookedUp(const form::Lookup &lookup, bool found)
{
    w_xjzp::lookedUp(lookup, found);
    if (found && lookup.keyBox == sle(4)) {
        setTextOf(sle(28), mme3);
        setTextOf(sle(27), mme4);
    }
}
