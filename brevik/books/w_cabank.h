#pragma once
#include "brevik.h"
#include "dataview/report.h"
#include "platform/window.h"

#include <array>

// The payment list: the payment register over a range of dates, grouped by bank with totals, on the screen
// and the printer. Its descendant lists the receipts.
class BREVIK_EXPORT w_cabank : public ui::Window {
    Q_OBJECT
public:
    w_cabank();

    dw::ReportView *report() const { return m_report; }

protected:
    w_cabank(const QString &className, const dw::ReportDefinition &report);
    void open() override;
    void resized(int widthUnits, int heightUnits) override;

private:
    void cb_3_clicked();
    void cb_1_clicked();

    dw::ReportView *m_report = nullptr;
    int p2 = 0;
    bool m_opened = false;
    std::array<int, 9> m_designX{}; // x1 .. x8: design positions of the report and the strip under it
};
