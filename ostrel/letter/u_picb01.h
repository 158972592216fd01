#pragma once
#include "ostrel.h"
#include "platform/controls.h"

// The letter strip's picture button: a picture at its own size, no text, and its tag as the tooltip.
class OSTREL_EXPORT u_picb01 : public ui::CommandButton {
    Q_OBJECT
public:
    u_picb01(const QString &tag, const QString &picture, QWidget *parent = nullptr);
    QString tag() const { return m_tag; }

    // The button's size in window units.
    static constexpr int kWidth = 174;
    static constexpr int kHeight = 152;

private:
    QString m_tag;
};

// A picture named by bare file name ("01cp.bmp"): the program keeps these pictures in its folder "001", so a
// name not found at the top level is looked for there. A null pixmap when neither holds it.
OSTREL_EXPORT QPixmap letterPicture(const QString &bareName);
