#pragma once

class QWidget;

// Places (and for mode 2 sizes) a window before it is shown.
// Mode 0: picture viewer; 1: a dialog or window opened from another; 2: the main window.
void DispFormPos(QWidget* window, int mode);
