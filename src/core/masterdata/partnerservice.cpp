#include "partnerservice.h"

#include "app/messenger.h"
#include "data/datamodule.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "likepattern.h"

#include <QSqlQuery>

namespace {
QString partnerRecordText(const QSqlRecord& r, const char* name)
{
    const int i = r.indexOf(QString::fromLatin1(name));
    return i < 0 ? QString() : r.value(i).toString();
}

QString partnerLeftClause(const PartnerLeftFilter& left, SqlParams& params)
{
    if (left.value.isEmpty())
        return QString();
    params.insert(QStringLiteral("leftValue"), left.value);
    return left.listKind == PartnerLeftFilter::Type ? QStringLiteral("and COALESCE(F_type,'')    = :leftValue ")
                                                    : QStringLiteral("and COALESCE(F_empName,'') = :leftValue ");
}
} // namespace

PartnerRecord PartnerRecord::fromRecord(const QSqlRecord& r)
{
    PartnerRecord p;
    p.id = r.value(r.indexOf(QStringLiteral("F_ID"))).toLongLong();
    p.code = partnerRecordText(r, "F_Code");
    p.name = partnerRecordText(r, "F_Name");
    p.type = partnerRecordText(r, "F_type");
    p.empName = partnerRecordText(r, "F_empName");
    p.linkMan = partnerRecordText(r, "F_LinkMan");
    p.address = partnerRecordText(r, "F_Address");
    p.postCode = partnerRecordText(r, "F_PostCode");
    p.handPhone = partnerRecordText(r, "F_HandPhone");
    p.phone = partnerRecordText(r, "F_Phone");
    p.fax = partnerRecordText(r, "F_Fax");
    p.begPrice = partnerRecordText(r, "F_BegPrice").toDouble();
    p.bank = partnerRecordText(r, "F_Bank");
    p.account = partnerRecordText(r, "F_Account");
    p.rateCode = partnerRecordText(r, "F_Ratecode");
    p.homepage = partnerRecordText(r, "F_Homepage");
    p.email = partnerRecordText(r, "F_Email");
    p.enrol = partnerRecordText(r, "F_Enrol");
    p.mem = partnerRecordText(r, "F_Mem");
    p.useFlag = partnerRecordText(r, "F_UseFlag").toInt() != 0;
    return p;
}

bool PartnerService::save(PartnerRecord& p, int kind, Field* badField)
{
    auto refuse = [&](const QString& text, Field f) {
        ShowMess(text, Messenger::Information);
        if (badField)
            *badField = f;
        return false;
    };
    if (badField)
        *badField = NoField;
    // A stored partner keeps its code: the edit window shows it read-only.
    const QString code = p.id > 0
        ? dm().GetSqlStr(QStringLiteral("select F_Code from t_client where F_ID = :id"), {{QStringLiteral("id"), p.id}})
              .trimmed()
        : p.code.trimmed();
    if (code.isEmpty())
        return refuse(QStringLiteral("当前客户编号不能为空！"), CodeField);
    QSqlQuery q(dm().db());
    if (!Sql::exec(q,
            QStringLiteral("Select F_ID From t_client Where F_Code = :code and COALESCE(F_operFlag,0) = :kind "),
            {{QStringLiteral("code"), code}, {QStringLiteral("kind"), kind}})) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return false;
    }
    while (q.next())
        if (q.value(0).toLongLong() != p.id)
            return refuse(kind == Client ? QStringLiteral("客户编号重复，请重新输入！")
                                         : QStringLiteral("供应商编号重复，请重新输入！"),
                CodeField);
    // Documents store the name: a partner without one could not be told apart.
    if (p.name.trimmed().isEmpty())
        return refuse(QStringLiteral("当前%1名称不能为空！").arg(kindName(kind)), NameField);
    const Schema::Table* table = Schema::table(QStringLiteral("t_client"));
    const QList<QPair<QString, QString>> texts = {
        {QStringLiteral("F_Code"), code},
        {QStringLiteral("F_Name"), p.name.trimmed()},
        {QStringLiteral("F_type"), p.type.trimmed()},
        {QStringLiteral("F_empName"), p.empName.trimmed()},
        {QStringLiteral("F_LinkMan"), p.linkMan},
        {QStringLiteral("F_Address"), p.address.trimmed()},
        {QStringLiteral("F_PostCode"), p.postCode.trimmed()},
        {QStringLiteral("F_HandPhone"), p.handPhone.trimmed()},
        {QStringLiteral("F_Phone"), p.phone.trimmed()},
        {QStringLiteral("F_Fax"), p.fax.trimmed()},
        {QStringLiteral("F_Bank"), p.bank.trimmed()},
        {QStringLiteral("F_Account"), p.account.trimmed()},
        {QStringLiteral("F_Ratecode"), p.rateCode.trimmed()},
        {QStringLiteral("F_Homepage"), p.homepage.trimmed()},
        {QStringLiteral("F_Email"), p.email.trimmed()},
        {QStringLiteral("F_Enrol"), p.enrol.trimmed()},
    };
    for (const auto& t : texts)
        for (const Schema::Column& col : table->columns)
            if (col.name == t.first && col.width > 0 && t.second.toUcs4().size() > col.width)
                return refuse(
                    QStringLiteral("输入的内容太长（最多%1个字符）：%2").arg(col.width).arg(t.second.left(20)),
                    t.first == QLatin1String("F_Code")       ? CodeField
                        : t.first == QLatin1String("F_Name") ? NameField
                                                             : OtherField);

    SqlParams v = {{QStringLiteral("Code"), code}, {QStringLiteral("Name"), p.name.trimmed()},
        {QStringLiteral("Type"), p.type.trimmed()}, {QStringLiteral("LinkMan"), p.linkMan},
        {QStringLiteral("Phone"), p.phone.trimmed()}, {QStringLiteral("Address"), p.address.trimmed()},
        {QStringLiteral("Postcode"), p.postCode.trimmed()}, {QStringLiteral("fax"), p.fax.trimmed()},
        {QStringLiteral("handPhone"), p.handPhone.trimmed()}, {QStringLiteral("BegPrice"), p.begPrice},
        {QStringLiteral("Mem"), p.mem}, {QStringLiteral("UseFlag"), p.useFlag ? 1 : 0},
        {QStringLiteral("bank"), p.bank.trimmed()}, {QStringLiteral("account"), p.account.trimmed()},
        {QStringLiteral("ratecode"), p.rateCode.trimmed()}, {QStringLiteral("homepage"), p.homepage.trimmed()},
        {QStringLiteral("Email"), p.email.trimmed()}, {QStringLiteral("Enrol"), p.enrol.trimmed()},
        {QStringLiteral("EmpName"), p.empName.trimmed()}, {QStringLiteral("kind"), kind}};
    Connection& c = dm().connection();
    Transaction tx(c);
    bool ok = tx.isActive();
    qint64 id = p.id;
    if (ok && p.id > 0) {
        v.insert(QStringLiteral("ID"), p.id);
        ok = c.exec(QStringLiteral("Update t_client Set F_Name = :Name,F_Type = :Type,F_LinkMan = :LinkMan, F_Phone = "
                                   ":Phone,F_Address = :Address,F_Postcode = :Postcode, F_fax = :fax,F_handPhone = "
                                   ":handPhone,F_BegPrice = :BegPrice, F_Mem = :Mem,F_useFlag = :UseFlag,F_bank = "
                                   ":bank,F_account = :account, F_ratecode = :ratecode,F_homepage = :homepage,F_Email "
                                   "= :Email, F_enrol = :Enrol,F_empName = :EmpName Where F_ID = :ID"),
            v);
    } else if (ok) {
        id = c.insertReturningId(
            QStringLiteral("Insert into t_client(F_Code,F_Name,F_Type,F_LinkMan,F_Phone, F_Address,F_Postcode,F_fax,"
                           "F_handPhone,F_BegPrice,F_Mem,F_useFlag, F_bank,F_account,F_ratecode,F_homepage,F_Email,"
                           "F_Enrol,F_empName,F_operFlag) Values(:Code,:Name,:Type,:LinkMan,:Phone,:Address,:Postcode,"
                           ":fax, :handPhone,:BegPrice,:Mem,:UseFlag,:bank,:account,:ratecode, :homepage,:Email,"
                           ":Enrol,:EmpName,:kind) "),
            v);
        ok = id > 0;
    }
    if (!ok || !tx.commit()) {
        ShowMess(QStringLiteral("保存失败，请检测数据库连接！"), Messenger::Error);
        return false;
    }
    p.id = id;
    p.code = code;
    return true;
}

bool PartnerService::remove(qint64 id)
{
    return dm().DelRecord(QStringLiteral("t_client"), id);
}

QString PartnerService::deleteQuestion(int kind, const QString& name)
{
    return QStringLiteral("真的要删除当前") + kindName(kind) + QStringLiteral("名称为：“") + name
        + QStringLiteral("”的资料吗？");
}

QStringList PartnerService::leftValues(int kind, int listKind)
{
    QStringList out;
    if (listKind == PartnerLeftFilter::Type)
        dm().FillList(QStringLiteral("select distinct F_name from t_code where (F_name <> '') and F_type = :kind "
                                     "order by F_name"),
            out, {{QStringLiteral("kind"), typeListKind(kind)}});
    else
        dm().FillList(QStringLiteral("select distinct f_name from t_employee where (COALESCE(F_flag,0) = 0) group by "
                                     "f_name order by f_name"),
            out);
    return out;
}

QString PartnerService::listSql(
    int kind, int item, const QString& text, bool includeDisabled, const PartnerLeftFilter& left, SqlParams& params)
{
    QString sql = QStringLiteral("select * from t_client where (COALESCE(F_operFlag,0) = :kind) ");
    params.insert(QStringLiteral("kind"), kind);
    static const char* const columns[] = {"f_code", "f_name", "f_linkman", "f_address", "F_mem"};
    if (item >= 0 && item < 5) {
        const QString v = text.trimmed();
        sql += QStringLiteral("and COALESCE(%1,'') like :v").arg(QString::fromLatin1(columns[item]))
            + LikePattern::escapeClause();
        params.insert(QStringLiteral("v"), item == 0 ? LikePattern::prefix(v) : LikePattern::contains(v));
    }
    if (!includeDisabled)
        sql += QStringLiteral("and (COALESCE(F_Useflag,0) = 0) ");
    sql += partnerLeftClause(left, params);
    sql += QStringLiteral("order by f_code");
    return sql;
}

QString PartnerService::pickerSql(int kind, const QString& code, const QString& name, const QString& phone,
    const PartnerLeftFilter& left, SqlParams& params)
{
    QString sql = QStringLiteral("select * from t_client where (COALESCE(f_useflag,0)= 0)and(COALESCE(F_operFlag,0) = "
                                 ":kind) ");
    params.insert(QStringLiteral("kind"), kind);
    const QPair<const char*, QString> boxes[] = {{"F_code", code}, {"F_name", name}, {"f_phone", phone}};
    int n = 0;
    for (const auto& b : boxes) {
        ++n;
        const QString v = b.second.trimmed();
        if (v.isEmpty())
            continue;
        const QString param = QStringLiteral("box%1").arg(n);
        sql += QStringLiteral("and COALESCE(%1,'') Like :%2").arg(QString::fromLatin1(b.first), param)
            + LikePattern::escapeClause();
        params.insert(param, LikePattern::contains(v));
    }
    sql += partnerLeftClause(left, params);
    sql += QStringLiteral("order by F_code,F_type ");
    return sql;
}
