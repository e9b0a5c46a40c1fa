#include "entrylinefields.h"

#include "data/dates.h"

namespace {
enum class EntryLineField {
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

EntryLineField entryFieldOf(const QString& field, int* index)
{
    const QString f = field.trimmed().toLower();
    static const QHash<QString, EntryLineField> names {
        {QStringLiteral("f_code"), EntryLineField::Code},
        {QStringLiteral("f_goodcode"), EntryLineField::GoodCode},
        {QStringLiteral("f_goodname"), EntryLineField::GoodName},
        {QStringLiteral("f_tmcode"), EntryLineField::TMcode},
        {QStringLiteral("f_type"), EntryLineField::Type},
        {QStringLiteral("f_spec"), EntryLineField::Spec},
        {QStringLiteral("f_unit"), EntryLineField::Unit},
        {QStringLiteral("f_address"), EntryLineField::Address},
        {QStringLiteral("f_mem"), EntryLineField::Mem},
        {QStringLiteral("f_amount"), EntryLineField::Amount},
        {QStringLiteral("f_price"), EntryLineField::Price},
        {QStringLiteral("f_totalprice"), EntryLineField::TotalPrice},
        {QStringLiteral("f_cbprice"), EntryLineField::CBprice},
        {QStringLiteral("f_rate"), EntryLineField::Rate},
        {QStringLiteral("f_curamount"), EntryLineField::CurAmount},
        {QStringLiteral("f_sjamount"), EntryLineField::SJamount},
        {QStringLiteral("f_id"), EntryLineField::Id},
        {QStringLiteral("f_flag"), EntryLineField::Flag},
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
            return zf ? EntryLineField::ZF
                      : (f.startsWith(QLatin1String("f_sz")) ? EntryLineField::SZ : EntryLineField::RQ);
        }
    }
    return EntryLineField::Unknown;
}

QVariant entryOptionalValue(const std::optional<double>& v)
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

void entryAppendUserColumns(QList<EntryLineColumn>& cols, bool editable)
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
    case EntryLineField::Code:
        return l.code;
    case EntryLineField::GoodCode:
        return l.goodCode;
    case EntryLineField::GoodName:
        return l.goodName;
    case EntryLineField::TMcode:
        return l.tmCode;
    case EntryLineField::Type:
        return l.type;
    case EntryLineField::Spec:
        return l.spec;
    case EntryLineField::Unit:
        return l.unit;
    case EntryLineField::Address:
        return l.address;
    case EntryLineField::Mem:
        return l.mem;
    case EntryLineField::Amount:
        return l.amount;
    case EntryLineField::Price:
        return l.price;
    case EntryLineField::TotalPrice:
        return l.totalPrice;
    case EntryLineField::CBprice:
        return l.cbPrice;
    case EntryLineField::Rate:
        return entryOptionalValue(l.rate);
    case EntryLineField::CurAmount:
        return entryOptionalValue(l.curAmount);
    case EntryLineField::SJamount:
        return entryOptionalValue(l.sjAmount);
    case EntryLineField::ZF:
        return l.zf[i];
    case EntryLineField::SZ:
        return entryOptionalValue(l.sz[i]);
    case EntryLineField::RQ:
        return l.rq[i].isValid() ? QVariant(l.rq[i]) : QVariant();
    case EntryLineField::Id:
        return l.id;
    case EntryLineField::Flag:
        return l.flag;
    case EntryLineField::Unknown:
        break;
    }
    return {};
}

bool setValue(DocumentLine& l, const QString& field, const QVariant& v)
{
    int i = 0;
    const EntryLineField f = entryFieldOf(field, &i);
    double n = 0;
    bool empty = false;
    switch (f) {
    case EntryLineField::GoodCode:
        l.goodCode = v.toString();
        return true;
    case EntryLineField::GoodName:
        l.goodName = v.toString();
        return true;
    case EntryLineField::TMcode:
        l.tmCode = v.toString();
        return true;
    case EntryLineField::Type:
        l.type = v.toString();
        return true;
    case EntryLineField::Spec:
        l.spec = v.toString();
        return true;
    case EntryLineField::Unit:
        l.unit = v.toString();
        return true;
    case EntryLineField::Address:
        l.address = v.toString();
        return true;
    case EntryLineField::Mem:
        l.mem = v.toString();
        return true;
    case EntryLineField::ZF:
        l.zf[i] = v.toString();
        return true;
    case EntryLineField::Amount:
    case EntryLineField::Price:
    case EntryLineField::TotalPrice:
    case EntryLineField::CBprice:
    case EntryLineField::Rate:
    case EntryLineField::CurAmount:
    case EntryLineField::SJamount:
    case EntryLineField::SZ:
        if (!entryNumberOf(v, n, &empty))
            return false;
        switch (f) {
        case EntryLineField::Amount:
            l.amount = n;
            break;
        case EntryLineField::Price:
            l.price = n;
            break;
        case EntryLineField::TotalPrice:
            l.totalPrice = n;
            break;
        case EntryLineField::CBprice:
            l.cbPrice = n;
            break;
        case EntryLineField::Rate:
            l.rate = empty ? std::nullopt : std::optional<double>(n);
            break;
        case EntryLineField::CurAmount:
            l.curAmount = empty ? std::nullopt : std::optional<double>(n);
            break;
        case EntryLineField::SJamount:
            l.sjAmount = empty ? std::nullopt : std::optional<double>(n);
            break;
        case EntryLineField::SZ:
            l.sz[i] = empty ? std::nullopt : std::optional<double>(n);
            break;
        default:
            break;
        }
        return true;
    case EntryLineField::RQ: {
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
    case EntryLineField::Code:
    case EntryLineField::Id:
    case EntryLineField::Flag:
    case EntryLineField::Unknown:
        break;
    }
    return false;
}

bool isNumeric(const QString& field)
{
    int i = 0;
    switch (entryFieldOf(field, &i)) {
    case EntryLineField::Amount:
    case EntryLineField::Price:
    case EntryLineField::TotalPrice:
    case EntryLineField::CBprice:
    case EntryLineField::Rate:
    case EntryLineField::CurAmount:
    case EntryLineField::SJamount:
    case EntryLineField::SZ:
        return true;
    default:
        return false;
    }
}

bool isDate(const QString& field)
{
    int i = 0;
    return entryFieldOf(field, &i) == EntryLineField::RQ;
}

bool isGoodsDescriptive(const QString& field)
{
    int i = 0;
    switch (entryFieldOf(field, &i)) {
    case EntryLineField::GoodName:
    case EntryLineField::Type:
    case EntryLineField::Spec:
    case EntryLineField::Address:
    case EntryLineField::Unit:
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
        entryAppendUserColumns(c, true);
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
    entryAppendUserColumns(c, true);
    return c;
}

QList<GridColumnDef> gridColumns(const QList<EntryLineColumn>& columns)
{
    QList<GridColumnDef> out;
    for (const EntryLineColumn& e : columns) {
        GridColumnDef c;
        c.fieldName = e.field;
        c.caption = e.caption;
        c.width = e.width;
        c.visible = e.visible;
        c.readOnly = !e.editable;
        c.displayFormat = e.footerFormat;
        c.footerType = e.footerType;
        c.footerValue = e.footerValue;
        c.alignment = e.alignment == 0 ? int(GridColumnDef::AlignDefault) : e.alignment;
        out << c;
    }
    return out;
}

QList<GridColumnDef> layoutOver(const QList<GridColumnDef>& designed, const QList<GridColumnDef>& stored)
{
    QList<GridColumnDef> rest = designed;
    QList<GridColumnDef> out;
    for (const GridColumnDef& s : stored) {
        for (int i = 0; i < rest.size(); ++i) {
            const GridColumnDef& d = rest.at(i);
            if (d.fieldName.compare(s.fieldName.trimmed(), Qt::CaseInsensitive) != 0)
                continue;
            GridColumnDef c = s;
            c.fieldName = d.fieldName;
            if (c.caption.isEmpty())
                c.caption = d.caption;
            if (c.width <= 0)
                c.width = d.width;
            if (c.displayFormat.isEmpty())
                c.displayFormat = d.displayFormat;
            if (c.alignment == GridColumnDef::AlignDefault)
                c.alignment = d.alignment;
            out << c;
            rest.removeAt(i);
            break;
        }
    }
    return out + rest;
}

QList<EntryLineColumn> pickerColumns()
{
    QList<EntryLineColumn> c;
    c << entryCol("F_code", "货品编码", 80, false) << entryCol("F_name", "货品名称", 140, false)
      << entryCol("F_type", "类  型", 100, false) << entryCol("F_spec", "规  格", 80, false)
      << entryCol("F_address", "产地", 80, false) << entryCol("F_BarCode", "条码", 100, false)
      << entryCol("F_unit", "单位", 50, false) << entryCol("F_enterPrice", "参考成本", 70, false, 2)
      << entryCol("F_salePrice", "参考售价", 70, false, 2);
    entryAppendUserColumns(c, false);
    c << entryCol("F_mem", "备  注", 140, false);
    return c;
}
} // namespace EntryLineFields
