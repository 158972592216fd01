#include "app/navigator.h"

namespace navigator {
const QList<Category> &categories()
{
    static const QList<Category> list = {
        {QStringLiteral("1"), QStringLiteral("001\\kzp.bmp")},  // 开支票
        {QStringLiteral("2"), QStringLiteral("001\\tjcx.bmp")}, // 统计查询
        {QStringLiteral("3"), QStringLiteral("001\\ywgl.bmp")}, // 业务管理
        {QStringLiteral("4"), QStringLiteral("001\\xtsz.bmp")}, // 系统设置
        {QStringLiteral("5"), QStringLiteral("001\\bz.bmp")},   // 帮助
    };
    return list;
}

const QList<Function> &functions()
{
    static const QList<Function> list = {
        {1, QStringLiteral("现金支票"), 1, QStringLiteral("m_file.m_1")},
        {1, QStringLiteral("转帐支票"), 2, QStringLiteral("m_file.m_2")},
        {1, QStringLiteral("汇票申请书"), 3, QStringLiteral("m_file.m_3")},
        {1, QStringLiteral("银行电汇凭证"), 4, QStringLiteral("m_file.m_4")},
        {1, QStringLiteral("预算拨款凭证(支款)"), 5, QStringLiteral("m_file.m_预算拨款凭证支款")},
        {1, QStringLiteral("银行进帐单"), 6, QStringLiteral("m_file.m_5")},
        {2, QStringLiteral("付款情况"), 7, QStringLiteral("m_f.m_18")},
        {2, QStringLiteral("收款情况"), 8, QStringLiteral("m_f.m_8")},
        {2, QStringLiteral("查询"), 9, QStringLiteral("m_f.m_9")},
        {2, QStringLiteral("收款资料整理"), 10, QStringLiteral("m_f.m_6.m_15")},
        {2, QStringLiteral("付款资料整理"), 11, QStringLiteral("m_f.m_6.m_7")},
        // The business entrustment letter has no menu bar to reach it from: it gets its entry here.
        {2, QStringLiteral("业务委托书"), 25, QStringLiteral("m_file.m_17")},
        {3, QStringLiteral("更换操作员"), 12, QStringLiteral("m_g.m_10")},
        {3, QStringLiteral("供应商资料"), 13, QStringLiteral("m_g.m_11")},
        {3, QStringLiteral("销售商资料"), 14, QStringLiteral("m_g.m_12")},
        {4, QStringLiteral("计算器"), 15, QStringLiteral("m_14.m_40")},
        {4, QStringLiteral("用户设置"), 16, QStringLiteral("m_14.m_use")},
        {4, QStringLiteral("单位信息"), 17, QStringLiteral("m_14.m_dw")},
        {4, QStringLiteral("备注设定"), 18, QStringLiteral("m_14.m_备注设定")},
        {4, QStringLiteral("开户行设置"), 20, QStringLiteral("m_14.m_bank")},
        {4, QStringLiteral("打印格式设定"), 21, QStringLiteral("m_14.m_gx")},
        {4, QStringLiteral("打印机设定"), 22, QStringLiteral("m_14.m_16")},
        {5, QStringLiteral("帮助主题"), 23, QStringLiteral("m_h帮助.m_帮助主题")},
        {5, QStringLiteral("版权声明"), 24, QStringLiteral("m_h帮助.m_20")},
    };
    return list;
}

QList<Entry> entriesOf(int category)
{
    QList<Entry> out;
    for (const Function &f : functions())
        if (f.category == category)
            out.append({f.label, f.picture});
    return out;
}

QList<Entry> initialEntries()
{
    // The list as the window first shows it; its fifth label is written with 拔, as it always was there.
    return {
        {QStringLiteral("现金支票"), 1},     {QStringLiteral("转帐支票"), 2},
        {QStringLiteral("汇票申请书"), 3},   {QStringLiteral("银行电汇凭证"), 4},
        {QStringLiteral("预算拔款凭证(支款)"), 5}, {QStringLiteral("银行进帐单"), 6},
    };
}

QString menuPathFor(int picture)
{
    for (const Function &f : functions())
        if (f.picture == picture)
            return f.menuPath;
    return {};
}

QString largePictureName(int n) { return QStringLiteral("001\\k%1.bmp").arg(n, 2, 10, QLatin1Char('0')); }
} // namespace navigator
