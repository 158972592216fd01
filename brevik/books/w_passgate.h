#pragma once
#include "books/grid_editor.h"

namespace brevik {

// The book maintenance window, and the operators book itself (`gates` over `pass`). The reference books
// descend from it and change only its properties.
class BREVIK_EXPORT w_passgate : public GridEditor {
    Q_OBJECT
public:
    w_passgate();

protected:
    w_passgate(const QString &className, int width, int height, const dw::Definition &view);

    void open() override;
    void resized(int width, int height) override;
    // The login lists the operators by id 1 up to their number and "system" is the administrator: a save
    // that would break either is refused.
    bool saveAllowed() override;
    // Enter in the grid: in the last column (by query position) of the last row it appends a row where the
    // add button is shown; anywhere else it moves on as Tab does.
    bool enterInGrid();

    // The texts a descendant gives the window.
    void setTexts(const QString &title, const QString &caption, const QString &note, const QString &okText);
    // Grid, button row and usage note of a descendant's own layout; the caption stays centred.
    void placeLayout(int gridY, int gridWidth, int gridHeight, int buttonY, int noteY);
};
} // namespace brevik
