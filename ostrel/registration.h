#pragma once

namespace ostrel {
void registerLetterWindows();
} // namespace ostrel
