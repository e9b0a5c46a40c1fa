#include "windowcatalog.h"

#include "dispformpos.h"
#include "frmmain.h"
#include "frmsysinfogl.h"
#include "frmuserinfo.h"
#include "windowregistry.h"

namespace {
// Modal windows: created, placed, shown and destroyed.
template <class T> void runModalWindow()
{
    T window(TFrmMain::instance());
    DispFormPos(&window, 1);
    window.exec();
}
} // namespace

void registerProgramWindows()
{
    WindowRegistry::registerHandler(101, [] { runModalWindow<TFrmUserInfo>(); });
    WindowRegistry::registerHandler(109, [] { runModalWindow<TfrmSysInfoGl>(); });
}
