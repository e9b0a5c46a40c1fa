#include "goodsservice.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "likepattern.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QVariant goodsRecordValue(const QSqlRecord& r, const QString& name)
{
    const int i = r.indexOf(name);
    return i < 0 ? QVariant() : r.value(i);
}

int goodsColumnWidth(const QString& table, const QString& column)
{
    if (const Schema::Table* t = Schema::table(table))
        for (const Schema::Column& c : t->columns)
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                return c.width;
    return 0;
}

bool goodsTooLong(const QString& text, const QString& table, const QString& column)
{
    const int w = goodsColumnWidth(table, column);
    return w > 0 && text.toUcs4().size() > w;
}
} // namespace

GoodsRecord GoodsRecord::fromRecord(const QSqlRecord& r)
{
    GoodsRecord g;
    auto s = [&](const char* n) { return goodsRecordValue(r, QString::fromLatin1(n)).toString(); };
    auto d = [&](const char* n) { return goodsRecordValue(r, QString::fromLatin1(n)).toDouble(); };
    g.id = goodsRecordValue(r, QStringLiteral("F_ID")).toLongLong();
    g.code = s("F_Code");
    g.name = s("F_Name");
    g.type = s("F_Type");
    g.spec = s("F_Spec");
    g.unit = s("F_Unit");
    g.barcode = s("F_Barcode");
    g.enterPrice = d("F_EnterPrice");
    g.salePrice = d("F_SalePrice");
    g.begAmount = d("F_BegAmount");
    g.deptUp = d("F_DeptUp");
    g.deptDown = d("F_DeptDown");
    g.depot = s("F_Depot");
    g.mem = s("F_Mem");
    g.flag = goodsRecordValue(r, QStringLiteral("F_Flag")).toInt() != 0;
    g.address = s("F_address");
    for (int i = 0; i < 5; ++i)
        g.zf[i] = goodsRecordValue(r, QStringLiteral("F_ZF%1").arg(i + 1)).toString();
    for (int i = 0; i < 3; ++i)
        g.sz[i] = goodsRecordValue(r, QStringLiteral("F_SZ%1").arg(i + 1)).toDouble();
    for (int i = 0; i < 3; ++i) {
        const QDate dt = Dates::toDate(goodsRecordValue(r, QStringLiteral("F_RQ%1").arg(i + 1)));
        g.rq[i] = Dates::isBlank(dt) ? QDate() : dt;
    }
    return g;
}

QString GoodsService::nextCodeAfter(const QString& code)
{
    if (code.size() <= 3)
        return QStringLiteral("0001");
    const QString tail = code.right(4);
    for (const QChar ch : tail)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return QString();
    const int n = (tail.toInt() + 1) % 10000;
    return code.left(code.size() - 4) + QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

QString GoodsService::proposeCode()
{
    const QString last = dm().GetSqlStr(QStringLiteral("select F_code from t_goods order by F_ID desc LIMIT 1"));
    QString code = nextCodeAfter(last.trimmed());
    // A last code that does not end in four digits cannot be counted on: start
    // a series of its own after it.
    if (code.isEmpty())
        code = last.trimmed() + QStringLiteral("0001");
    // Codes typed by hand may already hold the proposal; count on to a free one
    // (the codes of the same series are read once).
    QStringList taken;
    dm().FillList(QStringLiteral("select F_code from t_goods where F_code like :head") + LikePattern::escapeClause()
                      + QStringLiteral("and Length(F_code) = :len"),
                  taken,
                  {{QStringLiteral("head"), LikePattern::prefix(code.left(code.size() - 4))},
                   {QStringLiteral("len"), int(code.toUcs4().size())}});
    const QSet<QString> used(taken.cbegin(), taken.cend());
    for (int i = 0; i < 10000 && used.contains(code); ++i)
        code = nextCodeAfter(code);
    return code;
}

GoodsService::Field GoodsService::validate(const GoodsRecord& g, qint64 editingId)
{
    const QString code = g.code.trimmed();
    if (code.isEmpty()) {
        ShowMess(QStringLiteral("当前货品编号不能为空！"), Messenger::Information);
        return CodeField;
    }
    for (const QChar ch : code.right(4))
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
            ShowMess(QStringLiteral("采用自动编号，货品编号最后四位必须全为数字！"), Messenger::Information);
            return CodeField;
        }
    if (g.name.trimmed().isEmpty()) {
        ShowMess(QStringLiteral("当前货品名称不能为空！"), Messenger::Information);
        return NameField;
    }
    QSqlQuery q(dm().db());
    if (!Sql::exec(
            q, QStringLiteral("Select F_ID From t_Goods Where F_Code = :code"), {{QStringLiteral("code"), code}})) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return CodeField;
    }
    while (q.next()) {
        const qint64 id = q.value(0).toLongLong();
        if (id > 0 && id != editingId) {
            ShowMess(QStringLiteral("货品编号重复，请重新输入！"), Messenger::Information);
            return CodeField;
        }
    }
    // Column widths hold on PostgreSQL; refuse here rather than fail the save.
    struct Check
    {
        QString text;
        const char* column;
        const char* label;
        Field field;
    };
    const Check checks[] = {
        {code, "F_Code", "货品编码", CodeField},
        {g.name.trimmed(), "F_Name", "货品名称", NameField},
        {g.type.trimmed(), "F_Type", "货品类型", TypeField},
        {g.spec.trimmed(), "F_Spec", "商品规格", SpecField},
        {g.unit.trimmed(), "F_Unit", "计量单位", UnitField},
        {g.barcode.trimmed(), "F_Barcode", "货品条码", BarcodeField},
        {g.depot.trimmed(), "F_Depot", "默认仓库", DepotField},
        {g.address.trimmed(), "F_address", "产地", AddressField},
    };
    for (const Check& c : checks)
        if (goodsTooLong(c.text, QStringLiteral("t_goods"), QString::fromLatin1(c.column))) {
            ShowMess(QStringLiteral("%1太长，最多%2个字符！")
                         .arg(QString::fromUtf8(c.label))
                         .arg(goodsColumnWidth(QStringLiteral("t_goods"), QString::fromLatin1(c.column))),
                Messenger::Information);
            return c.field;
        }
    for (int i = 0; i < 5; ++i)
        if (goodsTooLong(g.zf[i], QStringLiteral("t_goods"), QStringLiteral("F_ZF%1").arg(i + 1))) {
            const QString caption = Session::current().zfCaptions[i];
            ShowMess(
                QStringLiteral("%1太长，最多255个字符！").arg(caption.isEmpty() ? QStringLiteral("字符项") : caption),
                Messenger::Information);
            return UserField;
        }
    return NoField;
}

bool GoodsService::openingLines(const QString& code, QList<OpeningStockLine>& lines)
{
    lines.clear();
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select * from t_begDept where F_goodcode = :code order by F_ID"),
            {{QStringLiteral("code"), code}}))
        return false;
    while (q.next()) {
        OpeningStockLine l;
        l.id = q.value(QStringLiteral("F_ID")).toLongLong();
        l.depot = q.value(QStringLiteral("F_Depot")).toString();
        l.amount = q.value(QStringLiteral("F_Amount")).toDouble();
        l.price = q.value(QStringLiteral("F_Price")).toDouble();
        lines << l;
    }
    QStringList missing;
    if (!dm().FillList(QStringLiteral("select f_name from t_code where F_type = ('depot') and (not (f_name in (select "
                                      "f_depot from t_begDept where f_goodcode = :code and f_depot is not null))) "
                                      "order by F_ID"),
            missing, {{QStringLiteral("code"), code}}))
        return false;
    for (const QString& depot : missing) {
        OpeningStockLine l;
        l.depot = depot;
        lines << l;
    }
    const Session& s = Session::current();
    if (s.restricted())
        lines.removeIf([&](const OpeningStockLine& l) { return !s.permittedDepots.contains(l.depot); });
    return true;
}

bool GoodsService::save(
    GoodsRecord& g, const QList<OpeningStockLine>& lines, const QString& previousCode, bool autoCode, Field* badField)
{
    const bool editMode = g.id > 0;
    Field f = validate(g, g.id);
    QStringList depots;
    if (f == NoField)
        for (const OpeningStockLine& l : lines) {
            if (l.amount == 0)
                continue;
            if (depots.contains(l.depot)) {
                ShowMess(QStringLiteral("仓库“%1”有两行期初库存，请合并为一行！").arg(l.depot), Messenger::Information);
                f = OpeningField;
                break;
            }
            if (l.depot.trimmed().isEmpty()
                || goodsTooLong(l.depot, QStringLiteral("t_begDept"), QStringLiteral("F_Depot"))) {
                ShowMess(QStringLiteral("期初库存的仓库名称无效：“%1”").arg(l.depot), Messenger::Information);
                f = OpeningField;
                break;
            }
            depots << l.depot;
        }
    if (badField)
        *badField = f;
    if (f != NoField)
        return false;

    const QString code = g.code.trimmed();
    Connection& c = dm().connection();
    Transaction tx(c);
    bool ok = tx.isActive();
    // Opening stock: zero lines go, the others carry the code; a unit cost of 0
    // takes the cost price.
    for (const OpeningStockLine& l : lines) {
        if (!ok)
            break;
        const double price = l.price == 0 ? g.enterPrice : l.price;
        const SqlParams p = {{QStringLiteral("depot"), l.depot}, {QStringLiteral("code"), code},
            {QStringLiteral("amount"), l.amount}, {QStringLiteral("price"), price},
            {QStringLiteral("total"), l.amount * price}, {QStringLiteral("id"), l.id}};
        if (l.amount == 0) {
            if (l.id > 0)
                ok = c.exec(QStringLiteral("delete from t_begDept where F_ID = :id"), p);
        } else if (l.id > 0) {
            ok = c.exec(QStringLiteral("update t_begDept set F_Depot = :depot, F_GoodCode = :code, F_Amount = :amount, "
                                       "F_Price = :price, F_totalPrice = :total where F_ID = :id"),
                p);
        } else {
            ok = c.exec(QStringLiteral("insert into t_begDept (F_Depot, F_GoodCode, F_Amount, F_Price, F_totalPrice) "
                                       "values (:depot, :code, :amount, :price, :total)"),
                p);
        }
    }
    const bool codeChanged = editMode && !previousCode.isEmpty() && previousCode != code;
    // Lines of depots the operator cannot see still carry the previous code.
    if (ok && codeChanged)
        ok = c.exec(QStringLiteral("update t_begDept set F_goodcode = :code where F_goodcode = :previous "),
            {{QStringLiteral("code"), code}, {QStringLiteral("previous"), previousCode}});
    double begAmount = 0;
    if (ok) {
        QSqlQuery q(c.db());
        ok = Sql::exec(q, QStringLiteral("select COALESCE(sum(F_Amount),0) from t_begDept where F_GoodCode = :code"),
                 {{QStringLiteral("code"), code}})
            && q.next();
        if (ok)
            begAmount = q.value(0).toDouble();
    }

    SqlParams p = {{QStringLiteral("code"), code}, {QStringLiteral("Name"), g.name.trimmed()},
        {QStringLiteral("Type"), g.type.trimmed()}, {QStringLiteral("Spec"), g.spec.trimmed()},
        {QStringLiteral("Unit"), g.unit.trimmed()}, {QStringLiteral("BarCode"), g.barcode.trimmed()},
        {QStringLiteral("begAmount"), begAmount}, {QStringLiteral("deptUp"), g.deptUp},
        {QStringLiteral("deptDown"), g.deptDown}, {QStringLiteral("EnterPrice"), g.enterPrice},
        {QStringLiteral("salePrice"), g.salePrice}, {QStringLiteral("Depot"), g.depot.trimmed()},
        {QStringLiteral("Mem"), g.mem}, {QStringLiteral("Flag"), g.flag ? 1 : 0},
        {QStringLiteral("Address"), g.address.trimmed()}};
    for (int i = 0; i < 5; ++i)
        p.insert(QStringLiteral("ZF%1").arg(i + 1), g.zf[i]);
    for (int i = 0; i < 3; ++i)
        p.insert(QStringLiteral("SZ%1").arg(i + 1), g.sz[i]);
    for (int i = 0; i < 3; ++i)
        p.insert(QStringLiteral("RQ%1").arg(i + 1), Dates::sqlDate(g.rq[i].isValid() ? g.rq[i] : Dates::emptyDate()));
    qint64 newId = g.id;
    if (ok && editMode) {
        p.insert(QStringLiteral("ID"), g.id);
        ok = c.exec(QStringLiteral("Update t_Goods Set F_code = :code,F_Name = :Name,F_Type = :Type,F_Spec = :Spec, "
                                   "F_Unit = :Unit,F_BarCode = :BarCode,F_begAmount = :begAmount,F_deptUp = :deptUp, "
                                   "F_deptDown = :deptDown,F_EnterPrice = :EnterPrice,F_salePrice = :salePrice, "
                                   "F_Depot = :Depot,F_Mem = :Mem,F_Flag = :Flag,F_Address = :Address, F_ZF1 = :ZF1,"
                                   "F_ZF2 = :ZF2,F_ZF3 = :ZF3,F_ZF4 = :ZF4,F_ZF5 = :ZF5, F_SZ1 = :SZ1,F_SZ2 = :SZ2,"
                                   "F_SZ3 = :SZ3,F_RQ1 = :RQ1,F_RQ2 = :RQ2, F_RQ3 = :RQ3 Where F_ID = :ID"),
            p);
    } else if (ok) {
        newId = c.insertReturningId(
            QStringLiteral("Insert into t_Goods(F_Code,F_Name,F_Type,F_Spec,F_Unit,F_BarCode,F_EnterPrice, "
                           "F_salePrice,F_Depot,F_begAmount,F_deptUp,F_deptDown,F_Mem,F_Flag,F_Address, "
                           "F_ZF1,F_ZF2,F_ZF3,F_ZF4,F_ZF5,F_SZ1,F_SZ2,F_SZ3,F_RQ1,F_RQ2,F_RQ3) "
                           "Values(:code,:Name,:Type,:Spec,:Unit,:BarCode,:EnterPrice,:salePrice, "
                           ":Depot,:begAmount,:deptUp,:deptDown,:Mem,:Flag,:Address, "
                           ":ZF1,:ZF2,:ZF3,:ZF4,:ZF5,:SZ1,:SZ2,:SZ3,:RQ1,:RQ2,:RQ3) "),
            p);
        ok = newId > 0;
        if (ok)
            ok = c.exec(QStringLiteral("update SysInfo set F_b2 = :b2 "), {{QStringLiteral("b2"), autoCode ? 1 : 0}});
    }
    if (ok && editMode) {
        // Renumber first, then copy the descriptive fields, so every line of the
        // good ends up with both the new code and the new descriptions.
        if (codeChanged)
            ok = c.exec(QStringLiteral("update depotD set F_goodcode = :code where F_goodcode = :previous "),
                {{QStringLiteral("code"), code}, {QStringLiteral("previous"), previousCode}});
        if (ok)
            ok = c.exec(QStringLiteral("update DepotD set F_goodName = :name,F_type = :type,F_spec = :spec,F_unit = "
                                       ":unit,F_Address = :address where F_goodcode = :code "),
                {{QStringLiteral("name"), g.name.trimmed()}, {QStringLiteral("type"), g.type.trimmed()},
                    {QStringLiteral("spec"), g.spec.trimmed()}, {QStringLiteral("unit"), g.unit.trimmed()},
                    {QStringLiteral("address"), g.address.trimmed()}, {QStringLiteral("code"), code}});
    }
    if (!ok || !tx.commit()) {
        ShowMess(saveFailText(), Messenger::Error);
        return false;
    }
    if (!editMode)
        SysOptions::current().autoGoodsCode = autoCode;
    g.id = newId;
    g.code = code;
    g.begAmount = begAmount;
    return true;
}

bool GoodsService::isUsed(const QString& code)
{
    QSqlQuery q(dm().db());
    if (!Sql::exec(q, QStringLiteral("select count(*) from DepotD where F_goodcode = :code"),
            {{QStringLiteral("code"), code}})) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return true; // unknown counts as used: never delete on a guess
    }
    return q.next() && q.value(0).toLongLong() > 0;
}

bool GoodsService::remove(qint64 id, const QString& code)
{
    if (isUsed(code)) {
        ShowMess(QStringLiteral("该货品资料已经被使用，不能被删除！"), Messenger::Warning);
        return false;
    }
    Connection& c = dm().connection();
    Transaction tx(c);
    const bool ok = tx.isActive()
        && c.exec(QStringLiteral("delete from t_Goods where F_ID = :id"), {{QStringLiteral("id"), id}})
        && c.exec(QStringLiteral("delete from t_begDept where F_goodcode = :code "), {{QStringLiteral("code"), code}});
    if (!ok || !tx.commit()) {
        ShowMess(DataModule::deleteFailText(), Messenger::Error);
        return false;
    }
    return true;
}

bool GoodsService::changeCategory(const QList<qint64>& ids, const QString& path)
{
    if (goodsTooLong(path, QStringLiteral("t_goods"), QStringLiteral("F_Type"))) {
        ShowMess(QStringLiteral("货品类型太长，最多255个字符！"), Messenger::Information);
        return false;
    }
    Connection& c = dm().connection();
    Transaction tx(c);
    bool ok = tx.isActive();
    for (qint64 id : ids) {
        if (!ok)
            break;
        ok = c.exec(QStringLiteral("update t_goods set F_type = :path where F_ID = :id"),
            {{QStringLiteral("path"), path}, {QStringLiteral("id"), id}});
    }
    if (!ok || !tx.commit()) {
        ShowMess(saveFailText(), Messenger::Error);
        return false;
    }
    return true;
}

QString GoodsService::categoryClause(
    const QString& column, const QString& path, SqlParams& params, const QString& paramPrefix)
{
    if (path.isEmpty() || path == QStringLiteral("\\\\"))
        return QString();
    // The category itself and what lies below it ("path\..."), not a sibling
    // whose name merely begins with the same text.
    params.insert(paramPrefix + QStringLiteral("Path"), path);
    params.insert(paramPrefix + QStringLiteral("Below"), LikePattern::prefix(path + QLatin1Char('\\')));
    return QStringLiteral("and (COALESCE(%1,'') = :%2Path or COALESCE(%1,'') like :%2Below").arg(column, paramPrefix)
        + LikePattern::escapeClause() + QStringLiteral(") ");
}

QString GoodsService::searchSql(const GoodsFilter& f, SqlParams& params)
{
    QString sql = QStringLiteral("select * from t_goods where (1=1) ");
    const QString v = f.text.trimmed();
    static const char* const columns[]
        = {"f_code", "f_name", "f_spec", "f_address", "f_mem", "F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5"};
    if (f.item >= 0 && f.item < 10) {
        // Code and place of origin match from the start, the others anywhere.
        const bool fromStart = f.item == 0 || f.item == 3;
        sql += QStringLiteral("and COALESCE(%1,'') like :v").arg(QString::fromLatin1(columns[f.item]))
            + LikePattern::escapeClause();
        params.insert(QStringLiteral("v"), fromStart ? LikePattern::prefix(v) : LikePattern::contains(v));
    }
    sql += categoryClause(QStringLiteral("F_type"), f.categoryPath, params);
    if (!f.includeDisabled)
        sql += QStringLiteral("and COALESCE(F_flag,0) = 0 ");
    sql += QStringLiteral("order by f_code");
    return sql;
}
