#pragma once
#include "brevik.h"

#include "forms/layout.h"
#include "platform/window.h"

#include <QList>
#include <QString>

#include <array>

namespace layout {

class DigitGrid;

// The layout window kind: a half-scale picture of one paper form with a draggable sample field for every
// coordinate pair of the family. It captures the layout slot when it opens and reads and writes only that
// slot's layout row, whatever `acer` becomes later. Positions are kept in window units; the row stores twice
// the position, a stored value shows at its half truncated toward zero.
class BREVIK_EXPORT LayoutWindow : public ui::Window {
    Q_OBJECT
public:
    int slot() const { return m_slot; }
    forms::Family family() const { return m_family; }
    // The control that stands for coordinate pair k ("uo_1" for the digit grid); empty when none.
    QString sampleOf(int pair) const;
    DigitGrid *grid() const;
    // The window's size in units, as the page-size boxes show it halved.
    int pageWidthUnits() const { return m_pageWidth; }
    int pageHeightUnits() const { return m_pageHeight; }
    // Opens a layout window for a form's hand-over (`acer`, `air`): one open for another slot or with other
    // samples starts afresh on them; one open for the same hand-over comes to the front as it is.
    static void openForHandOver(const QString &name);

    // A static text of the picture or of the tool row: name, text, geometry, framed or not, flags.
    struct Label {
        QString name;
        QString text;
        int x, y, width, height;
        bool bordered = false;
        quint32 flags = ui::AlignRight;
        ui::Font font = {QStringLiteral("宋体"), 12, 400};
    };
    struct Sample {
        int pair;
        QString control;
    };

protected:
    LayoutWindow(const QString &className, const QString &title, forms::Family family, int designWidth,
                 int designHeight);

    void open() override;

    // Builders for the members of the kind.
    void buildLabels(const QList<Label> &labels, qint64 background);
    // Sample fields `spper`: bordered, draggable, 宋体 12 pt unless given.
    void buildSamples(const QList<Label> &samples);
    void addGrid(int places, int x, int y, int tabOrder);
    // Which control stands for which pair; each is made draggable once.
    void setSamples(const QList<Sample> &samples);
    // Pairs 1 to 14 on st_1 .. st_14 and the digit grid on pair 15, then the window's further pairs.
    void setNumberedSamples(const QList<Sample> &beyondTheGrid = {});
    // The tool row of the deposit-form family of windows and the budget voucher's: page size, digit spacing,
    // their buttons and the title line; the font button only where the window has one.
    void buildPageToolRow(int noteX, int noteHeight, bool fontButton);
    void setBordered(const QString &name, bool on);
    void raiseControls(const QStringList &names);
    // Wires the buttons of the tool row present in the window: 设置, 保存设置, 退出 and the font button; names
    // its boxes by their captions.
    void wireToolRow(const QString &fontButton);

    static constexpr qint64 kLightBlue = 0xF0CAA6; // 166, 202, 240
    static constexpr qint64 kBlue = 0xFF0000;      // 0, 0, 255
    static constexpr qint64 kRed = 0x0000FF;       // 255, 0, 0
    static const ui::Font kSong12;

private:
    void setPageSize();
    void save();
    void openFontWindow();
    void applyPageUnits(int width, int height);
    bool writeRow(const QString &sql, const QVariantList &args);

    forms::Family m_family;
    QString m_title;
    QList<Sample> m_samples;
    int m_slot = 0;
    std::array<QString, 31> m_samplesShown; // the sample texts of the hand-over it opened with
    int m_pageWidth = 0;
    int m_pageHeight = 0;
};

// w_setprint: the deposit form's layout window, ancestor of w_setprint2 and w_setprint3.
class BREVIK_EXPORT SetPrint : public LayoutWindow {
    Q_OBJECT
public:
    SetPrint();

protected:
    SetPrint(const QString &className, forms::Family family, int designWidth);
};

// w_setprint2: the draft application's picture; the samples of pairs 11 to 13 are hidden but still stored.
class BREVIK_EXPORT SetPrint2 : public SetPrint {
    Q_OBJECT
public:
    SetPrint2();
};

// w_setprint3: the wire-transfer voucher's picture, with four more samples (pairs 16 to 19).
class BREVIK_EXPORT SetPrint3 : public SetPrint {
    Q_OBJECT
public:
    SetPrint3();
};

// w_setprint1: the cheques' layout window (18 pairs; shows the slot it edits).
class BREVIK_EXPORT SetPrint1 : public LayoutWindow {
    Q_OBJECT
public:
    SetPrint1();

protected:
    void open() override;
};

// w_setprint4: the budget voucher's layout window (17 pairs, eleven-place grid, no font button).
class BREVIK_EXPORT SetPrint4 : public LayoutWindow {
    Q_OBJECT
public:
    SetPrint4();
};

} // namespace layout
