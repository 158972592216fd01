#pragma once
// Shared set-up of the layout tests: the library's windows registered once, known layout rows, sample texts.
#include "fixture.h"

#include "brevik.h"
#include "globals.h"
#include "platform/window.h"

#include <QApplication>
#include <QStringList>
#include <QtTest>

namespace layouttest {

// Every column of a layout row, pairs first.
inline QStringList allColumns()
{
    QStringList columns;
    for (int k = 1; k <= 19; ++k)
        columns << QStringLiteral("x%1w").arg(k) << QStringLiteral("y%1w").arg(k);
    columns << "jj" << "sex" << "sey";
    return columns;
}

// A row of odd values (so halving and doubling show), pair 2 negative: x = 100k + 1, y = 40k + 3.
inline int storedX(int pair) { return pair == 2 ? -3 : 100 * pair + 1; }
inline int storedY(int pair) { return 40 * pair + 3; }

inline void setKnownRow(Fixture &f, int slot)
{
    QStringList set;
    QVariantList args;
    for (int k = 1; k <= 19; ++k) {
        set << QStringLiteral("x%1w = ?").arg(k) << QStringLiteral("y%1w = ?").arg(k);
        args << storedX(k) << storedY(k);
    }
    set << "jj = ?" << "sex = ?" << "sey = ?";
    args << 163 << 6135 << 3057 << slot;
    f.exec(QStringLiteral("UPDATE sescr SET %1 WHERE no = ?").arg(set.join(", ")), args);
}

inline QVariantList rowOf(Fixture &f, int slot)
{
    QVariantList values;
    for (const QString &column : allColumns())
        values << f.scalar(QStringLiteral("SELECT %1 FROM sescr WHERE no = ?").arg(column), {slot});
    return values;
}

inline void fillSampleTexts()
{
    for (int k = 1; k <= 30; ++k)
        g::air[std::size_t(k)] = QStringLiteral("样%1").arg(k);
}

inline ui::Window *openAt(const QString &name, int slot)
{
    g::acer = slot;
    ui::Window *w = ui::openWindow(name);
    if (w) {
        QApplication::setActiveWindow(w);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(w);
    }
    return w;
}

inline void registerOnce()
{
    static bool done = false;
    if (!done)
        brevik::registerWindows();
    done = true;
}

} // namespace layouttest
