#include "schema.h"

#include "connection.h"
#include "documents/entrygridseed.h"
#include "masterdata/mastergridseed.h"
#include "sqldialect.h"
#include "transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {
namespace {
using T = Type;

Column c(const char* name, Type type, int width = 0)
{
    return Column {QString::fromLatin1(name), type, width};
}

// The eleven user-defined fields shared by goods, document lines and tempBill.
QList<Column> userFields()
{
    QList<Column> out;
    for (int i = 1; i <= 5; ++i)
        out << Column {QStringLiteral("F_ZF%1").arg(i), T::Text, 255};
    for (int i = 1; i <= 3; ++i)
        out << Column {QStringLiteral("F_SZ%1").arg(i), T::Float, 0};
    for (int i = 1; i <= 3; ++i)
        out << Column {QStringLiteral("F_RQ%1").arg(i), T::DateTime, 0};
    return out;
}

QList<Table> buildTables()
{
    QList<Table> t;
    t << Table {QStringLiteral("t_goods"),
        QList<Column> {c("F_ID", T::Identity), c("F_Code", T::Text, 50), c("F_Name", T::Text, 255),
            c("F_Type", T::Text, 255), c("F_Spec", T::Text, 255), c("F_Unit", T::Text, 50), c("F_Barcode", T::Text, 50),
            c("F_EnterPrice", T::Float), c("F_SalePrice", T::Float), c("F_BegAmount", T::Float),
            c("F_DeptUp", T::Float), c("F_DeptDown", T::Float), c("F_Depot", T::Text, 100), c("F_Mem", T::Memo),
            c("F_Flag", T::Bit), c("F_address", T::Text, 255)}
            + userFields()};
    t << Table {QStringLiteral("t_client"),
        {c("F_ID", T::Identity), c("F_Code", T::Text, 50), c("F_Name", T::Text, 255), c("F_type", T::Text, 50),
            c("F_LinkMan", T::Text, 255), c("F_Phone", T::Text, 50), c("F_HandPhone", T::Text, 50),
            c("F_Fax", T::Text, 50), c("F_PostCode", T::Text, 50), c("F_Address", T::Text, 255),
            c("F_BegPrice", T::Float), c("F_Bank", T::Text, 50), c("F_Account", T::Text, 50),
            c("F_Ratecode", T::Text, 50), c("F_Homepage", T::Text, 50), c("F_Email", T::Text, 50),
            c("F_Enrol", T::Text, 50), c("F_Mem", T::Memo), c("F_UseFlag", T::Bit), c("F_operFlag", T::Int),
            c("F_empName", T::Text, 50)}};
    t << Table {QStringLiteral("t_employee"),
        {c("F_ID", T::Identity), c("F_Code", T::Text), c("F_Name", T::Text), c("F_Sex", T::Text), c("F_duty", T::Text),
            c("F_dept", T::Text), c("F_phone", T::Text), c("F_Mem", T::Memo), c("F_Flag", T::Bit),
            c("F_imagePath", T::Text), c("F_EmpImage", T::Blob), c("F_begDate", T::DateTime),
            c("F_birthday", T::DateTime)}};
    t << Table {QStringLiteral("t_code"), {c("F_ID", T::Identity), c("F_Name", T::Text), c("F_type", T::Text)}};
    t << Table {QStringLiteral("t_treecode"),
        {c("F_code", T::Text), c("F_name", T::Text), c("F_likecode", T::Text), c("F_flag", T::Text)}};
    t << Table {QStringLiteral("t_begDept"),
        {c("F_ID", T::Identity), c("F_Depot", T::Text, 50), c("F_GoodCode", T::Text, 50), c("F_Amount", T::Float),
            c("F_Price", T::Float), c("F_totalPrice", T::Float)}};
    // F_Name (contact address) is wider than the 10 characters a real address never fits in.
    t << Table {QStringLiteral("SysInfo"),
        {c("F_ID", T::Identity), c("F_Code", T::Text, 50), c("F_Name", T::Text, 255), c("F_Manager", T::Text, 50),
            c("F_Phone", T::Text, 50), c("F_HandPhone", T::Text, 50), c("F_Email", T::Text, 255),
            c("F_Homepage", T::Text, 255), c("F_Enroler", T::Text, 50), c("F_Mem", T::Text, 255),
            c("F_BakPath", T::Text, 255), c("F_iAmount", T::Int), c("F_iPrice", T::Int), c("F_iTotal", T::Int),
            c("F_b1", T::Bit), c("F_b2", T::Bit), c("F_b3", T::Bit), c("F_b4", T::Bit), c("F_iMode", T::Int)}};
    t << Table {QStringLiteral("OperList"),
        {c("F_ID", T::Identity), c("F_Code", T::Text), c("F_Name", T::Text), c("F_PassWord", T::Text),
            c("F_PartCode", T::Text), c("F_Mem", T::Text), c("F_Flag", T::Bit), c("F_new", T::Bit), c("F_edit", T::Bit),
            c("F_del", T::Bit), c("F_check", T::Bit), c("F_set", T::Bit), c("F_YGedit", T::Bit), c("F_HPedit", T::Bit),
            c("F_KHedit", T::Bit), c("F_price", T::Bit), c("F_ckFlag", T::Int), c("F_depot", T::Text)}};
    t << Table {QStringLiteral("PartList"),
        {c("F_ID", T::Identity), c("F_Code", T::Text), c("F_Name", T::Text), c("F_Mem", T::Text), c("F_Flag", T::Bit)}};
    t << Table {QStringLiteral("Limits"), {c("F_Code", T::Text), c("F_Name", T::Text), c("F_Flag", T::Bit)}};
    t << Table {
        QStringLiteral("PartLimit"), {c("F_ID", T::Identity), c("F_PartCode", T::Text), c("F_LmtCode", T::Text)}};
    t << Table {QStringLiteral("KeyValue"), {c("F_ID", T::Int), c("F_Value", T::Text), c("F_Flag", T::Bit)}};
    t << Table {QStringLiteral("cfg_grid"),
        {c("F_ID", T::Identity), c("F_name", T::Text), c("F_fieldname", T::Text), c("F_Order", T::Int),
            c("F_Caption", T::Text), c("F_Width", T::Int), c("F_Visible", T::Bit), c("F_ReadOnly", T::Bit),
            c("F_DisplayFormat", T::Text), c("F_FooterValue", T::Text), c("F_FooterType", T::Int),
            c("F_Alignment", T::Int)}};
    t << Table {QStringLiteral("cfg_import"),
        {c("F_ID", T::Identity), c("F_tablename", T::Text), c("F_iFlag", T::Int), c("S_Field", T::Text),
            c("F_FieldName", T::Text), c("F_Field", T::Text)}};
    t << Table {QStringLiteral("DepotM"),
        {c("F_ID", T::Identity), c("F_Code", T::Text, 255), c("F_Depot", T::Text, 255), c("F_Client", T::Text, 255),
            c("F_MakeDate", T::DateTime), c("F_Maker", T::Text, 50), c("F_Date", T::DateTime),
            c("F_Auditer", T::Text, 50), c("F_EmpName", T::Text, 50), c("F_TotalPrice", T::Money),
            c("F_CheckFlag", T::Bit), c("F_OldCode", T::Text, 50), c("F_Flag", T::Int), c("F_OperFlag", T::Int),
            c("F_OutDepot", T::Text, 255), c("F_Mem", T::Memo), c("F_amount", T::Float)}};
    t << Table {QStringLiteral("DepotD"),
        QList<Column> {c("F_ID", T::Identity), c("F_Code", T::Text, 255), c("F_GoodCode", T::Text, 50),
            c("F_GoodName", T::Text, 255), c("F_TMcode", T::Text, 50), c("F_Type", T::Text, 255),
            c("F_Spec", T::Text, 255), c("F_Unit", T::Text, 50), c("F_Amount", T::Float), c("F_Price", T::Money),
            c("F_Rate", T::Float), c("F_TotalPrice", T::Money), c("F_Mem", T::Memo), c("F_CBprice", T::Float),
            c("F_Address", T::Text, 255)}
            + userFields()
            + QList<Column> {
                c("F_flag", T::Int), c("F_curAmount", T::Float), c("F_SJamount", T::Float), c("F_JHcode", T::Text)}};
    t << Table {QStringLiteral("kelmora_schema"), {c("F_Version", T::Int)}};

    // Working tables: TEMPORARY, so builds on different workstations never meet.
    t << Table {QStringLiteral("tempDepot"),
        {c("F_depot", T::Text, 255), c("F_goodcode", T::Text, 50), c("F_goodname", T::Text, 255),
            c("F_type", T::Text, 255), c("F_spec", T::Text, 255), c("F_address", T::Text, 255),
            c("F_unit", T::Text, 50), c("F_begin", T::Float), c("F_begin1", T::Float), c("F_beginPrice", T::Money),
            c("F_enter", T::Float), c("F_enter1", T::Float), c("F_enterPrice", T::Money), c("F_out", T::Float),
            c("F_out1", T::Float), c("F_outPrice", T::Money), c("F_end", T::Float), c("F_end1", T::Float),
            c("F_endPrice", T::Money), c("F_flag", T::Int)},
        true};
    t << Table {QStringLiteral("tempBill"),
        QList<Column> {c("F_goodcode", T::Text, 50), c("F_code", T::Text, 255), c("F_makeDate", T::DateTime),
            c("F_type", T::Int), c("F_amount", T::Float), c("F_price", T::Float), c("F_totalPrice", T::Float),
            c("F_client", T::Text, 255), c("F_address", T::Text, 255), c("F_date", T::DateTime)}
            + userFields() + QList<Column> {c("F_flag", T::Int)},
        true};
    t << Table {QStringLiteral("tempSaleLiRun"),
        {c("F_goodcode", T::Text, 50), c("F_totalprice", T::Money), c("F_CBprice", T::Money), c("F_LRprice", T::Money),
            c("F_rate", T::Float), c("F_tempDate", T::DateTime), c("F_MakeDate", T::DateTime), c("F_Amount", T::Float),
            c("F_flag", T::Int)},
        true};
    t << Table {QStringLiteral("tempGood"),
        {c("F_code", T::Text, 50), c("F_dept", T::Text, 255), c("F_amount", T::Float), c("F_price", T::Float),
            c("F_totalPrice", T::Float), c("F_flag", T::Int)},
        true};
    t << Table {QStringLiteral("tempCode"), {c("F_code", T::Text, 50)}, true};
    return t;
}

QList<Index> buildIndexes()
{
    auto i = [](const char* name, const char* table, QStringList cols, bool unique = false) {
        return Index {QString::fromLatin1(name), QString::fromLatin1(table), cols, unique};
    };
    return {
        i("ux_DepotM_Code", "DepotM", {QStringLiteral("F_Code")}, true),
        i("ix_DepotM_Flag_Date", "DepotM", {QStringLiteral("F_Flag"), QStringLiteral("F_Date")}),
        i("ix_DepotD_Code", "DepotD", {QStringLiteral("F_Code")}),
        i("ix_DepotD_GoodCode", "DepotD", {QStringLiteral("F_GoodCode")}),
        i("ix_begDept_Good_Depot", "t_begDept", {QStringLiteral("F_GoodCode"), QStringLiteral("F_Depot")}),
        i("ix_goods_Code", "t_goods", {QStringLiteral("F_Code")}),
        i("ix_goods_BarCode", "t_goods", {QStringLiteral("F_BarCode")}),
        i("ix_client_Name", "t_client", {QStringLiteral("F_Name")}),
        i("ix_cfg_grid_name", "cfg_grid", {QStringLiteral("F_name")}),
    };
}
} // namespace

int currentVersion()
{
    return 3;
}

const QList<Table>& tables()
{
    static const QList<Table> t = buildTables();
    return t;
}

const QList<Index>& indexes()
{
    static const QList<Index> i = buildIndexes();
    return i;
}

const Table* table(const QString& name)
{
    for (const Table& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString columnType(const SqlDialect& d, Type type, int width)
{
    switch (type) {
    case Type::Identity:
        return QString();
    case Type::Int:
        return d.intType();
    case Type::Text:
        return d.textType(width);
    case Type::Memo:
        return d.memoType();
    case Type::Float:
        return d.floatType();
    case Type::Money:
        return d.moneyType();
    case Type::Bit:
        return d.bitType();
    case Type::DateTime:
        return d.dateTimeType();
    case Type::Blob:
        return d.blobType();
    }
    return QString();
}

static QString createTable(const SqlDialect& d, const Table& t, bool temporary)
{
    QStringList cols;
    for (const Column& col : t.columns) {
        if (col.type == Type::Identity)
            cols << d.identityColumn(col.name);
        else
            cols << col.name + QLatin1Char(' ') + columnType(d, col.type, col.width);
    }
    const QString head
        = temporary ? QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS ") : QStringLiteral("CREATE TABLE ");
    return head + t.name + QLatin1String(" (") + cols.join(QLatin1String(", ")) + QLatin1Char(')');
}

QStringList createStatements(const SqlDialect& d)
{
    QStringList out;
    for (const Table& t : tables())
        if (!t.temporary)
            out << createTable(d, t, false);
    for (const Index& i : indexes())
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), i.name, i.table,
                       i.columns.join(QLatin1String(", ")));
    out << QStringLiteral("INSERT INTO kelmora_schema (F_Version) VALUES (%1)").arg(currentVersion());
    return out;
}

QStringList workingTableStatements(const SqlDialect& d)
{
    QStringList out;
    for (const Table& t : tables())
        if (t.temporary)
            out << createTable(d, t, true);
    return out;
}

int storedVersion(Connection& connection)
{
    QSqlQuery q(connection.db());
    if (!q.exec(QStringLiteral("SELECT MAX(F_Version) FROM kelmora_schema")))
        return -1;
    return q.next() ? q.value(0).toInt() : 0;
}

bool migrate(Connection& connection, QString* error)
{
    const int v = storedVersion(connection);
    if (v < 0) {
        if (error)
            *error = QStringLiteral("the database has no Kelmora schema");
        return false;
    }
    if (v >= currentVersion())
        return true;
    Transaction tx(connection);
    // Steps from one version to the next are added here as the schema grows.
    if (v < 2 && !MasterGridSeed::seed(connection, error))
        return false;
    if (v < 3 && !EntryGridSeed::seed(connection, error))
        return false;
    if (!connection.exec(
            QStringLiteral("UPDATE kelmora_schema SET F_Version = :v"), {{QStringLiteral("v"), currentVersion()}})) {
        if (error)
            *error = connection.errorString();
        return false;
    }
    if (!tx.commit()) {
        if (error)
            *error = tx.errorString();
        return false;
    }
    return true;
}
} // namespace Schema
