#include "cliapp.h"

#include "app/clock.h"
#include "app/loginservice.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "app/sysoptionsservice.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/moneywords.h"
#include "documents/documentkinds.h"
#include "documents/documentstore.h"
#include "documents/lineediting.h"
#include "documents/numbering.h"
#include "documents/stocklookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlQuery>

namespace {
// Messages of the core go to stderr; questions are answered by --yes.
class CliMessenger : public Messenger
{
public:
    CliMessenger(QTextStream& err, bool yes)
        : m_err(err)
        , m_yes(yes)
    {
        m_previous = Messenger::instance();
        Messenger::setInstance(this);
    }
    ~CliMessenger() override { Messenger::setInstance(m_previous); }
    int showMess(const QString& text, int kind) override
    {
        m_err << text << Qt::endl;
        if (kind == Messenger::Question)
            return m_yes ? Messenger::Yes : Messenger::No;
        return 0;
    }

private:
    QTextStream& m_err;
    bool m_yes;
    Messenger* m_previous = nullptr;
};

// Splits a command's arguments into positionals and --options (all of which take a value).
bool splitCliArgs(const QStringList& args, const QSet<QString>& valued, QStringList& positional,
    QHash<QString, QString>& options, QString* bad)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a.startsWith(QLatin1String("--"))) {
            if (!valued.contains(a) || i + 1 >= args.size()) {
                *bad = a;
                return false;
            }
            options.insert(a, args[++i]);
        } else {
            positional << a;
        }
    }
    return true;
}

bool parseCliInt(const QString& text, int& out)
{
    bool ok = false;
    out = text.toInt(&ok);
    return ok;
}
} // namespace

CliApp::CliApp(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{ }

QString CliApp::number(double v)
{
    return QString::number(v == 0.0 ? 0.0 : v, 'g', 15);
}

QString CliApp::usage()
{
    return QStringLiteral(
        "usage: kelmora-cli [--config FILE] [--operator CODE] [--password TEXT] COMMAND ...\n"
        "  stock GOODS DEPOT [--leave-out CODE]           stock on hand\n"
        "  cost GOODS [--depot DEPOT] [--leave-out CODE]  cost price under the configured costing method\n"
        "  last-price GOODS KIND [--client NAME]          last price (mode 3 with --client, else mode 2)\n"
        "  next-code KIND                                 the code a new document gets now\n"
        "  post [FILE|-] [--yes]                          posts one document given as JSON; prints its code\n"
        "  audit CODE | unaudit CODE | delete CODE\n"
        "  options [--costing 0|1|2] [--negative-stock 0|1] [--last-price 1|2|3]   shows or sets them\n"
        "  money-words AMOUNT                             the amount in Chinese capital numerals\n");
}

int CliApp::fail(int status, const QString& text)
{
    if (!text.isEmpty())
        m_err << text << Qt::endl;
    return status;
}

int CliApp::run(const QStringList& args, const QString& programDir, const QString& stdinText)
{
    QString config = QDir(programDir).filePath(QStringLiteral("Config.ini"));
    QString oper = QStringLiteral("000");
    QString password;
    int i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--yes")) {
            m_yes = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--")))
            break;
        if (i + 1 >= args.size())
            return fail(Usage, usage());
        if (a == QLatin1String("--config"))
            config = args[++i];
        else if (a == QLatin1String("--operator"))
            oper = args[++i];
        else if (a == QLatin1String("--password"))
            password = args[++i];
        else
            return fail(Usage, usage());
    }
    if (i >= args.size())
        return fail(Usage, usage());
    const QString command = args[i];
    QStringList rest = args.mid(i + 1);
    if (rest.removeAll(QStringLiteral("--yes")) > 0)
        m_yes = true;
    // Needs no database.
    if (command == QLatin1String("money-words")) {
        bool ok = false;
        const double amount = rest.size() == 1 ? rest.first().toDouble(&ok) : 0.0;
        if (!ok)
            return fail(Usage, usage());
        const QString words = MoneyMinToBig(amount);
        if (words.isEmpty())
            return fail(Refused, QStringLiteral("amount out of range: ") + rest.first());
        m_out << words << Qt::endl;
        return Ok;
    }
    static const QSet<QString> known {QStringLiteral("stock"), QStringLiteral("cost"), QStringLiteral("last-price"),
        QStringLiteral("next-code"), QStringLiteral("post"), QStringLiteral("audit"), QStringLiteral("unaudit"),
        QStringLiteral("delete"), QStringLiteral("options")};
    if (!known.contains(command))
        return fail(Usage, QStringLiteral("unknown command: ") + command + QLatin1Char('\n') + usage());

    if (!QFileInfo::exists(config))
        return fail(DbError, QStringLiteral("configuration file not found: ") + config);
    CliMessenger messenger(m_err, m_yes);
    DataModule data;
    DataModule* previous = DataModule::instance();
    DataModule::setInstance(&data);
    struct Restore
    {
        DataModule* dm;
        ~Restore() { DataModule::setInstance(dm); }
    } restore {previous};
    if (!data.connectFromConfig(config))
        return fail(DbError, QStringLiteral("cannot connect: ") + data.errorString());

    const LoginService::Result login = LoginService::check(oper, password);
    if (login != LoginService::Ok)
        return fail(Refused, QStringLiteral("用户名或密码不正确，请重新输入！"));
    if (!LoginService::loadSession(oper.trimmed(), Session::current()))
        return fail(DbError, QStringLiteral("cannot load the operator's session"));
    QString err;
    if (!loadOptions(&err))
        return fail(DbError, err);
    return dispatch(command, rest, stdinText);
}

bool CliApp::loadOptions(QString* error)
{
    if (!SysOptionsService::load(SysOptions::current(), dm().config())) {
        *error = dm().lastDbError();
        return false;
    }
    return true;
}

bool CliApp::needAction(int actionCode)
{
    const Session& s = Session::current();
    if (LoginService::sessionHasRight(s, actionCode))
        return true;
    m_err << QStringLiteral("operator %1 has no right to action %2").arg(s.operCode).arg(actionCode) << Qt::endl;
    return false;
}

int CliApp::dispatch(const QString& command, const QStringList& rest, const QString& stdinText)
{
    if (command == QLatin1String("stock"))
        return cmdStock(rest);
    if (command == QLatin1String("cost"))
        return cmdCost(rest);
    if (command == QLatin1String("last-price"))
        return cmdLastPrice(rest);
    if (command == QLatin1String("next-code"))
        return cmdNextCode(rest);
    if (command == QLatin1String("post"))
        return cmdPost(rest, stdinText);
    if (command == QLatin1String("audit"))
        return cmdAudit(rest, 0);
    if (command == QLatin1String("unaudit"))
        return cmdAudit(rest, 1);
    if (command == QLatin1String("delete"))
        return cmdAudit(rest, 2);
    return cmdOptions(rest);
}

int CliApp::cmdStock(const QStringList& a)
{
    QStringList pos;
    QHash<QString, QString> opt;
    QString bad;
    if (!splitCliArgs(a, {QStringLiteral("--leave-out")}, pos, opt, &bad) || pos.size() != 2)
        return fail(Usage, usage());
    QString err;
    const double v = StockLookup::GetStockAmount(pos[1], pos[0], opt.value(QStringLiteral("--leave-out")), &err);
    if (!err.isEmpty())
        return fail(DbError, err);
    m_out << number(v) << Qt::endl;
    return Ok;
}

int CliApp::cmdCost(const QStringList& a)
{
    QStringList pos;
    QHash<QString, QString> opt;
    QString bad;
    if (!splitCliArgs(a, {QStringLiteral("--depot"), QStringLiteral("--leave-out")}, pos, opt, &bad) || pos.size() != 1)
        return fail(Usage, usage());
    const Session& s = Session::current();
    if (!s.isAdmin() && !s.rPrice)
        return fail(Refused, QStringLiteral("operator %1 may not see prices").arg(s.operCode));
    QString err;
    const double v = StockLookup::GetCostPrice(
        opt.value(QStringLiteral("--depot")), pos[0], opt.value(QStringLiteral("--leave-out")), &err);
    if (!err.isEmpty())
        return fail(DbError, err);
    m_out << number(v) << Qt::endl;
    return Ok;
}

int CliApp::cmdLastPrice(const QStringList& a)
{
    QStringList pos;
    QHash<QString, QString> opt;
    QString bad;
    int kind = 0;
    if (!splitCliArgs(a, {QStringLiteral("--client")}, pos, opt, &bad) || pos.size() != 2 || !parseCliInt(pos[1], kind))
        return fail(Usage, usage());
    const Session& s = Session::current();
    if (!s.isAdmin() && !s.rPrice)
        return fail(Refused, QStringLiteral("operator %1 may not see prices").arg(s.operCode));
    const bool byClient = opt.contains(QStringLiteral("--client"));
    QString err;
    const double v
        = StockLookup::GetLastPrice(pos[0], opt.value(QStringLiteral("--client")), kind, byClient ? 3 : 2, &err);
    if (!err.isEmpty())
        return fail(DbError, err);
    m_out << number(v) << Qt::endl;
    return Ok;
}

int CliApp::cmdNextCode(const QStringList& a)
{
    int kind = 0;
    if (a.size() != 1 || !parseCliInt(a[0], kind))
        return fail(Usage, usage());
    const DocumentKind* k = DocumentKinds::find(kind);
    if (!k)
        return fail(Usage, QStringLiteral("unknown document kind: ") + a[0]);
    QString err;
    const QString code = Numbering::nextCodeFor(*k, &err);
    if (code.isEmpty())
        return fail(DbError, QString());
    m_out << code << Qt::endl;
    return Ok;
}

int CliApp::cmdPost(const QStringList& a, const QString& stdinText)
{
    if (a.size() > 1)
        return fail(Usage, usage());
    QString text = stdinText;
    if (!a.isEmpty() && a[0] != QLatin1String("-")) {
        QFile f(a[0]);
        if (!f.open(QIODevice::ReadOnly))
            return fail(Usage, QStringLiteral("cannot read ") + a[0]);
        text = QString::fromUtf8(f.readAll());
    }
    QJsonParseError perr;
    const QJsonDocument json = QJsonDocument::fromJson(text.toUtf8(), &perr);
    if (!json.isObject())
        return fail(Usage, QStringLiteral("not a JSON document: ") + perr.errorString());
    const QJsonObject o = json.object();
    const int kind = o.value(QStringLiteral("kind")).toInt(0);
    const DocumentKind* k = DocumentKinds::find(kind);
    if (!k)
        return fail(Usage, QStringLiteral("unknown document kind: %1").arg(kind));
    const Session& s = Session::current();
    if (!needAction(k->actionCode))
        return Refused;
    if (!s.isAdmin() && !s.rNew)
        return fail(Refused, QStringLiteral("operator %1 may not create documents").arg(s.operCode));

    Document doc;
    doc.kind = kind;
    doc.depot = o.value(QStringLiteral("depot")).toString();
    doc.client = o.value(QStringLiteral("client")).toString();
    doc.empName = o.value(QStringLiteral("handler")).toString();
    doc.oldCode = o.value(QStringLiteral("oldCode")).toString();
    doc.mem = o.value(QStringLiteral("memo")).toString();
    doc.maker = s.operName;
    const QString dateText = o.value(QStringLiteral("date")).toString();
    doc.makeDate = dateText.isEmpty() ? Clock::today() : Dates::parseDate(dateText);
    if (!doc.makeDate.isValid())
        return fail(Usage, QStringLiteral("not a date: ") + dateText);
    doc.date = Clock::today();
    QString err;
    doc.code = Numbering::nextCodeFor(*k, &err);
    if (doc.code.isEmpty())
        return DbError;
    if (!DocumentStore::validateHeader(doc))
        return Refused;
    // The entry windows offer only the operator's depots (a transfer's sending depot is free).
    if (s.restricted() && !s.permittedDepots.contains(doc.depot.trimmed()))
        return fail(Refused, QStringLiteral("operator %1 may not use depot %2").arg(s.operCode, doc.depot.trimmed()));

    const QJsonArray lines = o.value(QStringLiteral("lines")).toArray();
    for (const QJsonValue& v : lines) {
        const QJsonObject lo = v.toObject();
        const QString goods = lo.value(QStringLiteral("goods")).toString();
        DocumentLine line;
        if (!LineEditing::fillByCode(doc, line, goods, &err))
            return err.isEmpty() ? Refused : fail(DbError, err);
        if (lo.contains(QStringLiteral("price")))
            line.price = lo.value(QStringLiteral("price")).toDouble();
        line.mem = lo.value(QStringLiteral("memo")).toString();
        if (kind == 11) {
            if (!lo.contains(QStringLiteral("counted")))
                return fail(Usage, QStringLiteral("a stocktaking line needs \"counted\""));
            line.sjAmount = lo.value(QStringLiteral("counted")).toDouble();
            if (!LineEditing::countChanged(doc, line, &err))
                return fail(DbError, err);
        } else {
            line.amount = lo.value(QStringLiteral("amount")).toDouble();
            if (!LineEditing::amountChanged(doc, line, &err))
                return fail(DbError, err);
        }
        doc.lines.append(line);
    }
    if (doc.isAssemblyKind()) {
        const QJsonObject po = o.value(QStringLiteral("product")).toObject();
        DocumentLine p;
        const QString goods = po.value(QStringLiteral("goods")).toString();
        if (!goods.isEmpty()) {
            if (!LineEditing::fillByCode(doc, p, goods, &err))
                return err.isEmpty() ? Refused : fail(DbError, err);
            p.amount = po.value(QStringLiteral("amount")).toDouble(1.0);
            p.price = po.contains(QStringLiteral("price"))
                ? po.value(QStringLiteral("price")).toDouble()
                : StockLookup::GetCostPrice(doc.depot.trimmed(), goods, doc.code, &err);
            if (!err.isEmpty())
                return fail(DbError, err);
            p.totalPrice = p.amount * p.price;
            p.cbPrice = p.totalPrice;
        }
        doc.product = p;
    }

    DocumentStore store;
    DocumentStore::SaveOptions so;
    so.operName = s.operName;
    switch (store.save(doc, so)) {
    case DocumentStore::Done:
        m_out << doc.code << Qt::endl;
        return Ok;
    case DocumentStore::Failed:
        return fail(DbError, store.errorString());
    default:
        return Refused;
    }
}

int CliApp::cmdAudit(const QStringList& a, int which)
{
    if (a.size() != 1)
        return fail(Usage, usage());
    const QString code = a[0].trimmed();
    DocumentStore store;
    const std::optional<Document> doc = store.load(code);
    if (!doc)
        return store.errorString().isEmpty() ? fail(Refused, QStringLiteral("单据 ") + code + QStringLiteral(" 不存在"))
                                             : fail(DbError, store.errorString());
    const DocumentKind* k = DocumentKinds::find(doc->kind);
    const Session& s = Session::current();
    if (k && !needAction(k->actionCode))
        return Refused;
    DocumentStore::Result r = DocumentStore::Done;
    if (which == 0) {
        if (!s.isAdmin() && !s.rCheck)
            return fail(Refused, QStringLiteral("operator %1 may not audit").arg(s.operCode));
        r = store.audit(code, s.operName);
    } else if (which == 1) {
        // Only the built-in administrator un-audits.
        if (!s.isAdmin())
            return fail(Refused, QStringLiteral("only operator 000 may un-audit"));
        r = store.unaudit(code, s.operName);
    } else {
        if (!s.isAdmin() && !s.rDel)
            return fail(Refused, QStringLiteral("operator %1 may not delete").arg(s.operCode));
        r = store.remove(code);
    }
    switch (r) {
    case DocumentStore::Done:
        return Ok;
    case DocumentStore::Failed:
        return fail(DbError, store.errorString());
    case DocumentStore::NotFound:
        return fail(Refused, QStringLiteral("单据 ") + code + QStringLiteral(" 不存在"));
    default:
        return Refused;
    }
}

int CliApp::cmdOptions(const QStringList& a)
{
    QStringList pos;
    QHash<QString, QString> opt;
    QString bad;
    if (!splitCliArgs(a,
            {QStringLiteral("--costing"), QStringLiteral("--negative-stock"), QStringLiteral("--last-price")}, pos, opt,
            &bad)
        || !pos.isEmpty())
        return fail(Usage, usage());
    SysOptions& o = SysOptions::current();
    if (!opt.isEmpty()) {
        int costing = o.costingMode, negative = o.negativeStock ? 1 : 0, last = o.lastPriceMode();
        if ((opt.contains(QStringLiteral("--costing"))
                && (!parseCliInt(opt.value(QStringLiteral("--costing")), costing) || costing < 0 || costing > 2))
            || (opt.contains(QStringLiteral("--negative-stock"))
                && (!parseCliInt(opt.value(QStringLiteral("--negative-stock")), negative) || negative < 0
                    || negative > 1))
            || (opt.contains(QStringLiteral("--last-price"))
                && (!parseCliInt(opt.value(QStringLiteral("--last-price")), last) || last < 1 || last > 3)))
            return fail(Usage, usage());
        if (!needAction(109))
            return Refused;
        const SqlParams p {{QStringLiteral("iMode"), costing}, {QStringLiteral("b1"), negative},
            {QStringLiteral("b3"), last == 2 ? 1 : 0}, {QStringLiteral("b4"), last == 3 ? 1 : 0}};
        if (!dm().connection().exec(
                QStringLiteral("update SysInfo Set F_b1 = :b1,F_b3 = :b3,F_b4 = :b4, F_iMode = :iMode "), p))
            return fail(DbError, dm().connection().errorString());
        o.costingMode = costing;
        o.negativeStock = negative == 1;
        o.lastPrice = last == 2;
        o.lastPriceClient = last == 3;
    }
    m_out << "costing=" << o.costingMode << Qt::endl;
    m_out << "negative-stock=" << (o.negativeStock ? 1 : 0) << Qt::endl;
    m_out << "last-price=" << o.lastPriceMode() << Qt::endl;
    return Ok;
}
