#pragma once
#include "platform/window.h"

class m_mainmenu;
class u_banner1;
class u_banner2;
namespace ui {
class ListView;
class PictureList;
} // namespace ui

// Where the main window's resize puts its controls for a workspace of W x H units. Sizes never go below
// zero on a window smaller than its controls.
struct MainLayout {
    int banner1Width;        // uo_1 width
    int banner1PictureWidth; // uo_1.p_1 width
    int closeX;              // uo_1.p_5 x
    int maximiseX;           // uo_1.p_4 x
    int restoreX;            // uo_1.p_3 x
    int minimiseX;           // uo_1.p_2 x
    int banner2Y;            // uo_2 y
    int banner2Width;        // uo_2 width
    int banner2PictureWidth; // uo_2.p_1 width
    int functionListWidth;   // lv_1 width
    int categoryListHeight;  // plb_1 height
    int functionListHeight;  // lv_1 height
};
MainLayout mainLayout(int workspaceWidth, int workspaceHeight);

// The main window: banners, logo, the function navigator (category list and function list) and the
// main menu instance whose items the function list starts. Its title shows the operator and the date.
class w_main : public ui::Window {
    Q_OBJECT
public:
    w_main();
    ~w_main() override;

    m_mainmenu *mmp4() const { return m_mmp4; }
    ui::PictureList *categoryList() const;
    ui::ListView *functionList() const;
    u_banner1 *topBanner() const { return m_banner1; }
    u_banner2 *bottomBanner() const { return m_banner2; }

    // The title for the current operator and date; the refresh writes one blank more after the banner.
    static QString titleText(bool refresh);
    // The title refresh interval in milliseconds (5 seconds; tests shorten it).
    static void setTitleRefreshInterval(int ms);
    static int titleRefreshInterval();

protected:
    void open() override;
    bool closeQuery() override;
    bool endsProgram() const override { return true; }
    void closed() override;
    void resized(int widthUnits, int heightUnits) override;
    void timer() override;

private:
    void applyLayout(const MainLayout &l);
    void plb_1_selectionchanged(int index);
    void lv_1_doubleclicked(int index);
    void bannerClicked(const QString &picture);

    m_mainmenu *m_mmp4 = nullptr;
    u_banner1 *m_banner1 = nullptr;
    u_banner2 *m_banner2 = nullptr;
    int m_timerId = 0;
};
