#include "databasesetup.h"

#include "app/actions.h"
#include "app/clock.h"
#include "connection.h"
#include "dates.h"
#include "documents/entrygridseed.h"
#include "masterdata/mastergridseed.h"
#include "schema.h"
#include "transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
QString S(const char* s)
{
    return QString::fromUtf8(s);
}

bool run(Connection& c, const QString& sql, const SqlParams& p, QString* error)
{
    if (!c.exec(sql, p)) {
        if (error)
            *error = c.errorString();
        return false;
    }
    return true;
}
} // namespace

bool DatabaseSetup::populate(Connection& connection, bool demo, QString* error)
{
    Transaction tx(connection);
    if (!tx.isActive()) {
        if (error)
            *error = tx.errorString();
        return false;
    }
    for (const QString& sql : Schema::createStatements(connection.dialect()))
        if (!run(connection, sql, {}, error))
            return false;
    if (!seedFirstRows(connection, error))
        return false;
    if (!EntryGridSeed::seed(connection, error))
        return false;
    if (!MasterGridSeed::seed(connection, error))
        return false;
    if (demo && !seedDemo(connection, error))
        return false;
    if (!tx.commit()) {
        if (error)
            *error = tx.errorString();
        return false;
    }
    return true;
}

bool DatabaseSetup::seedFirstRows(Connection& c, QString* error)
{
    const QString backupDir = QDir::home().absoluteFilePath(QStringLiteral("kelmora-backup"));
    if (!run(c,
            QStringLiteral("insert into SysInfo (F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Email, F_Homepage, "
                           "F_Enroler, F_Mem, F_BakPath, F_iAmount, F_iPrice, F_iTotal, F_b1, F_b2, F_b3, F_b4, "
                           "F_iMode) values (:code, '', '', '', '', '', '', '', '', :bak, 2, 2, 2, 0, 0, 0, 0, 1)"),
            {{QStringLiteral("code"), S("我的公司")}, {QStringLiteral("bak"), backupDir}}, error))
        return false;
    if (!run(c, QStringLiteral("insert into PartList (F_Code, F_Name, F_Mem, F_Flag) values ('000', :name, :mem, 0)"),
            {{QStringLiteral("name"), S("系统管理员")}, {QStringLiteral("mem"), S("拥有全部权限")}}, error))
        return false;
    if (!run(c,
            QStringLiteral("insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Mem, F_Flag, F_new, "
                           "F_edit, F_del, F_check, F_set, F_YGedit, F_HPedit, F_KHedit, F_price, F_ckFlag, F_depot) "
                           "values ('000', :name, '', '000', :mem, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, '')"),
            {{QStringLiteral("name"), S("系统管理员")}, {QStringLiteral("mem"), S("系统内置管理员")}}, error))
        return false;
    const char* keyCaptions[11] = {"自定义文本1", "自定义文本2", "自定义文本3", "自定义文本4", "自定义文本5",
        "自定义数值1", "自定义数值2", "自定义数值3", "自定义日期1", "自定义日期2", "自定义日期3"};
    for (int i = 0; i < 11; ++i)
        if (!run(c, QStringLiteral("insert into KeyValue (F_ID, F_Value, F_Flag) values (:id, :v, 0)"),
                {{QStringLiteral("id"), i + 1}, {QStringLiteral("v"), S(keyCaptions[i])}}, error))
            return false;
    for (const ActionInfo& a : Actions::all()) {
        if (!run(c, QStringLiteral("insert into Limits (F_Code, F_Name, F_Flag) values (:code, :name, 1)"),
                {{QStringLiteral("code"), QString::number(a.code)}, {QStringLiteral("name"), a.caption}}, error))
            return false;
        if (!run(c, QStringLiteral("insert into PartLimit (F_PartCode, F_LmtCode) values ('000', :code)"),
                {{QStringLiteral("code"), QString::number(a.code)}}, error))
            return false;
    }
    struct Imp
    {
        const char* table;
        const char* field;
        const char* caption;
        const char* excel;
    };
    const Imp imports[] = {
        {"t_client", "F_Code", "编号", "编号"},
        {"t_client", "F_Name", "名称", "名称"},
        {"t_client", "F_type", "类型", "类型"},
        {"t_client", "F_LinkMan", "联系人", "联系人"},
        {"t_client", "F_Phone", "固定电话", "固定电话"},
        {"t_client", "F_HandPhone", "手机", "手机"},
        {"t_client", "F_Fax", "传真", "传真"},
        {"t_client", "F_PostCode", "邮编", "邮编"},
        {"t_client", "F_Address", "地址", "地址"},
        {"t_client", "F_BegPrice", "期初欠款", "期初欠款"},
        {"t_client", "F_Bank", "开户银行", "开户银行"},
        {"t_client", "F_Account", "银行帐号", "银行帐号"},
        {"t_client", "F_Ratecode", "纳税号", "纳税号"},
        {"t_client", "F_Email", "电子邮箱", "电子邮箱"},
        {"t_client", "F_Mem", "备注", "备注"},
        {"t_goods", "F_Code", "货品编码", "货品编码"},
        {"t_goods", "F_Name", "货品名称", "货品名称"},
        {"t_goods", "F_Type", "货品类型", "货品类型"},
        {"t_goods", "F_Spec", "商品规格", "商品规格"},
        {"t_goods", "F_Unit", "计量单位", "计量单位"},
        {"t_goods", "F_Barcode", "货品条码", "货品条码"},
        {"t_goods", "F_EnterPrice", "成本价", "成本价"},
        {"t_goods", "F_SalePrice", "参考售价", "参考售价"},
        {"t_goods", "F_BegAmount", "期初数量", "期初数量"},
        {"t_goods", "F_DeptUp", "库存上限", "库存上限"},
        {"t_goods", "F_DeptDown", "库存下限", "库存下限"},
        {"t_goods", "F_address", "产地", "产地"},
        {"t_goods", "F_Mem", "备注", "备注"},
        {"depotD", "F_GoodCode", "货品编码", "货品编码"},
        {"depotD", "F_GoodName", "货品名称", "货品名称"},
        {"depotD", "F_Spec", "商品规格", "商品规格"},
        {"depotD", "F_Unit", "计量单位", "计量单位"},
        {"depotD", "F_Amount", "数量", "数量"},
        {"depotD", "F_Price", "单价", "单价"},
        {"depotD", "F_SJamount", "实盘数量", "实盘数量"},
        {"depotD", "F_Mem", "备注", "备注"},
    };
    for (const Imp& i : imports)
        if (!run(c,
                QStringLiteral("insert into cfg_import (F_tablename, F_iFlag, S_Field, F_FieldName, F_Field) "
                               "values (:t, 1, :s, :cap, :x)"),
                {{QStringLiteral("t"), S(i.table)}, {QStringLiteral("s"), S(i.field)},
                    {QStringLiteral("cap"), S(i.caption)}, {QStringLiteral("x"), S(i.excel)}},
                error))
            return false;
    const char* codes[][2] = {{"总仓库", "depot"}, {"个", "goodunit"}, {"件", "goodunit"}, {"箱", "goodunit"},
        {"千克", "goodunit"}, {"套", "goodunit"}};
    for (const auto& code : codes)
        if (!run(c, QStringLiteral("insert into t_code (F_Name, F_type) values (:n, :t)"),
                {{QStringLiteral("n"), S(code[0])}, {QStringLiteral("t"), S(code[1])}}, error))
            return false;
    return true;
}

bool DatabaseSetup::seedDemo(Connection& c, QString* error)
{
    const char* codes[][2] = {
        {"门市仓", "depot"},
        {"原料仓", "depot"},
        {"台", "goodunit"},
        {"包", "goodunit"},
        {"瓶", "goodunit"},
        {"米", "goodunit"},
        {"销售部", "department"},
        {"采购部", "department"},
        {"生产车间", "department"},
        {"仓储部", "department"},
        {"经理", "empduty"},
        {"业务员", "empduty"},
        {"仓管员", "empduty"},
        {"批发客户", "clttype"},
        {"零售客户", "clttype"},
        {"原料供应商", "suptype"},
        {"成品供应商", "suptype"},
        {"※", "abSheet1"},
        {"Φ", "abSheet1"},
        {"×", "abSheet1"},
    };
    for (const auto& code : codes)
        if (!run(c, QStringLiteral("insert into t_code (F_Name, F_type) values (:n, :t)"),
                {{QStringLiteral("n"), S(code[0])}, {QStringLiteral("t"), S(code[1])}}, error))
            return false;

    struct Node
    {
        const char* code;
        const char* name;
        const char* path;
    };
    const Node tree[] = {
        {"001", "食品饮料", "\\\\食品饮料"},
        {"001001", "饮料", "\\\\食品饮料\\饮料"},
        {"001002", "休闲食品", "\\\\食品饮料\\休闲食品"},
        {"002", "五金工具", "\\\\五金工具"},
        {"002001", "手动工具", "\\\\五金工具\\手动工具"},
        {"002002", "紧固件", "\\\\五金工具\\紧固件"},
        {"003", "办公用品", "\\\\办公用品"},
        {"003001", "纸张本册", "\\\\办公用品\\纸张本册"},
        {"003002", "书写工具", "\\\\办公用品\\书写工具"},
        {"004", "电子电器", "\\\\电子电器"},
    };
    for (const Node& n : tree)
        if (!run(c,
                QStringLiteral("insert into t_treecode (F_code, F_name, F_likecode, F_flag) values (:c, :n, :p, "
                               "'goodtype')"),
                {{QStringLiteral("c"), S(n.code)}, {QStringLiteral("n"), S(n.name)}, {QStringLiteral("p"), S(n.path)}},
                error))
            return false;

    struct Good
    {
        const char* name;
        const char* type;
        const char* spec;
        const char* unit;
        double cost;
        double sale;
        const char* place;
        double stock1; // 总仓库
        double stock2; // 门市仓
    };
    const Good goods[] = {
        {"矿泉水", "\\\\食品饮料\\饮料", "550ml×24", "箱", 24, 32, "浙江杭州", 120, 30},
        {"绿茶饮料", "\\\\食品饮料\\饮料", "500ml×15", "箱", 36, 48, "福建厦门", 80, 20},
        {"橙汁", "\\\\食品饮料\\饮料", "1L×12", "箱", 66, 88, "广东广州", 40, 10},
        {"纯牛奶", "\\\\食品饮料\\饮料", "250ml×24", "箱", 52, 68, "内蒙古呼和浩特", 60, 15},
        {"咖啡饮料", "\\\\食品饮料\\饮料", "280ml×15", "箱", 58, 75, "上海", 30, 8},
        {"苏打饼干", "\\\\食品饮料\\休闲食品", "400g", "包", 8.5, 12.8, "广东东莞", 200, 50},
        {"原味薯片", "\\\\食品饮料\\休闲食品", "104g", "包", 5.2, 7.5, "上海", 150, 60},
        {"牛肉干", "\\\\食品饮料\\休闲食品", "250g", "包", 28, 39.9, "内蒙古锡林郭勒", 50, 20},
        {"坚果礼盒", "\\\\食品饮料\\休闲食品", "1.2kg", "盒", 85, 128, "安徽合肥", 25, 5},
        {"巧克力", "\\\\食品饮料\\休闲食品", "200g", "盒", 18, 26, "北京", 70, 25},
        {"活动扳手", "\\\\五金工具\\手动工具", "10寸", "把", 16, 25, "浙江永康", 60, 10},
        {"十字螺丝刀", "\\\\五金工具\\手动工具", "PH2×150mm", "把", 4.5, 8, "浙江永康", 100, 30},
        {"钢丝钳", "\\\\五金工具\\手动工具", "8寸", "把", 12, 19.5, "江苏常州", 45, 12},
        {"羊角锤", "\\\\五金工具\\手动工具", "0.5kg", "把", 15, 23, "河北保定", 30, 6},
        {"卷尺", "\\\\五金工具\\手动工具", "5m", "个", 6.8, 12, "浙江宁波", 80, 20},
        {"内六角螺栓", "\\\\五金工具\\紧固件", "M8×30", "包", 9.6, 15, "河北邯郸", 300, 0},
        {"膨胀螺丝", "\\\\五金工具\\紧固件", "M10×80", "包", 12, 18, "河北邯郸", 200, 0},
        {"平垫圈", "\\\\五金工具\\紧固件", "M8", "包", 3.5, 6, "浙江温州", 500, 0},
        {"自攻螺钉", "\\\\五金工具\\紧固件", "ST4.2×25", "包", 5.5, 9, "浙江温州", 400, 0},
        {"A4复印纸", "\\\\办公用品\\纸张本册", "70g 500张", "包", 19, 26, "山东日照", 150, 40},
        {"笔记本", "\\\\办公用品\\纸张本册", "B5 60页", "本", 2.8, 5, "浙江温州", 300, 100},
        {"便利贴", "\\\\办公用品\\纸张本册", "76×76mm", "本", 1.6, 3.5, "广东深圳", 400, 80},
        {"中性笔", "\\\\办公用品\\书写工具", "0.5mm 黑", "支", 0.9, 2, "上海", 1000, 300},
        {"签字笔", "\\\\办公用品\\书写工具", "0.7mm 蓝", "支", 1.5, 3, "上海", 600, 150},
        {"白板笔", "\\\\办公用品\\书写工具", "可擦 黑", "支", 2.2, 4, "浙江宁波", 200, 60},
        {"荧光笔", "\\\\办公用品\\书写工具", "6色套装", "套", 7.5, 12, "浙江宁波", 100, 30},
        {"LED台灯", "\\\\电子电器", "护眼 12W", "台", 65, 99, "广东中山", 40, 10},
        {"电热水壶", "\\\\电子电器", "1.7L", "台", 58, 89, "广东佛山", 30, 8},
        {"插线板", "\\\\电子电器", "6位 3米", "个", 26, 39, "浙江温州", 90, 25},
        {"无线鼠标", "\\\\电子电器", "2.4G", "个", 35, 59, "广东深圳", 60, 20},
    };
    int n = 0;
    for (const Good& g : goods) {
        ++n;
        const QString code = QStringLiteral("HP%1").arg(n, 4, 10, QLatin1Char('0'));
        const QString barcode = QStringLiteral("69%1").arg(1000000000LL + n * 7919LL, 11, 10, QLatin1Char('0'));
        const double beg = g.stock1 + g.stock2;
        if (!run(c,
                QStringLiteral("insert into t_goods (F_Code, F_Name, F_Type, F_Spec, F_Unit, F_Barcode, F_EnterPrice, "
                               "F_SalePrice, F_BegAmount, F_DeptUp, F_DeptDown, F_Depot, F_Mem, F_Flag, F_address, "
                               "F_RQ1, F_RQ2, F_RQ3) values (:code, :name, :type, :spec, :unit, :bar, :cost, :sale, "
                               ":beg, :up, :down, :depot, '', 0, :place, :empty, :empty, :empty)"),
                {{QStringLiteral("code"), code}, {QStringLiteral("name"), S(g.name)},
                    {QStringLiteral("type"), S(g.type)}, {QStringLiteral("spec"), S(g.spec)},
                    {QStringLiteral("unit"), S(g.unit)}, {QStringLiteral("bar"), barcode},
                    {QStringLiteral("cost"), g.cost}, {QStringLiteral("sale"), g.sale}, {QStringLiteral("beg"), beg},
                    {QStringLiteral("up"), beg * 3}, {QStringLiteral("down"), beg / 5},
                    {QStringLiteral("depot"), S("总仓库")}, {QStringLiteral("place"), S(g.place)},
                    {QStringLiteral("empty"), Dates::sqlDate(Dates::emptyDate())}},
                error))
            return false;
        const QPair<const char*, double> stocks[] = {{"总仓库", g.stock1}, {"门市仓", g.stock2}};
        for (const auto& s : stocks) {
            if (s.second <= 0)
                continue;
            if (!run(c,
                    QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount, F_Price, F_totalPrice) "
                                   "values (:d, :g, :a, :p, :t)"),
                    {{QStringLiteral("d"), S(s.first)}, {QStringLiteral("g"), code}, {QStringLiteral("a"), s.second},
                        {QStringLiteral("p"), g.cost}, {QStringLiteral("t"), s.second * g.cost}},
                    error))
                return false;
        }
    }
    const char* units[] = {"盒", "把", "本", "支"};
    for (const char* u : units)
        if (!run(c, QStringLiteral("insert into t_code (F_Name, F_type) values (:n, 'goodunit')"),
                {{QStringLiteral("n"), S(u)}}, error))
            return false;

    struct Partner
    {
        const char* code;
        const char* name;
        const char* type;
        const char* man;
        const char* phone;
        const char* address;
        int oper;
    };
    const Partner partners[] = {
        {"KH001", "华联超市", "批发客户", "王建国", "0571-88001234", "杭州市西湖区文三路88号", 1},
        {"KH002", "家乐福便利店", "零售客户", "李晓梅", "021-62345678", "上海市长宁区天山路120号", 1},
        {"KH003", "金鑫五金商行", "批发客户", "赵志强", "0579-87123456", "永康市五金城A区18号", 1},
        {"KH004", "晨光文具店", "零售客户", "陈静", "0574-87654321", "宁波市海曙区中山西路56号", 1},
        {"KH005", "恒达建材公司", "批发客户", "刘洋", "0311-86012345", "石家庄市裕华区槐安路200号", 1},
        {"GYS001", "杭州清泉饮品有限公司", "成品供应商", "周敏", "0571-86543210", "杭州市余杭区良渚工业园", 0},
        {"GYS002", "永康精工工具厂", "成品供应商", "吴刚", "0579-87345678", "永康市经济开发区", 0},
        {"GYS003", "温州东海标准件厂", "原料供应商", "郑海", "0577-88234567", "温州市瓯海区娄桥工业区", 0},
        {"GYS004", "日照晨鸣纸业", "原料供应商", "孙丽", "0633-8212345", "日照市东港区海滨五路", 0},
    };
    for (const Partner& p : partners)
        if (!run(c,
                QStringLiteral(
                    "insert into t_client (F_Code, F_Name, F_type, F_LinkMan, F_Phone, F_Address, "
                    "F_BegPrice, F_UseFlag, F_operFlag, F_Mem) values (:c, :n, :t, :m, :p, :a, 0, 0, :o, '')"),
                {{QStringLiteral("c"), S(p.code)}, {QStringLiteral("n"), S(p.name)}, {QStringLiteral("t"), S(p.type)},
                    {QStringLiteral("m"), S(p.man)}, {QStringLiteral("p"), S(p.phone)},
                    {QStringLiteral("a"), S(p.address)}, {QStringLiteral("o"), p.oper}},
                error))
            return false;

    struct Emp
    {
        const char* code;
        const char* name;
        const char* sex;
        const char* duty;
        const char* dept;
    };
    const Emp emps[] = {
        {"YG001", "张伟", "男", "经理", "销售部"},
        {"YG002", "王芳", "女", "业务员", "销售部"},
        {"YG003", "李强", "男", "业务员", "采购部"},
        {"YG004", "刘娜", "女", "仓管员", "仓储部"},
        {"YG005", "陈磊", "男", "仓管员", "生产车间"},
    };
    for (const Emp& e : emps)
        if (!run(c,
                QStringLiteral("insert into t_employee (F_Code, F_Name, F_Sex, F_duty, F_dept, F_phone, F_Mem, "
                               "F_Flag, F_begDate, F_birthday) values (:c, :n, :s, :d, :dp, '', '', 0, :b, :b)"),
                {{QStringLiteral("c"), S(e.code)}, {QStringLiteral("n"), S(e.name)}, {QStringLiteral("s"), S(e.sex)},
                    {QStringLiteral("d"), S(e.duty)}, {QStringLiteral("dp"), S(e.dept)},
                    {QStringLiteral("b"), Dates::sqlDate(Clock::today())}},
                error))
            return false;
    return run(c, QStringLiteral("update SysInfo set F_Code = :n, F_Name = :a, F_Manager = :m, F_Phone = :p"),
        {{QStringLiteral("n"), S("杭州示范商贸有限公司")}, {QStringLiteral("a"), S("杭州市滨江区江南大道1088号")},
            {QStringLiteral("m"), S("张伟")}, {QStringLiteral("p"), S("0571-88886666")}},
        error);
}

bool DatabaseSetup::create(const ConnectionSettings& settings, const Options& options)
{
    m_error.clear();
    m_summary.clear();
    if (settings.database.trimmed().isEmpty()) {
        m_error = QStringLiteral("no database name given");
        return false;
    }
    return settings.isPostgres() ? createPostgres(settings, options) : createSqlite(settings, options);
}

bool DatabaseSetup::createSqlite(const ConnectionSettings& settings, const Options& options)
{
    const QString path = settings.sqlitePath;
    const QFileInfo fi(path);
    if (fi.exists() && !options.force) {
        m_error = QStringLiteral("%1 already exists; use --force to replace it").arg(path);
        return false;
    }
    if (!QDir().mkpath(fi.absolutePath())) {
        m_error = QStringLiteral("cannot create the folder %1").arg(fi.absolutePath());
        return false;
    }
    // Built under a temporary name and moved into place, so a failure leaves nothing.
    const QString tmp = fi.absolutePath()
        + QStringLiteral("/.%1.%2.tmp").arg(fi.fileName(), QUuid::createUuid().toString(QUuid::Id128));
    auto removeTmp = [&tmp] {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-wal"));
        QFile::remove(tmp + QStringLiteral("-shm"));
        QFile::remove(tmp + QStringLiteral("-journal"));
    };
    {
        ConnectionSettings s = settings;
        s.sqlitePath = tmp;
        Connection c;
        if (!c.open(s, true)) {
            m_error = QStringLiteral("cannot create %1: %2").arg(path, c.errorString());
            removeTmp();
            return false;
        }
        c.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        QString err;
        if (!populate(c, options.demo, &err)) {
            m_error = QStringLiteral("cannot create the tables: %1").arg(err);
            c.close();
            removeTmp();
            return false;
        }
        c.close();
    }
    if (fi.exists()) {
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        if (!QFile::remove(path)) {
            m_error = QStringLiteral("cannot replace %1").arg(path);
            removeTmp();
            return false;
        }
    }
    if (!QFile::rename(tmp, path)) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        removeTmp();
        return false;
    }
    m_summary = QStringLiteral("created embedded database %1%2")
                    .arg(path, options.demo ? QStringLiteral(" with demo data") : QString());
    return true;
}

bool DatabaseSetup::createPostgres(const ConnectionSettings& settings, const Options& options)
{
    const QString name = settings.database.trimmed();
    // The name becomes an identifier: keep it to what needs no quoting.
    for (const QChar ch : name) {
        if (!(ch.isLetterOrNumber() || ch == QLatin1Char('_')) || ch.unicode() > 127) {
            m_error = QStringLiteral("database name %1: use letters, digits and _ only").arg(name);
            return false;
        }
    }
    ConnectionSettings admin = settings;
    admin.database = QStringLiteral("postgres");
    bool created = false;
    {
        Connection a;
        if (!a.open(admin)) {
            // The user may not reach the maintenance database but own the target one.
            Connection t;
            if (!t.open(settings)) {
                m_error = QStringLiteral("cannot connect to %1: %2").arg(settings.describe(), a.errorString());
                return false;
            }
        } else {
            QSqlQuery q(a.db());
            q.prepare(QStringLiteral("select 1 from pg_database where datname = :n"));
            q.bindValue(QStringLiteral(":n"), name.toLower());
            if (!q.exec()) {
                m_error = q.lastError().text();
                return false;
            }
            const bool exists = q.next();
            q.finish();
            if (exists && !options.force) {
                m_error = QStringLiteral("database %1 already exists; use --force to replace it").arg(name);
                return false;
            }
            if (exists && !a.exec(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name))) {
                m_error = QStringLiteral("cannot drop %1: %2").arg(name, a.errorString());
                return false;
            }
            if (!a.exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name))) {
                m_error = QStringLiteral("cannot create database %1: %2").arg(name, a.errorString());
                return false;
            }
            created = true;
        }
    }
    auto dropCreated = [&] {
        if (!created)
            return;
        Connection a;
        if (a.open(admin))
            a.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    };
    {
        Connection c;
        if (!c.open(settings)) {
            m_error = QStringLiteral("cannot connect to %1: %2").arg(settings.describe(), c.errorString());
            c.close();
            dropCreated();
            return false;
        }
        if (!created) {
            // An existing database we could not recreate: it must be empty of our tables.
            if (Schema::storedVersion(c) >= 0 && !options.force) {
                m_error = QStringLiteral("database %1 already holds Kelmora tables; use --force").arg(name);
                return false;
            }
            if (options.force) {
                for (const Schema::Table& t : Schema::tables())
                    if (!t.temporary)
                        c.exec(QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE").arg(t.name));
            }
        }
        QString err;
        if (!populate(c, options.demo, &err)) {
            m_error = QStringLiteral("cannot create the tables: %1").arg(err);
            c.close();
            dropCreated();
            return false;
        }
    }
    m_summary = QStringLiteral("created database %1 on %2:%3%4")
                    .arg(name, settings.host, QString::number(settings.port),
                        options.demo ? QStringLiteral(" with demo data") : QString());
    return true;
}
