#include "dw_ywwts.h"

#include "dataview/registers.h"
#include "forms/amount.h"

#include <cmath>

namespace ostrel {

dw::Definition dw_ywwts_definition()
{
    dw::Definition def;
    def.name = QStringLiteral("dw_ywwts");
    dw::selectRegisterColumns(def, QStringLiteral("xjzp"),
                              {QStringLiteral("line"), QStringLiteral("rq"), QStringLiteral("zphm"),
                               QStringLiteral("xkr"), QStringLiteral("et"), QStringLiteral("fkhm"),
                               QStringLiteral("fkzh"), QStringLiteral("kpr"), QStringLiteral("an"),
                               QStringLiteral("shbank"), QStringLiteral("shcode"), QStringLiteral("bz"),
                               QStringLiteral("fkrm")},
                              true);
    return def;
}

QString letterCapitals(const QVariant &amount)
{
    if (amount.isNull())
        return {};
    bool ok = false;
    const double value = amount.toDouble(&ok);
    // Eleven places reach 亿; beyond them, or below zero, no capitals are better than wrong ones.
    if (!ok || !std::isfinite(value) || value < 0 || value >= 1e9)
        return {};
    return forms::amountInCapitals(value, 11).capitals;
}

dw::FreeFormLayout dw_ywwts_layout()
{
    using dw::FreeFormItem;
    using dw::ItemKind;
    const ui::Font song{QStringLiteral("宋体"), 12, 400};
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;

    auto label = [&](const char *name, const QString &text, int x, int y, int w, int h) {
        return FreeFormItem{.name = QString::fromLatin1(name), .kind = ItemKind::Text, .x = x, .y = y, .width = w,
                            .height = h, .text = text, .alignment = right, .font = song};
    };
    auto field = [&](const char *name, int x, int y, int w, int h, int tab, int limit,
                     Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter) {
        return FreeFormItem{.name = QString::fromLatin1(name), .kind = ItemKind::Column, .x = x, .y = y, .width = w,
                            .height = h, .column = QString::fromLatin1(name), .format = QStringLiteral("[general]"),
                            .alignment = alignment, .font = song, .tabOrder = tab, .limit = limit};
    };

    FreeFormItem heading = label("t_1", QStringLiteral("银行业务委托书"), 558, 8, 896, 108);
    heading.font = {QStringLiteral("黑体"), 18, 700};
    heading.textColor = 134217729;

    FreeFormItem amount = field("an", 2587, 872, 439, 84, 80, 0, right);
    amount.format = QStringLiteral("###,###.00");
    amount.editMask = QStringLiteral("###,###.00");

    // Where the capitals stand: the amount written out, so the letter can be checked against the figures.
    FreeFormItem capitals{.name = QStringLiteral("t_3"), .kind = ItemKind::Computed, .x = 379, .y = 876,
                          .width = 1568, .height = 72, .compute = [](const dw::Buffer &b, int row) {
                              return QVariant(letterCapitals(b.item(row, QStringLiteral("an"))));
                          },
                          .alignment = left, .font = song};

    dw::FreeFormLayout layout;
    layout.bandHeight = 1880;
    layout.background = 1073741824;
    layout.items = {
        field("line", 46, 20, 439, 84, 0, 0),
        heading,
        label("rq_t", QStringLiteral("日期"), 37, 148, 219, 72),
        field("rq", 274, 148, 439, 84, 10, 0),
        label("zphm_t", QStringLiteral("支票号码"), 946, 156, 293, 72),
        field("zphm", 1280, 148, 585, 84, 20, 15),
        label("fkrm_t", QStringLiteral("付款人名"), 0, 428, 293, 72),
        field("fkrm", 325, 424, 1499, 84, 120, 60, left),
        label("fkhm_t", QStringLiteral("付款行名"), 0, 552, 293, 72),
        field("fkhm", 325, 552, 1499, 84, 50, 40),
        label("fkzh_t", QStringLiteral("付款帐号"), 0, 696, 293, 72),
        field("fkzh", 325, 696, 951, 84, 60, 25),
        label("xkr_t", QStringLiteral("收款人"), 2062, 456, 219, 72),
        // The payee takes no more than its column holds, so what is typed stays on the letter.
        field("xkr", 2299, 460, 2231, 84, 30, 60),
        label("shbank_t", QStringLiteral("收款行"), 2062, 556, 219, 72),
        field("shbank", 2299, 560, 1499, 84, 90, 40),
        label("shcode_t", QStringLiteral("收款行帐号"), 1902, 692, 366, 72),
        field("shcode", 2299, 700, 1499, 84, 100, 25),
        label("t_2", QStringLiteral("金额大写"), 0, 872, 293, 72),
        capitals,
        label("an_t", QStringLiteral("金额"), 2350, 872, 219, 72),
        amount,
        label("et_t", QStringLiteral("用途"), 9, 1188, 219, 72),
        field("et", 247, 1188, 1499, 84, 40, 40),
        label("kpr_t", QStringLiteral("开票人"), 165, 1340, 219, 72),
        field("kpr", 402, 1340, 402, 84, 70, 10),
        label("bz_t", QStringLiteral("备注"), 137, 1444, 219, 72),
        field("bz", 375, 1444, 768, 84, 110, 20),
    };
    // A field is named by its label ("zphm" by "zphm_t"); what it is (a cheque number or an account is refused
    // whole) its column says.
    for (FreeFormItem &item : layout.items) {
        if (item.kind != ItemKind::Column)
            continue;
        if (const int at = layout.indexOf(item.name + QStringLiteral("_t")); at >= 0)
            item.caption = layout.items.at(at).text;
    }
    return layout;
}

} // namespace ostrel
