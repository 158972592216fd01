#pragma once
#include "forms/layout.h"
#include "platform/window.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QKeyEvent;

// The mechanisms every bank form shares (open, format radios and button states, amount in capitals,
// register save, slot printing, positioning hand-over, next-sheet reset, lookups, echoes, exit, Enter as
// Tab), written once and driven by a per-form description. A form gives its tables; the mechanisms
// read nothing else of it.
namespace form {

// Where a text that is printed, stored or handed over comes from.
struct Source {
    enum Kind { Box, Literal, UnitName, PrintBank };
    Kind kind = Box;
    QString name;   // the control, or the literal text
    QString prefix; // put before the text ("￥" before the amount)

    static Source box(const QString &control, const QString &prefix = {}) { return {Box, control, prefix}; }
    static Source literal(const QString &text) { return {Literal, text, {}}; }
    static Source unitName() { return {UnitName, {}, {}}; } // the global `myname`
    static Source printBank() { return {PrintBank, {}, {}}; }
};

// One printed field: the pair it prints at and its text; `sample` where the layout window shows
// something else than the print (the account's name where the print has the bank's print name).
// Pair 15 is the digit row and prints the amount's digit boxes; its source is not used.
struct PrintField {
    int pair;
    Source text;
    std::optional<Source> sample = {};
};

struct PrintFont {
    QString face;
    int points;
    int weight;
};

// One print of a family and the hand-over to its layout window. Font and split of each field come from
// the family's field table; positions from its layout row.
struct PrintSpec {
    forms::Family family = forms::Family::CashCheque;
    QList<PrintField> fields;            // in the order they are printed
    QList<PrintFont> fixedFonts = {};    // families that read no font row
    bool smallFontByArgument = false;    // font 3 given with each of its texts instead of being selected
    QList<QPair<int, Source>> extraSamples = {}; // `air` slots of fields that are not printed
    QString layoutWindow;                // the positioning window of the family
};

// A register column and the value the save binds to it.
struct SaveColumn {
    enum Kind { Rq, Box, Amount, Literal };
    QString column;
    Kind kind;
    QString value = {}; // the control, or the literal
};

struct SaveSpec {
    QString table;
    QList<SaveColumn> columns;
    // Column -> the caption the operator reads beside its box, so that a refused text names the box.
    QHash<QString, QString> captions = {};
};

// Where a looked-up value goes: a box, a picker slot of `dnname`, or an instance string of the form.
struct Target {
    enum Kind { Box, Slot, Variable };
    Kind kind;
    QString name = {};
    int slot = 0;

    static Target box(const QString &control) { return {Box, control, 0}; }
    static Target pickerSlot(int n) { return {Slot, {}, n}; }
    static Target variable(const QString &name) { return {Variable, name, 0}; }
};

// A single-row lookup raised by a box's modified event: an empty box runs no query; a key that matches
// no row leaves the targets as they were; `copies` then receive the key box's text in every case.
struct Lookup {
    QString keyBox;
    QString sql; // one bound value: the key as typed
    QList<Target> targets;
    QStringList copies = {};
    QString keyVariable = {}; // instance string that keeps the key
};

// Choosing an own account fills its number (and the bank's print name) from `bankoffice`.
struct AccountChoice {
    QString list;
    QString numberBox;
    bool emptyFirst = true;
    bool readsPrintBank = true;
    QString focusAfter = {};
};

// A box whose text is repeated in other boxes.
struct Echo {
    QString source;
    QStringList copies;
};

struct OpenSpec {
    QStringList dateBoxes;         // year, month, day in figures
    QStringList dateCapitalBoxes;  // year, month, day in capitals (the cheques only)
    QString operatorBox;
    QString unitBox = {};          // gets the global `myname`
    bool unitBeforeOperator = false;
    QStringList unitPlaceBoxes = {}; // province, city, county of `myname`, read after the operator box
    QString accountList;
    bool listBeforeOperator = false; // the cheques fill the list first, the other forms after the unit boxes
    QList<int> pickerSlotsCleared = {1, 2, 3, 4, 5, 6, 8};
    QString focus = {};
};

struct ButtonSpec {
    QString save = QStringLiteral("cb_1");
    QString print = QStringLiteral("cb_2");
    QString next = QStringLiteral("cb_3");
    QString exit = QStringLiteral("cb_4");
    QString positioning;
    QStringList radios = {QStringLiteral("rb_1"), QStringLiteral("rb_2"), QStringLiteral("rb_3"),
                          QStringLiteral("rb_4"), QStringLiteral("rb_5"), QStringLiteral("rb_6"),
                          QStringLiteral("rb_7")};
    QStringList savedMark; // the label and its frame
    QStringList otherPrints = {}; // further print buttons, enabled and disabled with `print`
};

struct AmountSpec {
    QString box = QStringLiteral("em_1");
    QString capitals;
    QStringList digitBoxes; // highest place first; ten, or eleven up to 亿
};

struct ResetSpec {
    QString accountList;
    QStringList emptied;
    std::optional<QStringList> uncheckedRadios = {}; // the format radios the reset unchecks; unset: all
};

struct FormDescription {
    QString className;
    QString title;
    int width = 0;
    int height = 0;
    qint64 background = 79741120;
    QString heading = QStringLiteral("st_1");
    QList<ui::ControlSpec> controls; // in the order they are created
    OpenSpec open;
    ButtonSpec buttons;
    AmountSpec amount;
    SaveSpec save;
    ResetSpec reset;
    PrintSpec print;
    std::optional<AccountChoice> account;
    QList<Lookup> lookups;
    QList<Echo> echoes;  // on the source's modified event
    QList<Echo> mirrors; // on every change of the source's text, whoever made it

    // A row of the control table, for descendants that move, retitle or hide inherited controls.
    ui::ControlSpec *control(const QString &name)
    {
        for (ui::ControlSpec &c : controls)
            if (c.name == name)
                return &c;
        return nullptr;
    }
};

class FormWindow : public ui::Window {
    Q_OBJECT
public:
    explicit FormWindow(FormDescription description);

    const FormDescription &description() const { return m_desc; }
    // The text of a control as the mechanisms read it (edits, lists, labels).
    QString textOf(const QString &control) const;
    void setTextOf(const QString &control, const QString &text);

    // Instance values of the sheet.
    double an = 0;   // amount value (`an1` on the forms other than the cheques)
    QString prnbank; // print name of the chosen own account (`prbank` on the other forms)
    QString xjskr;   // key of the last payee lookup
    QString mme3;    // account of the last payee found
    QString mme4;    // bank of the last payee found

protected:
    void open() override;
    bool key(QKeyEvent *event) override;

    // The mechanisms, one per event; descendants extend them by calling the base first.
    virtual void formatClicked();
    // Inserts the row, commits, shows the mark; false when the database refused the save.
    virtual bool save();
    // Further writes of a descendant inside the save's transaction, after the insert.
    virtual bool writeAfterInsert() { return true; }
    virtual void printClicked() { printSheet(m_desc.print); }
    virtual void positioningClicked() { handOver(m_desc.print); }
    virtual void nextSheet();
    virtual void amountModified();
    virtual void accountChosen();
    // After a lookup ran (found: a row matched).
    virtual void lookedUp(const Lookup & /*lookup*/, bool /*found*/) {}

    // The print format of the first checked radio (1..7), 0 when none is checked.
    int checkedFormat() const;
    void printSheet(const PrintSpec &sheet);
    void handOver(const PrintSpec &sheet);
    bool runLookup(const Lookup &lookup);
    void enable(const QString &control, bool on);
    void showSavedMark(bool on);
    // Saved: the mark shows, the print buttons are enabled and save is disabled; not saved, the reverse.
    void setSaved(bool saved);
    // A change to a text this print takes, after a save, makes the sheet unsaved again (see setSaved), so
    // that nothing is printed that differs from the register's row. The form's own print and save are
    // watched from the start.
    void watch(const PrintSpec &sheet);

private:
    void finishControls();
    QString sourceText(const Source &source) const;
    QString *variable(const QString &name);
    void fillAccountList();
    void fillFormatCaptions();
    void centre();
    void watchControl(const QString &name);
    void sheetEdited();
    void settleEdits();
    QStringList sheetTexts() const;

    FormDescription m_desc;
    bool m_tabPending = false;
    bool m_saved = false;
    bool m_editPending = false;
    QStringList m_watched;    // the controls whose texts are stored or printed
    QStringList m_savedTexts; // their texts when the sheet was saved

};

} // namespace form
