#include "entrywindows.h"

#include "app/windowregistry.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "documents/documentkinds.h"
#include "documents/entrykinds.h"
#include "frmdeptgl.h"

#include <QEventLoop>
#include <QPointer>
#include <QSqlQuery>

void registerEntryWindows()
{
    for (const EntryKind& k : EntryKinds::all()) {
        const int kind = k.kind;
        WindowRegistry::registerWindow(k.base().actionCode, k.windowClass(), [kind] { return new TFrmDeptGl(kind); });
    }
}

bool showEntryDocumentModal(const QString& code, QWidget* parent)
{
    const DocumentKind* dk = DocumentKinds::forCode(code);
    if (!dk || !EntryKinds::find(dk->kind))
        return false;
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select F_Date from DepotM where F_Code = :code"),
                      {{QStringLiteral("code"), code.trimmed()}})
        || !q.next())
        return false;
    QPointer<TFrmDeptGl> w = new TFrmDeptGl(dk->kind, parent);
    w->setWindowFlag(Qt::Window);
    w->setWindowModality(Qt::ApplicationModal);
    w->LocateCode = code.trimmed();
    w->setListDate(Dates::toDate(q.value(0)));
    w->show();
    QEventLoop loop;
    QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    return true;
}
