#pragma once
#include "dataview/dataview.h"

namespace pickers {
// The remarks list of the remarks picker: the remarks filtered by a LIKE pattern on the text (argument `itext`).
dw::Definition cnbs2();
} // namespace pickers
