#pragma once

// Registers the program's own windows by name (start-up, main frame, forms and pickers).
void registerProgramWindows();

// Each group of windows registers its own.
void registerFrameWindows();
void registerChequeWindows();
void registerPickerWindows();
void registerVoucherWindows();
void registerDraftDepositWindows();
