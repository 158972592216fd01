#pragma once
// The calls a form's print made on the recording backend, written as "op(arg,arg,...)" so that a test can
// compare a whole job with the list it expects.
#include "platform/printjob.h"

#include <QPoint>
#include <QStringList>
#include <QtTest>

inline QStringList recordedCalls()
{
    QStringList out;
    for (const print::Call &c : print::recorded()) {
        QStringList args;
        for (const QVariant &a : c.args)
            args << a.toString();
        out << c.op + u'(' + args.join(u',') + u')';
    }
    return out;
}

// A text printed at a pair's position, dy below it (a split's second line), in the selected font (0) or the
// font given.
inline QString textCall(const QString &text, QPoint at, int dy = 0, int font = 0)
{
    return QStringLiteral("text(%1,%2,%3,%4)").arg(text).arg(at.x()).arg(at.y() + dy).arg(font);
}

// Compares call by call, so that a failure names the first call that differs.
inline void compareCalls(const QStringList &expected)
{
    const QStringList calls = recordedCalls();
    for (int i = 0; i < qMax(calls.size(), expected.size()); ++i)
        QCOMPARE(calls.value(i), expected.value(i));
}
