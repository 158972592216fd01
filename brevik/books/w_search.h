#pragma once
#include "brevik.h"
#include "dataview/dataview.h"
#include "platform/window.h"

// The payment search: one condition on one field of the payment register; the result grid is built from the
// statement at run time and can be printed.
class BREVIK_EXPORT w_search : public ui::Window {
    Q_OBJECT
public:
    w_search();

    dw::DataView *grid() const { return m_grid; }
    // The statement the last query ran (the typed value stays a bound argument, :value).
    QString lastStatement() const { return m_statement; }

protected:
    void open() override;
    void resized(int widthUnits, int heightUnits) override;

private:
    void cb_1_clicked();
    void cb_3_clicked();

    dw::DataView *m_grid = nullptr;
    bool m_built = false; // a query has created the grid
    QString m_statement;
    int x1 = 0;
    int p2 = 0;
    bool m_opened = false;
};
