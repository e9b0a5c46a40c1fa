#include "mastergridseed.h"

#include "data/connection.h"

#include <QSqlQuery>

QStringList MasterGridSeed::keys()
{
    return {QStringLiteral("goodgl"), QStringLiteral("cltman"), QStringLiteral("supman")};
}

QList<GridColumnSeed> MasterGridSeed::columns(const QString& gridKey)
{
    auto col = [](const char* field, const char* caption, int width, int footerType = 0, const char* footer = "",
                   int align = 0) {
        return GridColumnSeed {QString::fromLatin1(field), QString::fromUtf8(caption), width, footerType,
            QString::fromUtf8(footer), align, true};
    };
    if (gridKey == QLatin1String("goodgl")) {
        QList<GridColumnSeed> c = {
            col("F_Code", "货品编码", 80, 1, "合  计"),
            col("F_Name", "货品名称", 140),
            col("F_Type", "货品类型", 140),
            col("F_Spec", "商品规格", 90),
            col("F_Unit", "计量单位", 60),
            col("F_Barcode", "货品条码", 100),
            col("F_EnterPrice", "成本价", 70, 0, "", 2),
            col("F_SalePrice", "参考售价", 70, 0, "", 2),
            col("F_BegAmount", "期初数量", 70, 2, "", 2),
            col("F_DeptUp", "库存上限", 70, 0, "", 2),
            col("F_DeptDown", "库存下限", 70, 0, "", 2),
            col("F_Depot", "默认仓库", 80),
            col("F_address", "产地", 90),
        };
        const char* zf[] = {"字符项一", "字符项二", "字符项三", "字符项四", "字符项五"};
        for (int i = 0; i < 5; ++i)
            c << GridColumnSeed {
                QStringLiteral("F_ZF%1").arg(i + 1), QString::fromUtf8(zf[i]), 80, 0, QString(), 0, false};
        const char* sz[] = {"数字项一", "数字项二", "数字项三"};
        for (int i = 0; i < 3; ++i)
            c << GridColumnSeed {
                QStringLiteral("F_SZ%1").arg(i + 1), QString::fromUtf8(sz[i]), 70, 0, QString(), 2, false};
        const char* rq[] = {"日期项一", "日期项二", "日期项三"};
        for (int i = 0; i < 3; ++i)
            c << GridColumnSeed {
                QStringLiteral("F_RQ%1").arg(i + 1), QString::fromUtf8(rq[i]), 80, 0, QString(), 0, false};
        c << col("F_Mem", "备注", 160);
        return c;
    }
    if (gridKey == QLatin1String("cltman") || gridKey == QLatin1String("supman")) {
        return {
            col("F_Code", "编号", 70, 1, "合  计"),
            col("F_Name", "名称", 150),
            col("F_empName", "业务员", 60),
            col("F_Address", "地址", 160),
            col("F_LinkMan", "联系人", 60),
            col("F_HandPhone", "手机", 90),
            col("F_Fax", "传真", 90),
            col("F_PostCode", "邮编", 60),
            col("F_Phone", "电话", 90),
            col("F_BegPrice", "期初欠款", 80, 2, "", 2),
            col("F_type", "类型", 70),
            col("F_Bank", "开户银行", 100),
            col("F_Account", "银行帐号", 110),
            col("F_Ratecode", "纳税号", 110),
            col("F_Homepage", "公司主页", 100),
            col("F_Email", "电子邮箱", 100),
            col("F_Enrol", "公司法人", 60),
            col("F_Mem", "备注", 160),
        };
    }
    return {};
}

bool MasterGridSeed::seed(Connection& c, QString* error)
{
    for (const QString& key : keys()) {
        QSqlQuery q(c.db());
        if (!Sql::exec(
                q, QStringLiteral("select count(*) from cfg_grid where F_name = :key"), {{QStringLiteral("key"), key}})
            || !q.next()) {
            if (error)
                *error = c.errorString();
            return false;
        }
        if (q.value(0).toLongLong() > 0)
            continue;
        int order = 0;
        for (const GridColumnSeed& col : columns(key)) {
            if (!c.exec(
                    QStringLiteral("insert into cfg_grid (F_name, F_fieldname, F_Order, F_Caption, F_Width, "
                                   "F_Visible, F_ReadOnly, F_DisplayFormat, F_FooterValue, F_FooterType, "
                                   "F_Alignment) values (:key, :field, :ord, :cap, :w, :vis, 1, '', :fv, :ft, :al)"),
                    {{QStringLiteral("key"), key}, {QStringLiteral("field"), col.field},
                        {QStringLiteral("ord"), order++}, {QStringLiteral("cap"), col.caption},
                        {QStringLiteral("w"), col.width}, {QStringLiteral("vis"), col.visible ? 1 : 0},
                        {QStringLiteral("fv"), col.footerValue}, {QStringLiteral("ft"), col.footerType},
                        {QStringLiteral("al"), col.alignment}})) {
                if (error)
                    *error = c.errorString();
                return false;
            }
        }
    }
    return true;
}
