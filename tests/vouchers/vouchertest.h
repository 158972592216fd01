#pragma once
// Driving the two remittance voucher forms as the operator does; the typing and clicking helpers are the
// cheque tests' own.
#include "../cheques/chequetest.h"
#include "printcalls.h"

#include "platform/printjob.h"
#include "vouchers/w_yhdh.h"
#include "vouchers/w_ysbk.h"

#include <QDir>

namespace vouchertest {
using namespace chequetest;

template <class Form> Form *openVoucher(const QString &name)
{
    return openForm<Form>(registerVoucherWindows, name);
}

inline w_yhdh *openWire() { return openVoucher<w_yhdh>(QStringLiteral("w_yhdh")); }
inline w_ysbk *openBudget() { return openVoucher<w_ysbk>(QStringLiteral("w_ysbk")); }

// The texts of boxes separated by blanks; "_" is an empty box.
inline QString boxes(ui::Window *w, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names) {
        const QString box = text(w, name);
        out << (box.isEmpty() ? QStringLiteral("_") : box);
    }
    return out.join(u' ');
}

inline QStringList numbered(int from, int to)
{
    QStringList names;
    for (int n = from; n <= to; ++n)
        names << QStringLiteral("sle_%1").arg(n);
    return names;
}

// The digit boxes, highest place first.
inline QStringList wireDigits() { return numbered(17, 26); }
inline QStringList budgetDigits() { return QStringList{QStringLiteral("sle_11")} + numbered(14, 23); }

inline bool markShown(ui::Window *w, const QString &label)
{
    return !w->control(label)->isHidden() && !w->control(QStringLiteral("rr_2"))->isHidden();
}

// Button states as a string: 1 enabled, 0 disabled, in the order given.
inline QString states(ui::Window *w, const QStringList &buttons)
{
    QString s;
    for (const QString &b : buttons)
        s += enabled(w, b) ? u'1' : u'0';
    return s;
}

inline void addPayee(Fixture &f)
{
    f.exec(QStringLiteral("INSERT INTO skrbook (bs, skrname, skrcode, skrbank, prov, city, xian) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?)"),
           {QStringLiteral("A01"), QStringLiteral("上海某某科技有限公司"), QStringLiteral("31001234"),
            QStringLiteral("招商银行上海分行"), QStringLiteral("上海"), QStringLiteral("上海"),
            QStringLiteral("浦东")});
}

inline void addRemark(Fixture &f)
{
    f.exec(QStringLiteral("INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, '')"),
           {QStringLiteral("01"), QStringLiteral("货款")});
}

// The unit: its name as the main window read it, its place in the unit row.
inline void setUnit(Fixture &f)
{
    g::myname = QStringLiteral("北京市某某贸易有限公司");
    f.exec(QStringLiteral("UPDATE myname SET ltdname = ?, prov = ?, city = ?, xian = ?"),
           {g::myname, QStringLiteral("北京"), QStringLiteral("北京"), QStringLiteral("朝阳")});
}

// A layout row whose pairs are told apart: pair k at (1000 + 10k, 2000 + 100k).
constexpr int kJj = 250;
inline QPoint pairAt(int k) { return {1000 + 10 * k, 2000 + 100 * k}; }

inline void setLayoutRow(Fixture &f, int slot)
{
    QStringList sets;
    for (int k = 1; k <= 19; ++k)
        sets << QStringLiteral("x%1w = %2, y%1w = %3").arg(k).arg(pairAt(k).x()).arg(pairAt(k).y());
    f.exec(QStringLiteral("UPDATE sescr SET %1, jj = %2 WHERE no = %3").arg(sets.join(u", ")).arg(kJj).arg(slot));
}

// Grabs the window into GRAB_DIR when that is set, to look at it.
inline void grabIfAsked(QWidget *w, const QString &file)
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("GRAB_DIR is not set");
    QDir().mkpath(dir);
    QVERIFY(w->grab().save(QDir(dir).filePath(file)));
}

} // namespace vouchertest
