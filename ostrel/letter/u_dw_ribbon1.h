#pragma once
#include "ostrel.h"

#include <QFrame>

class u_picb01;

// The letter's strip of six picture buttons `pb_1` to `pb_6`; only `pb_5` ("退出") acts: it closes the letter.
class OSTREL_EXPORT u_dw_ribbon1 : public QFrame {
    Q_OBJECT
public:
    explicit u_dw_ribbon1(QWidget *parent = nullptr);
    u_picb01 *button(int number) const;
    // Tab visits the buttons from pb_1 to pb_6; again after the window has placed the strip in its own chain.
    void chainButtons();

    static constexpr int kWidth = 3131; // window units
    static constexpr int kHeight = 164;
};
