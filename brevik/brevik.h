#pragma once
#include <QtCore/qglobal.h>

#if defined(BREVIK_LIBRARY)
#define BREVIK_EXPORT Q_DECL_EXPORT
#else
#define BREVIK_EXPORT Q_DECL_IMPORT
#endif

namespace brevik {
// Registers the library's windows by name; the program calls it once at start.
BREVIK_EXPORT void registerWindows();
} // namespace brevik
