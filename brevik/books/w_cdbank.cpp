#include "books/w_cdbank.h"

#include "books/lists_reports.h"

w_cdbank::w_cdbank() : w_cabank(QStringLiteral("w_cdbank"), brevik::eabank()) {}
