#include "books/w_search.h"

#include "globals.h"
#include "platform/controls.h"
#include "dataview/print.h"
#include "dataview/registers.h"
#include "dataview/sql.h"
#include "platform/messagebox.h"
#include "platform/transaction.h"

#include <cmath>

using ui::Event;
using ui::Kind;

namespace {
constexpr qint64 kButtonFace = 79741120;

// The field list's items and the register columns they stand for; the column says the type the typed value is
// taken as.
struct Field {
    QString item;
    QString column;
};

const QList<Field> &fields()
{
    static const QList<Field> f = {
        {QStringLiteral("支票号码"), QStringLiteral("zphm")}, {QStringLiteral("日期"), QStringLiteral("rq")},
        {QStringLiteral("收款人"), QStringLiteral("xkr")},    {QStringLiteral("金额"), QStringLiteral("an")},
        {QStringLiteral("开票人"), QStringLiteral("kpr")},
    };
    return f;
}

// The register column of the item shown in the field list; no name when none is chosen.
dw::Column chosenColumn(const QString &shown)
{
    for (const Field &f : fields())
        if (f.item == shown)
            return dw::registerColumn(QStringLiteral("xjzp"), f.column);
    return {};
}
} // namespace

w_search::w_search() : ui::Window(QStringLiteral("w_search"), 3447, 1956)
{
    setWindowTitle(QStringLiteral("付款查询"));
    setBackground(kButtonFace);
    setDesignPosition(5, 24);
    const ui::Font arial12{QStringLiteral("Arial"), 12, 400};
    auto button = [&](const char *name, const char *text, int x, int tab) {
        return ui::ControlSpec{.name = QString::fromLatin1(name), .kind = Kind::CommandButton, .x = x, .y = 1600,
                               .width = 247, .height = 108, .text = QString::fromUtf8(text), .font = arial12,
                               .tabOrder = tab};
    };
    build({
        button("cb_3", "打印", 2875, 20),
        {.name = QStringLiteral("st_1"), .kind = Kind::StaticText, .x = 160, .y = 1608, .width = 306, .height = 76,
         .text = QStringLiteral("查询条件"), .font = arial12, .textColor = 255, .backColor = kButtonFace,
         .flags = ui::Disabled},
        {.name = QStringLiteral("sle_1"), .kind = Kind::Edit, .x = 1349, .y = 1604, .width = 1198, .height = 92,
         .font = arial12, .tabOrder = 10},
        {.name = QStringLiteral("ddlb_2"), .kind = Kind::DropDown, .x = 1051, .y = 1600, .width = 251, .height = 92,
         .font = arial12, .tabOrder = 20},
        {.name = QStringLiteral("ddlb_1"), .kind = Kind::DropDown, .x = 471, .y = 1600, .width = 535, .height = 92,
         .font = arial12, .tabOrder = 30},
        button("cb_2", "退出", 3150, 60),
        button("cb_1", "查询", 2601, 50),
    });
    auto *comparison = get<ui::DropDownList>(QStringLiteral("ddlb_2"));
    for (const QString &op : {QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("="), QString()})
        comparison->addItemText(op);
    comparison->setCurrentIndex(-1);
    auto *field = get<ui::DropDownList>(QStringLiteral("ddlb_1"));
    for (const Field &f : fields())
        field->addItemText(f.item);
    field->setCurrentIndex(-1);
    // The value is one of the chosen field: a cheque number, a date or an amount is refused whole rather than
    // cut (two lines pasted give no such value), and the value box's signs name the field.
    auto *value = get<ui::SingleLineEdit>(QStringLiteral("sle_1"));
    connect(field, &QComboBox::currentTextChanged, value, [value](const QString &shown) {
        const dw::Column column = chosenColumn(shown);
        value->setAccessibleName(column.name.isEmpty() ? QString() : shown);
        value->setIdentifier(column.identifier || (!column.name.isEmpty() && column.type != dw::Type::Text));
    });

    m_grid = new dw::DataView(this);
    addCustom(QStringLiteral("dw_scrth"), m_grid, 14, 52, 3406, 1492, 40);

    on(QStringLiteral("cb_1"), Event::Clicked, [this] { cb_1_clicked(); });
    on(QStringLiteral("cb_3"), Event::Clicked, [this] { cb_3_clicked(); });
    on(QStringLiteral("cb_2"), Event::Clicked, [this] { closeWindow(); });
}

void w_search::open()
{
    x1 = unitGeometry(QStringLiteral("dw_scrth")).x();
    m_opened = true;
}

void w_search::resized(int widthUnits, int /*heightUnits*/)
{
    if (!m_opened)
        return;
    p2 = widthUnits - 40;
    const QRect r = unitGeometry(QStringLiteral("dw_scrth"));
    setUnitGeometry(QStringLiteral("dw_scrth"), x1 + int(std::trunc((p2 - r.width()) * 0.5)), r.y(), r.width(),
                    r.height());
}

void w_search::cb_1_clicked()
{
    const dw::Column chosen = chosenColumn(get<ui::DropDownList>(QStringLiteral("ddlb_1"))->text());
    const QString column = chosen.name;
    const dw::Type type = chosen.type;
    const QString comparison = get<ui::DropDownList>(QStringLiteral("ddlb_2"))->text();
    // Column and comparison come from fixed lists; with either missing there is no condition: the operator is
    // told what to choose (the database's own text names a place in the statement no one sees).
    if (column.isEmpty() || comparison.isEmpty()) {
        msg::show(QStringLiteral("查询"), column.isEmpty()
                                             ? QStringLiteral("请先选择要查询的项目（支票号码、日期、收款人、金额或开票人）。")
                                             : QStringLiteral("请先选择比较方式（>、< 或 =）。"));
        return;
    }
    // The typed value is bound, never pasted into the statement: a quote or a % in it is data. An amount or a
    // date is bound as the number or date it stands for (a value that is neither refuses the statement).
    const QString value = get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->text();
    // < and > order texts as the lists and pickers do (GBK); = still asks for the same text.
    const bool textOrder = type == dw::Type::Text && (comparison == u"<" || comparison == u">");
    const QString where = QStringLiteral("xjzp.") + column + comparison + QStringLiteral(":value")
                          + (textOrder ? QStringLiteral(" COLLATE ") + QLatin1String(db::kGbkCollation) : QString());
    const QString select = QStringLiteral("SELECT * FROM xjzp Where ") + where;
    const QList<dw::Argument> arguments = {{QStringLiteral("value"), type}};

    QString error;
    const dw::GridSyntax syntax = dw::syntaxFromSql(g::sqlca, select, arguments, {value},
                                                    QStringLiteral("style(type=grid)column(color=9112585)"), error);
    if (!error.isEmpty()) {
        msg::show(QStringLiteral("Syntax From SQL"), error);
        return;
    }
    if (!dw::createGrid(*m_grid, syntax, error)) {
        msg::show(QStringLiteral("SQL Creat"), error);
        return;
    }
    m_built = true;
    m_statement = select;
    m_grid->setTransaction(g::sqlca);
    m_grid->retrieve(syntax.values);
}

void w_search::cb_3_clicked()
{
    if (!m_built)
        return; // no grid yet: nothing to print
    if (QString error; m_grid->print(&error) < 0)
        dw::showPrintError(error);
}
