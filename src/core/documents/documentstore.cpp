#include "documentstore.h"

#include "app/clock.h"
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/transaction.h"
#include "documentkinds.h"
#include "numbering.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
QVariant storeNullableDouble(const std::optional<double>& v)
{
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Double));
}

QVariant storeNullableDate(const QDate& d)
{
    return d.isValid() ? QVariant(Dates::sqlDate(d)) : QVariant(QMetaType(QMetaType::QString));
}

std::optional<double> storeOptionalDouble(const QVariant& v)
{
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

QVariant storeRecordValue(const QSqlRecord& r, const char* name)
{
    const int i = r.indexOf(QString::fromLatin1(name));
    return i < 0 ? QVariant() : r.value(i);
}

const QString& storeLineColumnsText()
{
    static const QString cols = QStringLiteral(
        "F_Code,F_GoodCode,F_GoodName,F_TMcode,F_Type,F_Spec,F_Unit,F_Amount,F_Price,F_Rate,F_TotalPrice,F_Mem,"
        "F_CBprice,F_Address,F_ZF1,F_ZF2,F_ZF3,F_ZF4,F_ZF5,F_SZ1,F_SZ2,F_SZ3,F_RQ1,F_RQ2,F_RQ3,F_curAmount,"
        "F_SJamount");
    return cols;
}

QStringList storeLineColumnList()
{
    return storeLineColumnsText().split(QLatin1Char(','));
}

void bindDocumentLine(QSqlQuery& q, const DocumentLine& l)
{
    q.bindValue(QStringLiteral(":F_Code"), l.code);
    q.bindValue(QStringLiteral(":F_GoodCode"), l.goodCode);
    q.bindValue(QStringLiteral(":F_GoodName"), l.goodName);
    q.bindValue(QStringLiteral(":F_TMcode"), l.tmCode);
    q.bindValue(QStringLiteral(":F_Type"), l.type);
    q.bindValue(QStringLiteral(":F_Spec"), l.spec);
    q.bindValue(QStringLiteral(":F_Unit"), l.unit);
    q.bindValue(QStringLiteral(":F_Amount"), l.amount);
    q.bindValue(QStringLiteral(":F_Price"), l.price);
    q.bindValue(QStringLiteral(":F_Rate"), storeNullableDouble(l.rate));
    q.bindValue(QStringLiteral(":F_TotalPrice"), l.totalPrice);
    q.bindValue(QStringLiteral(":F_Mem"), l.mem);
    q.bindValue(QStringLiteral(":F_CBprice"), l.cbPrice);
    q.bindValue(QStringLiteral(":F_Address"), l.address);
    for (int i = 0; i < 5; ++i)
        q.bindValue(QStringLiteral(":F_ZF%1").arg(i + 1), l.zf[i]);
    for (int i = 0; i < 3; ++i) {
        q.bindValue(QStringLiteral(":F_SZ%1").arg(i + 1), storeNullableDouble(l.sz[i]));
        q.bindValue(QStringLiteral(":F_RQ%1").arg(i + 1), storeNullableDate(l.rq[i]));
    }
    q.bindValue(QStringLiteral(":F_curAmount"), storeNullableDouble(l.curAmount));
    q.bindValue(QStringLiteral(":F_SJamount"), storeNullableDouble(l.sjAmount));
}

DocumentLine storeLineFromRecord(const QSqlRecord& r)
{
    DocumentLine l;
    l.id = storeRecordValue(r, "F_ID").toLongLong();
    l.code = storeRecordValue(r, "F_Code").toString();
    l.goodCode = storeRecordValue(r, "F_GoodCode").toString();
    l.goodName = storeRecordValue(r, "F_GoodName").toString();
    l.tmCode = storeRecordValue(r, "F_TMcode").toString();
    l.type = storeRecordValue(r, "F_Type").toString();
    l.spec = storeRecordValue(r, "F_Spec").toString();
    l.unit = storeRecordValue(r, "F_Unit").toString();
    l.address = storeRecordValue(r, "F_Address").toString();
    l.mem = storeRecordValue(r, "F_Mem").toString();
    l.amount = storeRecordValue(r, "F_Amount").toDouble();
    l.price = storeRecordValue(r, "F_Price").toDouble();
    l.totalPrice = storeRecordValue(r, "F_TotalPrice").toDouble();
    l.cbPrice = storeRecordValue(r, "F_CBprice").toDouble();
    l.rate = storeOptionalDouble(storeRecordValue(r, "F_Rate"));
    for (int i = 0; i < 5; ++i)
        l.zf[i] = r.value(r.indexOf(QStringLiteral("F_ZF%1").arg(i + 1))).toString();
    for (int i = 0; i < 3; ++i) {
        l.sz[i] = storeOptionalDouble(r.value(r.indexOf(QStringLiteral("F_SZ%1").arg(i + 1))));
        const QVariant d = r.value(r.indexOf(QStringLiteral("F_RQ%1").arg(i + 1)));
        l.rq[i] = d.isNull() ? QDate() : Dates::toDate(d);
    }
    l.flag = storeRecordValue(r, "F_flag").toInt();
    l.curAmount = storeOptionalDouble(storeRecordValue(r, "F_curAmount"));
    l.sjAmount = storeOptionalDouble(storeRecordValue(r, "F_SJamount"));
    return l;
}
} // namespace

DocumentStore::DocumentStore(DataModule* dataModule)
    : m_dm(dataModule)
{ }

DataModule& DocumentStore::d() const
{
    return m_dm ? *m_dm : dm();
}

bool DocumentStore::validateHeader(const Document& doc)
{
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    if (!k)
        return false;
    if (doc.depot.trimmed().isEmpty()) {
        ShowMess(k->depotEmptyText, Messenger::Information);
        return false;
    }
    if (!k->clientEmptyText.isEmpty() && doc.client.trimmed().isEmpty()) {
        ShowMess(k->clientEmptyText, Messenger::Information);
        return false;
    }
    if (doc.kind == 10 && doc.depot.trimmed() == doc.client.trimmed()) {
        ShowMess(QStringLiteral("调出仓库跟调入仓库相同，请检查！"), Messenger::Information);
        return false;
    }
    return true;
}

void DocumentStore::PrepareLines(Document& doc, const QString& code)
{
    QList<DocumentLine> kept;
    kept.reserve(doc.lines.size());
    for (DocumentLine& l : doc.lines) {
        l.code = code;
        if (!l.isEmpty())
            kept.append(l);
    }
    doc.lines = kept;
}

bool DocumentStore::codeTaken(const QString& code, bool* ok)
{
    QSqlQuery q(d().db());
    q.setForwardOnly(true);
    *ok = Sql::exec(
        q, QStringLiteral("Select F_ID From DepotM Where F_Code = :code "), {{QStringLiteral("code"), code}});
    if (!*ok) {
        m_error = q.lastError().text();
        return false;
    }
    return q.next() && q.value(0).toLongLong() > 0;
}

DocumentStore::Result DocumentStore::save(Document& doc, const SaveOptions& options)
{
    m_error.clear();
    m_shortfall = {};
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    if (!k) {
        m_error = QStringLiteral("unknown document kind %1").arg(doc.kind);
        return Invalid;
    }
    if (options.validateHeader && !validateHeader(doc))
        return Invalid;
    const SysOptions& opt = SysOptions::current();
    const bool negative = options.negativeStock.value_or(opt.negativeStock);
    const int decimals = options.quantityDecimals.value_or(opt.iAmount);
    const bool editing = !doc.isNew();
    doc.code = doc.code.trimmed();
    if (doc.kind == 11)
        doc.client.clear();

    // 0 the code is free (or was replaced), 1 database error, 2 numbering error (already shown).
    auto freshCodeIfTaken = [&](Document& target) -> int {
        if (editing)
            return 0;
        bool ok = true;
        if (!target.code.isEmpty() && !codeTaken(target.code, &ok))
            return ok ? 0 : 1;
        if (!ok)
            return 1;
        QString err;
        const QString fresh = Numbering::nextCodeFor(*k, &err);
        if (fresh.isEmpty()) {
            m_error = err;
            return 2;
        }
        target.code = fresh;
        return 0;
    };

    // The questions come before the lock: nobody waits while an operator thinks.
    if (k->issues() && negative) {
        if (const int r = freshCodeIfTaken(doc)) {
            if (r == 1)
                ShowMess(saveFailText(), Messenger::Error);
            return Failed;
        }
        QString err;
        const auto outcome
            = AvailabilityCheck::run(doc, doc.code, AvailabilityCheck::Ask, decimals, &m_shortfall, &err);
        if (outcome == AvailabilityCheck::Failed) {
            m_error = err;
            ShowMess(err, Messenger::Error);
            return Failed;
        }
        if (outcome == AvailabilityCheck::Declined)
            return Declined;
    }

    Document work = doc;
    {
        Transaction tx(d().connection(), Transaction::Serialized);
        if (!tx.isActive()) {
            m_error = tx.errorString();
            ShowMess(saveFailText(), Messenger::Error);
            return Failed;
        }
        if (editing) {
            QSqlQuery q(d().db());
            q.setForwardOnly(true);
            if (!Sql::exec(q, QStringLiteral("select F_CheckFlag, F_Code from DepotM where F_ID = :id"),
                    {{QStringLiteral("id"), work.id}})) {
                m_error = q.lastError().text();
                ShowMess(saveFailText(), Messenger::Error);
                return Failed;
            }
            if (!q.next()) {
                m_error = QStringLiteral("document %1 no longer exists").arg(work.code);
                ShowMess(saveFailText(), Messenger::Error);
                return NotFound;
            }
            if (q.value(0).toInt() == 1) {
                ShowMess(auditedText(), Messenger::Warning);
                return Audited;
            }
            work.code = q.value(1).toString();
        } else {
            // Under the lock no other save can take the code between this test and the insert.
            if (const int r = freshCodeIfTaken(work)) {
                tx.rollback();
                if (r == 1)
                    ShowMess(saveFailText(), Messenger::Error);
                return Failed;
            }
        }
        if (k->issues() && !negative) {
            QString err;
            const auto outcome
                = AvailabilityCheck::run(work, work.code, AvailabilityCheck::Silent, decimals, &m_shortfall, &err);
            if (outcome == AvailabilityCheck::Failed) {
                m_error = err;
                tx.rollback();
                ShowMess(err, Messenger::Error);
                return Failed;
            }
            if (outcome == AvailabilityCheck::Refused) {
                tx.rollback(); // the message waits for the operator: not under the lock
                ShowMess(AvailabilityCheck::refusalText(m_shortfall, decimals), Messenger::Error);
                return Refused;
            }
        }
        PrepareLines(work, work.code);
        if (!writeLines(work, editing) || !writeHeader(work, editing) || !writeProduct(work, editing)) {
            tx.rollback();
            ShowMess(saveFailText(), Messenger::Error);
            return Failed;
        }
        if (!tx.commit()) {
            m_error = tx.errorString();
            ShowMess(saveFailText(), Messenger::Error);
            return Failed;
        }
    }
    doc = work;
    return Done;
}

bool DocumentStore::writeLines(Document& doc, bool editing)
{
    Connection& c = d().connection();
    if (editing) {
        QSet<qint64> keep;
        for (const DocumentLine& l : doc.lines)
            if (l.id > 0)
                keep.insert(l.id);
        QSqlQuery q(c.db());
        q.setForwardOnly(true);
        if (!Sql::exec(q, QStringLiteral("select F_ID from DepotD where F_Code = :code and COALESCE(F_flag,0) <> 1"),
                {{QStringLiteral("code"), doc.code}})) {
            m_error = q.lastError().text();
            return false;
        }
        QList<qint64> gone;
        while (q.next())
            if (!keep.contains(q.value(0).toLongLong()))
                gone.append(q.value(0).toLongLong());
        q.finish();
        for (qint64 id : gone)
            if (!c.exec(QStringLiteral("delete from DepotD where F_ID = :id"), {{QStringLiteral("id"), id}})) {
                m_error = c.errorString();
                return false;
            }
    }
    const QStringList cols = storeLineColumnList();
    QStringList holders, sets;
    for (const QString& col : cols) {
        holders << QLatin1Char(':') + col;
        sets << col + QStringLiteral(" = :") + col;
    }
    QSqlQuery ins(c.db());
    QSqlQuery upd(c.db());
    bool insPrepared = false, updPrepared = false;
    for (DocumentLine& l : doc.lines) {
        l.code = doc.code;
        if (l.id > 0) {
            if (!updPrepared) {
                if (!upd.prepare(QStringLiteral("update DepotD set ") + sets.join(QLatin1Char(','))
                        + QStringLiteral(" where F_ID = :F_ID"))) {
                    m_error = upd.lastError().text();
                    return false;
                }
                updPrepared = true;
            }
            bindDocumentLine(upd, l);
            upd.bindValue(QStringLiteral(":F_ID"), l.id);
            if (!upd.exec()) {
                m_error = upd.lastError().text();
                return false;
            }
            continue;
        }
        if (!insPrepared) {
            QString sql = QStringLiteral("insert into DepotD(") + storeLineColumnsText() + QStringLiteral(") values(")
                + holders.join(QLatin1Char(',')) + QLatin1Char(')');
            if (c.isPostgres())
                sql += QStringLiteral(" RETURNING F_ID");
            if (!ins.prepare(sql)) {
                m_error = ins.lastError().text();
                return false;
            }
            insPrepared = true;
        }
        bindDocumentLine(ins, l);
        if (!ins.exec()) {
            m_error = ins.lastError().text();
            return false;
        }
        if (c.isPostgres()) {
            if (!ins.next()) {
                m_error = ins.lastError().text();
                return false;
            }
            l.id = ins.value(0).toLongLong();
            ins.finish();
        } else {
            l.id = ins.lastInsertId().toLongLong();
        }
    }
    return true;
}

bool DocumentStore::writeHeader(Document& doc, bool editing)
{
    Connection& c = d().connection();
    const DocumentKind* k = DocumentKinds::find(doc.kind);
    double amount = 0, total = 0;
    for (const DocumentLine& l : doc.lines) {
        amount += l.amount;
        total += l.totalPrice;
    }
    doc.amount = amount;
    doc.totalPrice = total;
    if (!doc.makeDate.isValid())
        doc.makeDate = Clock::today();
    if (!doc.date.isValid())
        doc.date = Clock::today();
    SqlParams p {{QStringLiteral("MakeDate"), Dates::sqlDate(doc.makeDate)}, {QStringLiteral("Maker"), doc.maker},
        {QStringLiteral("Auditer"), doc.auditer}, {QStringLiteral("Depot"), doc.depot.trimmed()},
        {QStringLiteral("TotalPrice"), total}, {QStringLiteral("Mem"), doc.mem},
        {QStringLiteral("Client"), doc.client.trimmed()}, {QStringLiteral("date"), Dates::sqlDate(doc.date)}};
    const bool assembly = doc.isAssemblyKind();
    if (!assembly) {
        p.insert(QStringLiteral("EmpName"), doc.empName);
        p.insert(QStringLiteral("OldCode"), doc.oldCode.trimmed());
        p.insert(QStringLiteral("Amount"), amount);
    }
    if (editing) {
        p.insert(QStringLiteral("ID"), doc.id);
        const QString sql = assembly
            ? QStringLiteral("Update DepotM Set F_MakeDate = :MakeDate,F_Maker = :Maker, F_Auditer = :Auditer,"
                             "F_Depot = :Depot,F_TotalPrice = :TotalPrice, F_Mem = :Mem,F_Client=:Client,"
                             "F_date = :date Where F_ID = :ID")
            : QStringLiteral(
                "Update DepotM Set F_MakeDate = :MakeDate,F_Maker = :Maker, F_Auditer = :Auditer,"
                "F_Depot = :Depot,F_TotalPrice = :TotalPrice, F_EmpName = :EmpName,F_Mem = :Mem,"
                "F_Client=:Client,F_OldCode=:OldCode, F_date = :date, F_amount = :Amount Where F_ID = :ID");
        if (!c.exec(sql, p)) {
            m_error = c.errorString();
            return false;
        }
        return true;
    }
    p.insert(QStringLiteral("Code"), doc.code);
    p.insert(QStringLiteral("Flag"), doc.kind);
    p.insert(QStringLiteral("OperFlag"), k ? k->operFlag : 1);
    const QString sql = assembly
        ? QStringLiteral("Insert into DepotM(F_Code,F_MakeDate,F_Maker,F_Auditer,F_Depot, F_TotalPrice,F_Mem,F_Flag,"
                         "F_Client,F_OperFlag,F_date) Values(:Code,:MakeDate,:Maker,:Auditer,:Depot,:TotalPrice,:Mem,"
                         ":Flag,:Client,:OperFlag,:date)")
        : QStringLiteral("Insert into DepotM(F_Code,F_MakeDate,F_Maker,F_Auditer,F_Depot,F_totalPrice, F_EmpName,F_Mem,"
                         "F_Flag,F_Client,F_OldCode,F_OperFlag,F_date,F_amount) Values(:Code,:MakeDate,:Maker,:Auditer,"
                         ":Depot,:TotalPrice, :EmpName,:Mem,:Flag,:Client,:OldCode,:OperFlag,:date,:Amount)");
    const qint64 id = c.insertReturningId(sql, p);
    if (id < 0) {
        m_error = c.errorString();
        return false;
    }
    doc.id = id;
    return true;
}

bool DocumentStore::writeProduct(Document& doc, bool editing)
{
    if (!doc.isAssemblyKind())
        return true;
    Connection& c = d().connection();
    DocumentLine p = doc.product.value_or(DocumentLine());
    p.flag = 1;
    p.code = doc.code;
    const SqlParams params {{QStringLiteral("Code"), doc.code}, {QStringLiteral("goodCode"), p.goodCode.trimmed()},
        {QStringLiteral("goodName"), p.goodName.trimmed()}, {QStringLiteral("type"), p.type.trimmed()},
        {QStringLiteral("spec"), p.spec.trimmed()}, {QStringLiteral("unit"), p.unit.trimmed()},
        {QStringLiteral("address"), p.address}, {QStringLiteral("price"), p.price},
        {QStringLiteral("amount"), p.amount}, {QStringLiteral("totalprice"), p.totalPrice},
        {QStringLiteral("CBprice"), p.cbPrice}};
    if (editing) {
        QSqlQuery q(c.db());
        if (!Sql::exec(q,
                QStringLiteral("Update DepotD Set F_goodcode = :goodCode,F_goodName = :goodName, F_type = :type,"
                               "F_spec = :spec,F_unit = :unit,F_address = :address, F_price = :price,"
                               "F_amount = :amount,F_totalprice = :totalprice, F_CBprice = :CBprice Where "
                               "((F_code = :Code)and(F_flag = 1))"),
                params)) {
            m_error = q.lastError().text();
            return false;
        }
        if (q.numRowsAffected() > 0) {
            doc.product = p;
            return true;
        }
    }
    const qint64 id
        = c.insertReturningId(QStringLiteral("Insert into DepotD(F_Code,F_goodcode,F_goodName,F_type,F_spec, F_unit,"
                                             "F_address,F_price,F_amount,F_totalprice,F_CBprice,F_flag) Values(:Code,"
                                             ":goodCode,:goodName,:type,:spec,:unit,:address,:price, :amount,"
                                             ":totalprice,:CBprice,1)"),
            params);
    if (id < 0) {
        m_error = c.errorString();
        return false;
    }
    p.id = id;
    doc.product = p;
    return true;
}

DocumentStore::Result DocumentStore::remove(const QString& code0)
{
    m_error.clear();
    const QString code = code0.trimmed();
    Transaction tx(d().connection());
    if (!tx.isActive()) {
        m_error = tx.errorString();
        ShowMess(saveFailText(), Messenger::Error);
        return Failed;
    }
    QSqlQuery q(d().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, QStringLiteral("select F_CheckFlag from DepotM where F_Code = :code"),
            {{QStringLiteral("code"), code}})) {
        m_error = q.lastError().text();
        ShowMess(saveFailText(), Messenger::Error);
        return Failed;
    }
    if (!q.next())
        return NotFound;
    if (q.value(0).toInt() == 1) {
        ShowMess(auditedText(), Messenger::Warning);
        return Audited;
    }
    q.finish();
    Connection& c = d().connection();
    const SqlParams p {{QStringLiteral("code"), code}};
    if (!c.exec(QStringLiteral("Delete From DepotM Where F_Code = :code "), p)
        || !c.exec(QStringLiteral("Delete From DepotD Where F_Code = :code "), p)) {
        m_error = c.errorString();
        tx.rollback();
        ShowMess(saveFailText(), Messenger::Error);
        return Failed;
    }
    if (!tx.commit()) {
        m_error = tx.errorString();
        ShowMess(saveFailText(), Messenger::Error);
        return Failed;
    }
    return Done;
}

DocumentStore::Result DocumentStore::setAudit(const QString& code0, const QString& operName, bool audited)
{
    m_error.clear();
    const QString code = code0.trimmed();
    QSqlQuery q(d().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, QStringLiteral("select F_CheckFlag, F_Flag from DepotM where F_Code = :code"),
            {{QStringLiteral("code"), code}})) {
        m_error = q.lastError().text();
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return Failed;
    }
    if (!q.next())
        return NotFound;
    const bool isAudited = q.value(0).toInt() == 1;
    const int kind = q.value(1).toInt();
    q.finish();
    if (audited && isAudited) {
        ShowMess(alreadyAuditedText(), Messenger::Warning);
        return Audited;
    }
    SqlParams p {{QStringLiteral("auditer"), operName}, {QStringLiteral("code"), code}};
    QString sql = QStringLiteral("update DepotM Set ");
    // Assembly and dismantling move to the list of the day they are audited on.
    if (kind == 12 || kind == 13) {
        sql += QStringLiteral("F_Date = :today,");
        p.insert(QStringLiteral("today"), Dates::sqlDate(Clock::today()));
    }
    sql += QStringLiteral("F_Auditer = :auditer,F_CheckFlag = ") + (audited ? QLatin1Char('1') : QLatin1Char('0'))
        + QStringLiteral(" Where F_Code = :code ");
    if (!d().ExecSql(sql, p)) {
        m_error = d().lastDbError();
        return Failed;
    }
    return Done;
}

DocumentStore::Result DocumentStore::audit(const QString& code, const QString& operName)
{
    return setAudit(code, operName, true);
}

DocumentStore::Result DocumentStore::unaudit(const QString& code, const QString& operName)
{
    return setAudit(code, operName, false);
}

std::optional<Document> DocumentStore::load(const QString& code0)
{
    m_error.clear();
    const QString code = code0.trimmed();
    QSqlQuery q(d().db());
    q.setForwardOnly(true);
    if (!Sql::exec(q, QStringLiteral("select * from DepotM where F_Code = :code"), {{QStringLiteral("code"), code}})) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    const QSqlRecord r = q.record();
    Document doc = headerFromRecord(r);
    q.finish();
    if (!Sql::exec(q, QStringLiteral("select * from DepotD where F_code = :code order by F_ID"),
            {{QStringLiteral("code"), code}})) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    while (q.next()) {
        DocumentLine l = storeLineFromRecord(q.record());
        if (l.flag == 1 && doc.isAssemblyKind())
            doc.product = l;
        else
            doc.lines.append(l);
    }
    return doc;
}

Document DocumentStore::headerFromRecord(const QSqlRecord& r)
{
    Document doc;
    doc.id = storeRecordValue(r, "F_ID").toLongLong();
    doc.code = storeRecordValue(r, "F_Code").toString();
    doc.kind = storeRecordValue(r, "F_Flag").toInt();
    doc.depot = storeRecordValue(r, "F_Depot").toString();
    doc.client = storeRecordValue(r, "F_Client").toString();
    doc.makeDate = Dates::toDate(storeRecordValue(r, "F_MakeDate"));
    doc.date = Dates::toDate(storeRecordValue(r, "F_Date"));
    doc.maker = storeRecordValue(r, "F_Maker").toString();
    doc.auditer = storeRecordValue(r, "F_Auditer").toString();
    doc.empName = storeRecordValue(r, "F_EmpName").toString();
    doc.oldCode = storeRecordValue(r, "F_OldCode").toString();
    doc.mem = storeRecordValue(r, "F_Mem").toString();
    doc.checked = storeRecordValue(r, "F_CheckFlag").toInt() == 1;
    doc.totalPrice = storeRecordValue(r, "F_TotalPrice").toDouble();
    doc.amount = storeRecordValue(r, "F_amount").toDouble();
    return doc;
}
