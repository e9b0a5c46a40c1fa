#pragma once

// Registers every window the program has built so far with the WindowRegistry
// (see frmmain.h). The main window calls it when it is created.
void registerProgramWindows();
