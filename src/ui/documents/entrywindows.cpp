#include "entrywindows.h"

#include "app/dispformpos.h"
#include "app/windowregistry.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "documents/documentkinds.h"
#include "documents/entrykinds.h"
#include "entryhooks.h"
#include "frmdeptgl.h"
#include "masterdata/dlgcltxz.h"
#include "masterdata/frmgoodedit.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPalette>
#include <QPointer>
#include <QSqlQuery>

void registerEntryWindows()
{
    EntryHooks::setClientPicker([](QWidget* parent, int mode, const QString& current) -> std::optional<QString> {
        return TDlgCltXz::pickPartner(parent, mode, current);
    });
    EntryHooks::setGoodsEditor([](QWidget* parent, const QString& autoCode) {
        TFrmGoodEdit edit(TFrmGoodEdit::NewFromPicker, nullptr, parent);
        if (!autoCode.isEmpty()) {
            QLineEdit* code = edit.codeBox();
            code->setText(autoCode);
            QPalette p = code->palette();
            p.setColor(QPalette::Base, QColor(0xA3, 0x95, 0xF2));
            code->setPalette(p);
            code->setReadOnly(true);
        }
        DispFormPos(&edit, 1);
        edit.exec();
    });
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
