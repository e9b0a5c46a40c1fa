#include "actions.h"

namespace Actions {
const QList<ActionInfo>& all()
{
    static const QList<ActionInfo> list = {
        {101, QStringLiteral("系统管理"), QStringLiteral("公司信息资料"), QStringLiteral("TFrmUserInfo"), false},
        {102, QStringLiteral("系统管理"), QStringLiteral("更改用户密码"), QStringLiteral("TfrmModPass"), false},
        {103, QStringLiteral("系统管理"), QStringLiteral("角色权限管理"), QStringLiteral("TFrmOperGl"), false},
        {104, QStringLiteral("系统管理"), QStringLiteral("数据备份恢复"), QStringLiteral("TFrmDataBack"), false},
        {105, QStringLiteral("系统管理"), QStringLiteral("系统数据清理"), QStringLiteral("TFrmDataClear"), false},
        {106, QStringLiteral("系统管理"), QStringLiteral("导入货品资料"), QStringLiteral("TfrmExcelImport"), false},
        {107, QStringLiteral("系统管理"), QStringLiteral("导入客户资料"), QStringLiteral("TfrmExcelImport"), false},
        {108, QStringLiteral("系统管理"), QStringLiteral("期末库存结转"), QStringLiteral("TFrmAccountBeg"), false},
        {109, QStringLiteral("系统管理"), QStringLiteral("系统当前配置"), QStringLiteral("TfrmSysInfoGl"), false},
        {110, QStringLiteral("系统管理"), QStringLiteral("导供应商资料"), QStringLiteral("TfrmExcelImport"), false},
        {111, QStringLiteral("系统管理"), QStringLiteral("压缩修复数据"), QStringLiteral(""), false},
        {112, QStringLiteral("系统管理"), QStringLiteral("连接网络数据"), QStringLiteral(""), false},
        {201, QStringLiteral("基本资料"), QStringLiteral("员工档案管理"), QStringLiteral("TfrmEmpMan"), true},
        {202, QStringLiteral("基本资料"), QStringLiteral("供应厂商管理"), QStringLiteral("TfrmCltMan"), true},
        {203, QStringLiteral("基本资料"), QStringLiteral("货品资料管理"), QStringLiteral("TFrmGoodGl"), true},
        {204, QStringLiteral("基本资料"), QStringLiteral("选项..."), QStringLiteral("TFrmCodeMan"), false},
        {205, QStringLiteral("基本资料"), QStringLiteral("货品类别设置"), QStringLiteral("TFrmTreeCodeMan"), false},
        {206, QStringLiteral("基本资料"), QStringLiteral("客户档案管理"), QStringLiteral("TfrmCltMan"), true},
        {301, QStringLiteral("仓库收货"), QStringLiteral("采购进货管理"), QStringLiteral("TFrmInCaiGouDeptGl"), true},
        {302, QStringLiteral("仓库收货"), QStringLiteral("销售退货管理"), QStringLiteral("TFrmInXiaoShouDeptGl"), true},
        {303, QStringLiteral("仓库收货"), QStringLiteral("生产入库管理"), QStringLiteral("TFrmInShenChanDeptGl"), true},
        {304, QStringLiteral("仓库收货"), QStringLiteral("领用退货管理"), QStringLiteral("TFrmInLinyongDeptGl"), true},
        {305, QStringLiteral("仓库收货"), QStringLiteral("其他入库管理"), QStringLiteral("TFrmInJiehuoDeptGl"), true},
        {306, QStringLiteral("仓库收货"), QStringLiteral("库存进货查询"), QStringLiteral("TFrmInDanjuDeptCX"), true},
        {401, QStringLiteral("仓库出货"), QStringLiteral("采购退货管理"), QStringLiteral("TFrmOutCaigouDeptGl"), true},
        {402, QStringLiteral("仓库出货"), QStringLiteral("销售出货管理"), QStringLiteral("TFrmOutXiaoshouDeptGl"),
            true},
        {403, QStringLiteral("仓库出货"), QStringLiteral("部门领用管理"), QStringLiteral("TFrmOutLinyongDeptGl"), true},
        {404, QStringLiteral("仓库出货"), QStringLiteral("其他出库管理"), QStringLiteral("TFrmOutJieHuoDeptGl"), true},
        {405, QStringLiteral("仓库出货"), QStringLiteral("库存出货查询"), QStringLiteral("TFrmOutDanjuDeptCX"), true},
        {501, QStringLiteral("其他登记"), QStringLiteral("库存调拨管理"), QStringLiteral("TFrmInDiaoboDeptGl"), true},
        {502, QStringLiteral("其他登记"), QStringLiteral("库存盘点管理"), QStringLiteral("TFrmInPandianDeptGl"), true},
        {503, QStringLiteral("其他登记"), QStringLiteral("货品组装管理"), QStringLiteral("TfrmInZuZhuangDeptGL"), true},
        {504, QStringLiteral("其他登记"), QStringLiteral("货品拆卸管理"), QStringLiteral("TfrmOutChaiXieDeptGL"), true},
        {505, QStringLiteral("其他登记"), QStringLiteral("其他单据查询"), QStringLiteral("TFrmInOtherDeptCx"), true},
        {601, QStringLiteral("报表中心"), QStringLiteral("采购进货汇总"), QStringLiteral("TFrmCaigouTotalTj"), true},
        {602, QStringLiteral("报表中心"), QStringLiteral("采购进货明细"), QStringLiteral("TfrmCaigouDetailTJ"), true},
        {603, QStringLiteral("报表中心"), QStringLiteral("销售出货汇总"), QStringLiteral("TFrmXiaoshouTotalTJ"), true},
        {604, QStringLiteral("报表中心"), QStringLiteral("销售出货明细"), QStringLiteral("TfrmXiaoshouDetailTJ"), true},
        {605, QStringLiteral("报表中心"), QStringLiteral("生产入库汇总"), QStringLiteral("TFrmShengChanTotalTj"), true},
        {606, QStringLiteral("报表中心"), QStringLiteral("生产入库明细"), QStringLiteral("TFrmShengChanDetailTj"),
            true},
        {607, QStringLiteral("报表中心"), QStringLiteral("部门领用汇总"), QStringLiteral("TfrmLingyongTotalTJ"), true},
        {608, QStringLiteral("报表中心"), QStringLiteral("部门领用明细"), QStringLiteral("TFrmLingyongDetailTj"), true},
        {609, QStringLiteral("报表中心"), QStringLiteral("其他出入库汇总"), QStringLiteral("TFrmJieHuoTotalTj"), true},
        {610, QStringLiteral("报表中心"), QStringLiteral("其他出入库明细"), QStringLiteral("TFrmJieHuoDetailTJ"), true},
        {611, QStringLiteral("报表中心"), QStringLiteral("库存调拨汇总"), QStringLiteral("TfrmDiaoboTotalTJ"), true},
        {612, QStringLiteral("报表中心"), QStringLiteral("库存调拨明细"), QStringLiteral("TfrmDiaoboDetailTJ"), true},
        {613, QStringLiteral("报表中心"), QStringLiteral("库盘盘点汇总"), QStringLiteral("TfrmPandianTotalTJ"), true},
        {614, QStringLiteral("报表中心"), QStringLiteral("库存盘点明细"), QStringLiteral("TfrmPandianDetailTJ"), true},
        {615, QStringLiteral("报表中心"), QStringLiteral("组装拆卸汇总"), QStringLiteral("TfrmZzcxTotalTJ"), true},
        {616, QStringLiteral("报表中心"), QStringLiteral("组装拆卸明细"), QStringLiteral("TfrmZzcxDetailTJ"), true},
        {701, QStringLiteral("经营分析"), QStringLiteral("销售利润汇总"), QStringLiteral("TFrmLirunTotalTj"), true},
        {702, QStringLiteral("经营分析"), QStringLiteral("销售利润明细"), QStringLiteral("TFrmLirunDetailTj"), true},
        {703, QStringLiteral("经营分析"), QStringLiteral("库存发生汇总"), QStringLiteral("TFrmDepotChangeFx"), true},
        {704, QStringLiteral("经营分析"), QStringLiteral("库存发生明细"), QStringLiteral("TFrmDepotDetailFx"), true},
        {705, QStringLiteral("经营分析"), QStringLiteral("库存货品查询"), QStringLiteral("TfrmDepotBegTj"), true},
        {706, QStringLiteral("经营分析"), QStringLiteral("商品库存报警"), QStringLiteral("TFrmDepotalarmTj"), true},
        {707, QStringLiteral("经营分析"), QStringLiteral("日旬月销售图表"), QStringLiteral("TFrmSaleLiRunFx"), true},
        {708, QStringLiteral("经营分析"), QStringLiteral("营业综合详单"), QStringLiteral("TfrmJingYingTotalTJ"), true},
        {709, QStringLiteral("经营分析"), QStringLiteral("货品销售排行"), QStringLiteral("TfrmGoodXSdetailTJ"), true},
        {710, QStringLiteral("经营分析"), QStringLiteral("来往单位对帐单"), QStringLiteral(""), false},
        {711, QStringLiteral("经营分析"), QStringLiteral("货品进销存综合"), QStringLiteral("TfrmGoodJXCdetailTJ"),
            true},
    };
    return list;
}

const ActionInfo* find(int code)
{
    for (const ActionInfo& a : all())
        if (a.code == code)
            return &a;
    return nullptr;
}
} // namespace Actions
