#include "windowcatalog.h"

#include "dispformpos.h"
#include "documents/entrywindows.h"
#include "frmmain.h"
#include "frmsysinfogl.h"
#include "frmuserinfo.h"
#include "masterdata/frmcltman.h"
#include "masterdata/frmcodeman.h"
#include "masterdata/frmgoodgl.h"
#include "masterdata/frmtreecodeman.h"
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

    // Master data. The list windows report their row count in the third status panel.
    auto showCount = [](const QString& text) {
        if (TFrmMain* m = TFrmMain::instance())
            m->setStatusPanelText(2, text);
    };
    WindowRegistry::registerWindow(203, QStringLiteral("TFrmGoodGl"), [showCount] {
        auto* w = new TFrmGoodGl;
        QObject::connect(w, &TFrmGoodGl::countChanged, w, showCount);
        return w;
    });
    WindowRegistry::registerHandler(204, [] { TFrmCodeMan::execute(TFrmMain::instance()); });
    WindowRegistry::registerHandler(205, [] { TFrmTreeCodeMan::showMaintenance(TFrmMain::instance()); });
    // Suppliers and clients share one window, switched to the kind of the action.
    auto partners = [showCount](int kind) {
        auto* w
            = qobject_cast<TfrmCltMan*>(TFrmMain::instance()->openOrRaise(QStringLiteral("TfrmCltMan"), [showCount] {
                  auto* created = new TfrmCltMan;
                  QObject::connect(created, &TfrmCltMan::countChanged, created, showCount);
                  return created;
              }));
        if (w)
            w->setKind(kind);
    };
    WindowRegistry::registerHandler(202, [partners] { partners(PartnerService::Supplier); });
    WindowRegistry::registerHandler(206, [partners] { partners(PartnerService::Client); });

    // Document entry: the eleven ordinary kinds.
    registerEntryWindows();
}
