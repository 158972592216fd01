#pragma once
#include "ostrel.h"
#include "dataview/freeform.h"

// The stored presentation `dw_ywwts`: every row of the payment register `xjzp` as one business entrustment
// letter, in free form.
namespace ostrel {
OSTREL_EXPORT dw::Definition dw_ywwts_definition();
OSTREL_EXPORT dw::FreeFormLayout dw_ywwts_layout();
// The amount in Chinese capitals as the letter writes it; empty for no amount or one the capitals cannot hold.
OSTREL_EXPORT QString letterCapitals(const QVariant &amount);
} // namespace ostrel
