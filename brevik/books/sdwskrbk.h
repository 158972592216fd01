#pragma once
#include "brevik.h"
#include "dataview/dataview.h"

namespace brevik {
// The payee list of the payee picker: the payee book filtered by a LIKE pattern on the name (argument `dnname`).
BREVIK_EXPORT dw::Definition sdwskrbk();
} // namespace brevik
