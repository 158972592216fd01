#pragma once
#include "books/w_passgate.h"

// The reference books: descendants of the book maintenance window over their own tables.
namespace brevik {

// The unit's own bank accounts.
class BREVIK_EXPORT w_bank : public w_passgate {
    Q_OBJECT
public:
    w_bank();

protected:
    w_bank(const QString &className, int width, const dw::Definition &view);
    bool saveAllowed() override { return true; }
};

// The payee book; adds printing.
class BREVIK_EXPORT w_skrbk : public w_bank {
    Q_OBJECT
public:
    w_skrbk();

protected:
    w_skrbk(const QString &className, const dw::Definition &view, const QString &caption);
};

// The payer book.
class BREVIK_EXPORT w_fkrbk : public w_skrbk {
    Q_OBJECT
public:
    w_fkrbk();
};

// The remarks book.
class BREVIK_EXPORT w_cnbs1 : public w_passgate {
    Q_OBJECT
public:
    w_cnbs1();

protected:
    bool saveAllowed() override { return true; }
};

// The names of the seven print formats: names only, no add and no delete.
class BREVIK_EXPORT w_prsz : public w_passgate {
    Q_OBJECT
public:
    w_prsz();

protected:
    bool saveAllowed() override { return true; }
};

// The unit's information, one record; explains three database refusals.
class BREVIK_EXPORT w_gate : public w_passgate {
    Q_OBJECT
public:
    w_gate();
    // The message the window shows for an engine error code; empty when it has none for it.
    static QString messageFor(int code, const QString &text);

protected:
    void open() override;
    bool saveAllowed() override { return true; }
};
} // namespace brevik
