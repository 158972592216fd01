#pragma once
#include "brevik.h"
#include "dataview/report.h"

namespace brevik {
// The payment list: `xjzp` rows between the dates `cepa` and `cepd` (both included), grouped by the paying bank.
BREVIK_EXPORT dw::ReportDefinition cabank();
// The receipt list: `jzd` rows between the dates `qyz` and `qyd` (both included), grouped by the receiving bank.
BREVIK_EXPORT dw::ReportDefinition eabank();
} // namespace brevik
