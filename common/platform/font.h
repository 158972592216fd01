#pragma once
#include <QString>
#include <QtGlobal>

// What a control table and a data view definition say of a text's look, without any widget: the data view's
// row buffer is built on these alone.
namespace ui {

struct Font {
    QString face = QStringLiteral("宋体");
    int points = 9;
    int weight = 400;
    bool italic = false;
    bool underline = false;
};

constexpr qint64 kNoColor = -1;
} // namespace ui
