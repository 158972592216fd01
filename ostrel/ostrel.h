#pragma once
#include <QtCore/qglobal.h>

#if defined(OSTREL_LIBRARY)
#define OSTREL_EXPORT Q_DECL_EXPORT
#else
#define OSTREL_EXPORT Q_DECL_IMPORT
#endif

namespace ostrel {
// Registers the library's windows by name; the program calls it once at start.
OSTREL_EXPORT void registerWindows();
} // namespace ostrel
