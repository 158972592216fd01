#pragma once
#include "brevik.h"
#include "dataview/dataview.h"

// The data views of the book windows and the register editors, by their own names.
namespace brevik::views {
BREVIK_EXPORT dw::Definition gates();   // operators, pass
BREVIK_EXPORT dw::Definition dwbank();  // own bank accounts, bankoffice
BREVIK_EXPORT dw::Definition dwskrbk(); // payee book, skrbook
BREVIK_EXPORT dw::Definition dwfkbk();  // payer book, fkrbook
BREVIK_EXPORT dw::Definition cnbs1();   // remarks, bs_1
BREVIK_EXPORT dw::Definition prsz();    // print-format names
BREVIK_EXPORT dw::Definition dwgate();  // the unit's information, free form over myname
BREVIK_EXPORT dw::Definition inbank();  // receipt register, jzd
BREVIK_EXPORT dw::Definition gobank();  // payment register, xjzp
} // namespace brevik::views
