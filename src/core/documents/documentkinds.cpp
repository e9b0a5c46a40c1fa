#include "documentkinds.h"

namespace {
QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QList<DocumentKind> buildKinds()
{
    using C = StockCheck;
    using P = PriceSource;
    QList<DocumentKind> k;
    k << DocumentKind {1, s("purchase receipt"), 1, s("CGD"), s("采购入库单"), s("TFrmInCaiGouDeptGl"),
        s("采购收货入库管理"), 301, s("收货日期："), s("进货仓库："), s("供 应 商："), s("进货仓库不能为空！"),
        s("采购供应商不能为空！"), s("采购入库单"), s("incaigoudeptgl"), 1, 10, s("frCaigouInDept"), C::None,
        P::Purchase, true};
    k << DocumentKind {-1, s("purchase return"), -1, s("CTD"), s("采购退货单"), s("TFrmOutCaigouDeptGl"),
        s("采购退货出库管理"), 401, s("退货日期："), s("退货仓库："), s("供 应 商："), s("进货仓库不能为空！"),
        s("采购供应商不能为空！"), s("采购退货单"), s("outcaigoudeptgl"), -1, 20, s("frCaigouOutDept"), C::HeaderDepot,
        P::Purchase, true};
    k << DocumentKind {2, s("sales return"), 1, s("XTD"), s("销售退货单"), s("TFrmInXiaoShouDeptGl"),
        s("销售退货入库管理"), 302, s("退货日期："), s("退货仓库："), s("客    户："), s("进货仓库不能为空！"),
        s("销售客户不能为空！"), s("销售退货单"), s("inxiaoshoudeptgl"), 2, 11, s("frXiaoshouInDept"), C::None,
        P::Sales, false};
    k << DocumentKind {-2, s("sales issue"), -1, s("XSD"), s("销售出库单"), s("TFrmOutXiaoshouDeptGl"),
        s("货品销售出库管理"), 402, s("销售日期："), s("出货仓库："), s("客    户："), s("销售仓库不能为空！"),
        s("销售客户不能为空！"), s("销售出库单"), s("outxiaoshoudeptgl"), -2, 21, s("frXiaoshouOutDept"),
        C::HeaderDepot, P::Sales, false};
    k << DocumentKind {3, s("production receipt"), 1, s("SCD"), s("生产入库单"), s("TFrmInShenChanDeptGl"),
        s("仓库生产入库管理"), 303, s("入库日期："), s("进货仓库："), s("生产部门："), s("进货仓库不能为空！"),
        QString(), s("入库单"), s("inshenchandeptgl"), 3, 12, s("frShenchanInDept"), C::None, P::Cost, false};
    k << DocumentKind {4, s("requisition return"), 1, s("LTD"), s("领用退货单"), s("TFrmInLinyongDeptGl"),
        s("领用退货入库管理"), 304, s("退货日期："), s("退入仓库："), s("领用部门："), s("进货仓库不能为空！"),
        s("领用部门不能为空！"), s("领用退货单"), s("inlinyongdeptgl"), 4, 13, s("frLingyongInDept"), C::None, P::Cost,
        false};
    k << DocumentKind {-3, s("requisition issue"), -1, s("LCD"), s("领用出库单"), s("TFrmOutLinyongDeptGl"),
        s("部门领用管理"), 403, s("领用日期："), s("领出仓库："), s("领用部门："), s("领出仓库不能为空！"),
        s("领用部门不能为空！"), s("领用出库单"), s("outlinyongdeptgl"), -3, 22, s("frLingyongOutDept"), C::HeaderDepot,
        P::Cost, false};
    k << DocumentKind {5, s("other receipt"), 1, s("JHD"), s("其他入库单"), s("TFrmInJiehuoDeptGl"), s("其他入库管理"),
        305, s("入库日期："), s("进货仓库："), s("对方单位："), s("进货仓库不能为空！"), s("供应商不能为空！"),
        s("借货入库单"), s("injiehuodeptgl"), 5, 14, s("frJiehuoInDept"), C::None, P::Cost, false};
    k << DocumentKind {-5, s("other issue"), -1, s("CRD"), s("其他出库单"), s("TFrmOutJieHuoDeptGl"), s("其他出库管理"),
        404, s("出库日期："), s("出货仓库："), s("对方单位："), s("进货仓库不能为空！"), s("供应商不能为空！"),
        s("借入还出单"), s("outjiehuodeptgl"), -5, 23, s("frJieHuoOutDept"), C::HeaderDepot, P::Cost, false};
    k << DocumentKind {10, s("stock transfer"), 1, s("DBD"), s("库存调拨单"), s("TFrmInDiaoboDeptGl"),
        s("库存调拨管理"), 501, s("开单日期："), s("调入仓库："), s("调出仓库："), s("调入仓库不能为空！"),
        s("调出仓库不能为空！"), s("库存调拨单"), s("indiaobodeptgl"), 10, 30, s("frDiaoboInDept"), C::SendingDepot,
        P::Cost, false};
    k << DocumentKind {11, s("stocktaking"), 1, s("PDD"), s("库存盘点单"), s("TFrmInPandianDeptGl"), s("库存盘点管理"),
        502, s("盘点日期："), s("盘点仓库："), QString(), s("盘点仓库不能为空！"), QString(), s("库存盘点单"),
        s("inpandiandeptgl"), 11, 31, s("frPandianInDept"), C::Counted, P::Cost, false};
    k << DocumentKind {12, s("assembly"), -1, s("ZZD"), s("货品组装单"), s("TfrmInZuZhuangDeptGL"), s("货品组装管理"),
        503, s("开单日期："), s("成品仓库："), s("物料仓库："), s("成品仓库不能为空！"), s("物料仓库不能为空！"),
        s("货品组装单"), s("inzuzhuangdeptgl"), 12, 0, s("frZuZhuangInDept"), C::Components, P::ProductDepotCost,
        false};
    k << DocumentKind {13, s("dismantling"), 1, s("CXD"), s("货品拆卸单"), s("TfrmOutChaiXieDeptGL"), s("货品拆卸管理"),
        504, s("开单日期："), s("成品仓库："), s("物料仓库："), s("成品仓库不能为空！"), s("物料仓库不能为空！"),
        s("货品拆卸单"), s("outchaixiedeptgl"), 13, 0, s("frChaiXieOutDept"), C::Product, P::ProductDepotCost, false};
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
    static const QList<DocumentKind> kinds = buildKinds();
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
