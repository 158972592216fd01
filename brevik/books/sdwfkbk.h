#pragma once
#include "brevik.h"
#include "dataview/dataview.h"

namespace brevik {
// The payer list of the payer picker: the payer book filtered by a LIKE pattern on the name (argument `skrname1`).
BREVIK_EXPORT dw::Definition sdwfkbk();
} // namespace brevik
