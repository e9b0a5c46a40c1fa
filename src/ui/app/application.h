#pragma once

class QApplication;

// Program-wide look: CJK fonts (so every caption renders as Chinese), the
// 宋体/SimSun substitutions, and Qt's Chinese translations for standard buttons.
namespace KelmoraApplication {
void setup(QApplication& app);
}
