#pragma once
#include "ostrel.h"
#include "platform/window.h"

namespace dw {
class FreeFormView;
}
class u_dw_ribbon1;

// The business entrustment letter: the payment register drawn as one letter per row, under the strip of
// picture buttons. It only reads: what is typed into a letter stays on the screen until the window closes.
class OSTREL_EXPORT w_ywwts : public ui::Window {
    Q_OBJECT
public:
    w_ywwts();
    dw::FreeFormView *dw_1() const { return m_dw1; }
    u_dw_ribbon1 *uo_1() const { return m_uo1; }

protected:
    void open() override;

private:
    u_dw_ribbon1 *m_uo1;
    dw::FreeFormView *m_dw1;
};
