#pragma once
#include "brevik.h"
#include "dataview/dataview.h"
#include "platform/window.h"

namespace brevik {

// What the book windows and the register editors share: a grid `dw_1` over one table and the buttons
// `cb_1` add, `cb_2` delete, `cb_3` OK, `cb_4` exit and (where shown) `cb_5` print. Edits, new rows and
// deletions stay in the grid until OK writes them in one update and commits; exit drops them.
class BREVIK_EXPORT GridEditor : public ui::Window {
    Q_OBJECT
public:
    dw::DataView *grid() const { return m_dw; }
    // The remembered row number (`iix` of the books, `nline` of the register editors).
    int rememberedRow() const { return m_row; }

protected:
    GridEditor(const QString &className, int width, int height, const dw::Definition &view);

    // Binds the grid to sqlca and reads the whole table.
    void retrieve();
    void addRow();
    void deleteRow();
    // OK. A failed update is rolled back by the grid and reported by its database-error event; then nothing is
    // committed and the operator's edits stay in the grid to be corrected. Returns true when saved.
    bool save();
    // Checked before anything is written; false keeps the edits unsaved (the check reports why).
    virtual bool saveAllowed() { return true; }
    // Where OK scrolls after the re-read; the books keep the row of the last add or delete.
    virtual void rememberBeforeReread() {}

    // Places the visible buttons of a row, in this order, centred across the window's design width.
    void placeButtons(const QStringList &buttons, int y, int width, int height, int gap);

    dw::DataView *m_dw = nullptr;
    int m_row = 0;
};
} // namespace brevik
