#include "documentkinds.h"

namespace {
QString kindText(const char* text)
{
    return QString::fromUtf8(text);
}

QList<DocumentKind> buildDocumentKinds()
{
    using C = StockCheck;
    using P = PriceSource;
    QList<DocumentKind> k;
    k << DocumentKind {1, kindText("purchase receipt"), 1, kindText("CGD"), kindText("采购入库单"),
        kindText("TFrmInCaiGouDeptGl"), kindText("采购收货入库管理"), 301, kindText("收货日期："),
        kindText("进货仓库："), kindText("供 应 商："), kindText("进货仓库不能为空！"),
        kindText("采购供应商不能为空！"), kindText("采购入库单"), kindText("incaigoudeptgl"), 1, 10,
        kindText("frCaigouInDept"), C::None, P::Purchase, true};
    k << DocumentKind {-1, kindText("purchase return"), -1, kindText("CTD"), kindText("采购退货单"),
        kindText("TFrmOutCaigouDeptGl"), kindText("采购退货出库管理"), 401, kindText("退货日期："),
        kindText("退货仓库："), kindText("供 应 商："), kindText("进货仓库不能为空！"),
        kindText("采购供应商不能为空！"), kindText("采购退货单"), kindText("outcaigoudeptgl"), -1, 20,
        kindText("frCaigouOutDept"), C::HeaderDepot, P::Purchase, true};
    k << DocumentKind {2, kindText("sales return"), 1, kindText("XTD"), kindText("销售退货单"),
        kindText("TFrmInXiaoShouDeptGl"), kindText("销售退货入库管理"), 302, kindText("退货日期："),
        kindText("退货仓库："), kindText("客    户："), kindText("进货仓库不能为空！"), kindText("销售客户不能为空！"),
        kindText("销售退货单"), kindText("inxiaoshoudeptgl"), 2, 11, kindText("frXiaoshouInDept"), C::None, P::Sales,
        false};
    k << DocumentKind {-2, kindText("sales issue"), -1, kindText("XSD"), kindText("销售出库单"),
        kindText("TFrmOutXiaoshouDeptGl"), kindText("货品销售出库管理"), 402, kindText("销售日期："),
        kindText("出货仓库："), kindText("客    户："), kindText("销售仓库不能为空！"), kindText("销售客户不能为空！"),
        kindText("销售出库单"), kindText("outxiaoshoudeptgl"), -2, 21, kindText("frXiaoshouOutDept"), C::HeaderDepot,
        P::Sales, false};
    k << DocumentKind {3, kindText("production receipt"), 1, kindText("SCD"), kindText("生产入库单"),
        kindText("TFrmInShenChanDeptGl"), kindText("仓库生产入库管理"), 303, kindText("入库日期："),
        kindText("进货仓库："), kindText("生产部门："), kindText("进货仓库不能为空！"), QString(), kindText("入库单"),
        kindText("inshenchandeptgl"), 3, 12, kindText("frShenchanInDept"), C::None, P::Cost, false};
    k << DocumentKind {4, kindText("requisition return"), 1, kindText("LTD"), kindText("领用退货单"),
        kindText("TFrmInLinyongDeptGl"), kindText("领用退货入库管理"), 304, kindText("退货日期："),
        kindText("退入仓库："), kindText("领用部门："), kindText("进货仓库不能为空！"), kindText("领用部门不能为空！"),
        kindText("领用退货单"), kindText("inlinyongdeptgl"), 4, 13, kindText("frLingyongInDept"), C::None, P::Cost,
        false};
    k << DocumentKind {-3, kindText("requisition issue"), -1, kindText("LCD"), kindText("领用出库单"),
        kindText("TFrmOutLinyongDeptGl"), kindText("部门领用管理"), 403, kindText("领用日期："), kindText("领出仓库："),
        kindText("领用部门："), kindText("领出仓库不能为空！"), kindText("领用部门不能为空！"), kindText("领用出库单"),
        kindText("outlinyongdeptgl"), -3, 22, kindText("frLingyongOutDept"), C::HeaderDepot, P::Cost, false};
    k << DocumentKind {5, kindText("other receipt"), 1, kindText("JHD"), kindText("其他入库单"),
        kindText("TFrmInJiehuoDeptGl"), kindText("其他入库管理"), 305, kindText("入库日期："), kindText("进货仓库："),
        kindText("对方单位："), kindText("进货仓库不能为空！"), kindText("供应商不能为空！"), kindText("借货入库单"),
        kindText("injiehuodeptgl"), 5, 14, kindText("frJiehuoInDept"), C::None, P::Cost, false};
    k << DocumentKind {-5, kindText("other issue"), -1, kindText("CRD"), kindText("其他出库单"),
        kindText("TFrmOutJieHuoDeptGl"), kindText("其他出库管理"), 404, kindText("出库日期："), kindText("出货仓库："),
        kindText("对方单位："), kindText("进货仓库不能为空！"), kindText("供应商不能为空！"), kindText("借入还出单"),
        kindText("outjiehuodeptgl"), -5, 23, kindText("frJieHuoOutDept"), C::HeaderDepot, P::Cost, false};
    k << DocumentKind {10, kindText("stock transfer"), 1, kindText("DBD"), kindText("库存调拨单"),
        kindText("TFrmInDiaoboDeptGl"), kindText("库存调拨管理"), 501, kindText("开单日期："), kindText("调入仓库："),
        kindText("调出仓库："), kindText("调入仓库不能为空！"), kindText("调出仓库不能为空！"), kindText("库存调拨单"),
        kindText("indiaobodeptgl"), 10, 30, kindText("frDiaoboInDept"), C::SendingDepot, P::Cost, false};
    k << DocumentKind {11, kindText("stocktaking"), 1, kindText("PDD"), kindText("库存盘点单"),
        kindText("TFrmInPandianDeptGl"), kindText("库存盘点管理"), 502, kindText("盘点日期："), kindText("盘点仓库："),
        QString(), kindText("盘点仓库不能为空！"), QString(), kindText("库存盘点单"), kindText("inpandiandeptgl"), 11,
        31, kindText("frPandianInDept"), C::Counted, P::Cost, false};
    k << DocumentKind {12, kindText("assembly"), -1, kindText("ZZD"), kindText("货品组装单"),
        kindText("TfrmInZuZhuangDeptGL"), kindText("货品组装管理"), 503, kindText("开单日期："), kindText("成品仓库："),
        kindText("物料仓库："), kindText("成品仓库不能为空！"), kindText("物料仓库不能为空！"), kindText("货品组装单"),
        kindText("inzuzhuangdeptgl"), 12, 0, kindText("frZuZhuangInDept"), C::Components, P::ProductDepotCost, false};
    k << DocumentKind {13, kindText("dismantling"), 1, kindText("CXD"), kindText("货品拆卸单"),
        kindText("TfrmOutChaiXieDeptGL"), kindText("货品拆卸管理"), 504, kindText("开单日期："), kindText("成品仓库："),
        kindText("物料仓库："), kindText("成品仓库不能为空！"), kindText("物料仓库不能为空！"), kindText("货品拆卸单"),
        kindText("outchaixiedeptgl"), 13, 0, kindText("frChaiXieOutDept"), C::Product, P::ProductDepotCost, false};
    return k;
}
} // namespace

QString DocumentKind::maxCodeSql() const
{
    // The assembly and dismantling windows test the kind without isNull.
    if (isAssembly())
        return QStringLiteral("Select Max(F_Code) As F_Code From DepotM Where (F_Code Like :pattern) And F_Flag = ")
            + QString::number(kind);
    return QStringLiteral("Select Max(F_Code) As F_Code From DepotM Where (F_Code Like :pattern) And "
                          "COALESCE(F_Flag,0) = ")
        + QString::number(kind);
}

QString DocumentKind::deleteQuestion(const QString& code) const
{
    return QStringLiteral("真的要删除当前") + deleteName + QLatin1Char(' ') + code + QStringLiteral("吗？");
}

namespace DocumentKinds {
const QList<DocumentKind>& all()
{
    static const QList<DocumentKind> kinds = buildDocumentKinds();
    return kinds;
}

const DocumentKind* find(int kind)
{
    for (const DocumentKind& k : all())
        if (k.kind == kind)
            return &k;
    return nullptr;
}

const DocumentKind* findByPrefix(const QString& prefix)
{
    for (const DocumentKind& k : all())
        if (k.prefix.compare(prefix, Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

const DocumentKind* forCode(const QString& code)
{
    return findByPrefix(code.trimmed().left(3));
}
} // namespace DocumentKinds
