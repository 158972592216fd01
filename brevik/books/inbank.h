#pragma once
#include "books/grid_editor.h"

namespace brevik {

// The receipt register editor: a grid over every row of `jzd`.
class BREVIK_EXPORT inbank : public GridEditor {
    Q_OBJECT
public:
    inbank();

protected:
    inbank(const QString &className, const QString &title, const dw::Definition &view);
    void open() override;
    void resized(int width, int height) override;
    // OK scrolls to the row that was current before the re-read.
    void rememberBeforeReread() override { m_row = m_dw->currentRow(); }

private:
    int m_x1 = 9; // the grid's design x, the base of the re-centring
};

// The payment register editor: inbank over `xjzp`.
class BREVIK_EXPORT gobank : public inbank {
    Q_OBJECT
public:
    gobank();
};
} // namespace brevik
