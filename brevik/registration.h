#pragma once

// Each group of the library's windows registers its own.
namespace brevik {
void registerLayoutWindows();
void registerBookWindows();
void registerRegisterToolWindows();
} // namespace brevik
