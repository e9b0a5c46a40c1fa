#include "entrylinefields.h"

#include "data/dates.h"

namespace {
enum class LineField {
    Unknown,
    Code,
    GoodCode,
    GoodName,
    TMcode,
    Type,
    Spec,
    Unit,
    Address,
    Mem,
    Amount,
    Price,
    TotalPrice,
    CBprice,
    Rate,
    CurAmount,
    SJamount,
    ZF,
    SZ,
    RQ,
    Id,
    Flag,
};

LineField entryFieldOf(const QString& field, int* index)
{
    const QString f = field.trimmed().toLower();
    static const QHash<QString, LineField> names {
        {QStringLiteral("f_code"), LineField::Code},
        {QStringLiteral("f_goodcode"), LineField::GoodCode},
        {QStringLiteral("f_goodname"), LineField::GoodName},
        {QStringLiteral("f_tmcode"), LineField::TMcode},
        {QStringLiteral("f_type"), LineField::Type},
        {QStringLiteral("f_spec"), LineField::Spec},
        {QStringLiteral("f_unit"), LineField::Unit},
        {QStringLiteral("f_address"), LineField::Address},
        {QStringLiteral("f_mem"), LineField::Mem},
        {QStringLiteral("f_amount"), LineField::Amount},
        {QStringLiteral("f_price"), LineField::Price},
        {QStringLiteral("f_totalprice"), LineField::TotalPrice},
        {QStringLiteral("f_cbprice"), LineField::CBprice},
        {QStringLiteral("f_rate"), LineField::Rate},
        {QStringLiteral("f_curamount"), LineField::CurAmount},
        {QStringLiteral("f_sjamount"), LineField::SJamount},
        {QStringLiteral("f_id"), LineField::Id},
        {QStringLiteral("f_flag"), LineField::Flag},
    };
    const auto it = names.constFind(f);
    if (it != names.constEnd())
        return *it;
    if (f.size() == 5
        && (f.startsWith(QLatin1String("f_zf")) || f.startsWith(QLatin1String("f_sz"))
            || f.startsWith(QLatin1String("f_rq")))) {
        const int n = f.at(4).digitValue();
        const bool zf = f.startsWith(QLatin1String("f_zf"));
        if (n >= 1 && n <= (zf ? 5 : 3)) {
            *index = n - 1;
            return zf ? LineField::ZF : (f.startsWith(QLatin1String("f_sz")) ? LineField::SZ : LineField::RQ);
        }
    }
    return LineField::Unknown;
}

QVariant optionalValue(const std::optional<double>& v)
{
    return v ? QVariant(*v) : QVariant();
}

bool entryNumberOf(const QVariant& v, double& out, bool* empty)
{
    *empty = false;
    if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())) {
        *empty = true;
        out = 0;
        return true;
    }
    bool ok = false;
    out = v.typeId() == QMetaType::QString ? v.toString().trimmed().remove(QLatin1Char(',')).toDouble(&ok)
                                           : v.toDouble(&ok);
    return ok;
}

EntryLineColumn entryCol(const char* field, const char* caption, int width, bool editable = true, int align = 0)
{
    EntryLineColumn c;
    c.field = QString::fromLatin1(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.editable = editable;
    c.alignment = align;
    return c;
}

void appendUserColumns(QList<EntryLineColumn>& cols, bool editable)
{
    const char* zf[] = {"字符项一", "字符项二", "字符项三", "字符项四", "字符项五"};
    const char* sz[] = {"数字项一", "数字项二", "数字项三"};
    const char* rq[] = {"日期项一", "日期项二", "日期项三"};
    for (int i = 0; i < 5; ++i) {
        EntryLineColumn c = entryCol("", zf[i], 80, editable);
        c.field = QStringLiteral("F_ZF%1").arg(i + 1);
        c.visible = false;
        cols << c;
    }
    for (int i = 0; i < 3; ++i) {
        EntryLineColumn c = entryCol("", sz[i], 70, editable, 2);
        c.field = QStringLiteral("F_SZ%1").arg(i + 1);
        c.visible = false;
        cols << c;
    }
    for (int i = 0; i < 3; ++i) {
        EntryLineColumn c = entryCol("", rq[i], 80, editable);
        c.field = QStringLiteral("F_RQ%1").arg(i + 1);
        c.visible = false;
        cols << c;
    }
}
} // namespace

namespace EntryLineFields {
QVariant value(const DocumentLine& l, const QString& field)
{
    int i = 0;
    switch (entryFieldOf(field, &i)) {
    case LineField::Code:
        return l.code;
    case LineField::GoodCode:
        return l.goodCode;
    case LineField::GoodName:
        return l.goodName;
    case LineField::TMcode:
        return l.tmCode;
    case LineField::Type:
        return l.type;
    case LineField::Spec:
        return l.spec;
    case LineField::Unit:
        return l.unit;
    case LineField::Address:
        return l.address;
    case LineField::Mem:
        return l.mem;
    case LineField::Amount:
        return l.amount;
    case LineField::Price:
        return l.price;
    case LineField::TotalPrice:
        return l.totalPrice;
    case LineField::CBprice:
        return l.cbPrice;
    case LineField::Rate:
        return optionalValue(l.rate);
    case LineField::CurAmount:
        return optionalValue(l.curAmount);
    case LineField::SJamount:
        return optionalValue(l.sjAmount);
    case LineField::ZF:
        return l.zf[i];
    case LineField::SZ:
        return optionalValue(l.sz[i]);
    case LineField::RQ:
        return l.rq[i].isValid() ? QVariant(l.rq[i]) : QVariant();
    case LineField::Id:
        return l.id;
    case LineField::Flag:
        return l.flag;
    case LineField::Unknown:
        break;
    }
    return {};
}

bool setValue(DocumentLine& l, const QString& field, const QVariant& v)
{
    int i = 0;
    const LineField f = entryFieldOf(field, &i);
    double n = 0;
    bool empty = false;
    switch (f) {
    case LineField::GoodCode:
        l.goodCode = v.toString();
        return true;
    case LineField::GoodName:
        l.goodName = v.toString();
        return true;
    case LineField::TMcode:
        l.tmCode = v.toString();
        return true;
    case LineField::Type:
        l.type = v.toString();
        return true;
    case LineField::Spec:
        l.spec = v.toString();
        return true;
    case LineField::Unit:
        l.unit = v.toString();
        return true;
    case LineField::Address:
        l.address = v.toString();
        return true;
    case LineField::Mem:
        l.mem = v.toString();
        return true;
    case LineField::ZF:
        l.zf[i] = v.toString();
        return true;
    case LineField::Amount:
    case LineField::Price:
    case LineField::TotalPrice:
    case LineField::CBprice:
    case LineField::Rate:
    case LineField::CurAmount:
    case LineField::SJamount:
    case LineField::SZ:
        if (!entryNumberOf(v, n, &empty))
            return false;
        switch (f) {
        case LineField::Amount:
            l.amount = n;
            break;
        case LineField::Price:
            l.price = n;
            break;
        case LineField::TotalPrice:
            l.totalPrice = n;
            break;
        case LineField::CBprice:
            l.cbPrice = n;
            break;
        case LineField::Rate:
            l.rate = empty ? std::nullopt : std::optional<double>(n);
            break;
        case LineField::CurAmount:
            l.curAmount = empty ? std::nullopt : std::optional<double>(n);
            break;
        case LineField::SJamount:
            l.sjAmount = empty ? std::nullopt : std::optional<double>(n);
            break;
        case LineField::SZ:
            l.sz[i] = empty ? std::nullopt : std::optional<double>(n);
            break;
        default:
            break;
        }
        return true;
    case LineField::RQ: {
        if (v.isNull() || v.toString().trimmed().isEmpty()) {
            l.rq[i] = QDate();
            return true;
        }
        const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : Dates::parseDate(v.toString().trimmed());
        if (!d.isValid())
            return false;
        l.rq[i] = d;
        return true;
    }
    case LineField::Code:
    case LineField::Id:
    case LineField::Flag:
    case LineField::Unknown:
        break;
    }
    return false;
}

bool isNumeric(const QString& field)
{
    int i = 0;
    switch (entryFieldOf(field, &i)) {
    case LineField::Amount:
    case LineField::Price:
    case LineField::TotalPrice:
    case LineField::CBprice:
    case LineField::Rate:
    case LineField::CurAmount:
    case LineField::SJamount:
    case LineField::SZ:
        return true;
    default:
        return false;
    }
}

bool isDate(const QString& field)
{
    int i = 0;
    return entryFieldOf(field, &i) == LineField::RQ;
}

bool isGoodsDescriptive(const QString& field)
{
    int i = 0;
    switch (entryFieldOf(field, &i)) {
    case LineField::GoodName:
    case LineField::Type:
    case LineField::Spec:
    case LineField::Address:
    case LineField::Unit:
        return true;
    default:
        return false;
    }
}

QList<EntryLineColumn> defaultColumns(int kind)
{
    QList<EntryLineColumn> c;
    if (kind == 11) {
        EntryLineColumn code = entryCol("F_GoodCode", "货品编号", 80);
        code.footerType = 1;
        code.footerValue = QStringLiteral("合  计");
        c << code << entryCol("F_GoodName", "货品名称", 140, false) << entryCol("F_Type", "类型", 100, false)
          << entryCol("F_Spec", "规格", 80, false) << entryCol("F_Address", "产地", 80, false)
          << entryCol("F_TMcode", "条码", 100) << entryCol("F_Unit", "单位", 50, false);
        EntryLineColumn cur = entryCol("F_curAmount", "当前库存量", 80, true, 2);
        cur.footerType = 2;
        EntryLineColumn sj = entryCol("F_SJamount", "实际库存量", 80, true, 2);
        sj.footerType = 2;
        EntryLineColumn amount = entryCol("F_Amount", "数量", 70, true, 2);
        amount.displayFormat = QStringLiteral("0.####");
        amount.footerType = 2;
        amount.footerFormat = QStringLiteral(",0.##;-,0.##");
        EntryLineColumn price = entryCol("F_Price", "单价", 70, true, 2);
        price.footerFormat = QStringLiteral("￥,0.00##;-￥,0.00##");
        EntryLineColumn total = entryCol("F_TotalPrice", "金额", 80, true, 2);
        total.footerType = 2;
        total.footerFormat = QStringLiteral("￥,0.00;-￥,0.00");
        EntryLineColumn cost = entryCol("F_CBprice", "成本", 80, true, 2);
        cost.footerType = 2;
        c << cur << sj << amount << price << total << cost << entryCol("F_Mem", "备注", 140);
        appendUserColumns(c, true);
        return c;
    }
    EntryLineColumn code = entryCol("F_GoodCode", "编号", 80);
    code.footerType = 1;
    code.footerValue = QStringLiteral("合  计");
    EntryLineColumn amount = entryCol("F_Amount", "数量", 70, true, 2);
    amount.footerType = 2;
    EntryLineColumn total = entryCol("F_TotalPrice", "金额", 80, true, 2);
    total.footerType = 2;
    EntryLineColumn cost = entryCol("F_CBprice", "成本", 80, true, 2);
    cost.footerType = 2;
    c << code << entryCol("F_GoodName", "名称", 140, false) << entryCol("F_Type", "类型", 100, false)
      << entryCol("F_Spec", "规格", 80, false) << entryCol("F_Address", "产地", 80, false)
      << entryCol("F_Unit", "单位", 50, false) << entryCol("F_TMcode", "条码", 100) << amount
      << entryCol("F_Price", "单价", 70, true, 2) << total << cost << entryCol("F_Mem", "备注", 140);
    appendUserColumns(c, true);
    return c;
}

QList<EntryLineColumn> pickerColumns()
{
    QList<EntryLineColumn> c;
    c << entryCol("F_code", "货品编码", 80, false) << entryCol("F_name", "货品名称", 140, false)
      << entryCol("F_type", "类  型", 100, false) << entryCol("F_spec", "规  格", 80, false)
      << entryCol("F_address", "产地", 80, false) << entryCol("F_BarCode", "条码", 100, false)
      << entryCol("F_unit", "单位", 50, false) << entryCol("F_enterPrice", "参考成本", 70, false, 2)
      << entryCol("F_salePrice", "参考售价", 70, false, 2);
    appendUserColumns(c, false);
    c << entryCol("F_mem", "备  注", 140, false);
    return c;
}
} // namespace EntryLineFields
