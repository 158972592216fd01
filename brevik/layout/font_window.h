#pragma once
#include "brevik.h"

#include "platform/window.h"

#include <QSpinBox>

namespace layout {

// A numeric box of the font window: digits only, at most `digits` of them, spin arrows; it may be empty.
class BREVIK_EXPORT NumberBox : public QSpinBox {
    Q_OBJECT
public:
    explicit NumberBox(int digits, QWidget *parent = nullptr);
    bool isEmpty() const { return value() < 0; }
    // A value beyond what the box holds shows as the nearest value it can hold.
    void setNumber(int value);
    void clear();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    QString textFromValue(int value) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    int m_digits;
};

// w_setextenter: the three font sizes and the four long-field splits of one layout slot. Opened from a
// layout window it works on that window's slot, else on `acer` at its opening; it never follows `acer` later.
class BREVIK_EXPORT FontWindow : public ui::Window {
    Q_OBJECT
public:
    FontWindow();
    int slot() const { return m_slot; }
    // The family button (1 to 4) of a slot; 0 for a slot without a font row.
    static int familyOfSlot(int slot);

protected:
    void open() override;

private:
    void chooseFamily(int family);
    void load();
    void save();
    NumberBox *box(int n) const;

    int m_slot = 0;
};

} // namespace layout
