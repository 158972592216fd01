#pragma once
#include "dataview/dataview.h"
#include "platform/window.h"

namespace pickers {

// What every picker shares: a list over one book at the top (`dw_1`), read at open and at every activation;
// "查询" (`cb_2`) narrows it by part of a text typed into `sle_1`; "选取" (`cb_1`) hands the current row over
// through the picker slots; a double-click chooses and then closes; "编缉" (`cb_4`) opens the book's own window;
// "退出" (`cb_3`) closes. A picker keeps no state of its own beyond its controls.
class Picker : public ui::Window {
    Q_OBJECT
public:
    dw::DataView *list() const { return m_list; }
signals:
    // The book was read into the list (open or activation).
    void bookRead();

protected:
    Picker(const QString &className, int width, int height, const dw::Definition &definition, QRect listUnits,
           QString bookWindow);

    void open() override;
    void activate() override;
    // Writes the current row into the slots and shows them in the picker's boxes.
    virtual void choose() = 0;
    void showText(const QString &box, const QString &text);

private:
    void readBook(dw::DataView::Keep keep);
    void search();
    void listDoubleClicked();

    dw::DataView *m_list = nullptr;
    QString m_bookWindow;
    bool m_readAtOpen = false; // the book was read by the open and no other window has been active since
};

} // namespace pickers
