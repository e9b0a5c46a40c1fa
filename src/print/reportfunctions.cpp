#include "reportfunctions.h"

#include "data/moneywords.h"
#include "reportformat.h"

#include <QHash>
#include <QMutex>

namespace ReportFunctions {
namespace {
struct FunctionEntry
{
    Info info;
    Function fn;
};

QMutex& registryMutex()
{
    static QMutex m;
    return m;
}

QList<FunctionEntry>& registry()
{
    static QList<FunctionEntry> r;
    return r;
}
} // namespace

void registerFunction(const Info& info, const Function& fn)
{
    QMutexLocker lock(&registryMutex());
    for (auto& e : registry())
        if (e.info.name.compare(info.name, Qt::CaseInsensitive) == 0) {
            e = {info, fn};
            return;
        }
    registry().append({info, fn});
}

void registerStandard()
{
    registerFunction({QStringLiteral("MoneyMinToBig"), QStringLiteral("function MoneyMinToBig(rMoney: real): string;"),
                         QStringLiteral("myTest"), QStringLiteral("金额小写转大写")},
        [](const QVariantList& args) -> QVariant {
            return MoneyMinToBig(args.isEmpty() ? 0.0 : ReportFormat::toNumber(args.first()));
        });
}

QVariant call(const QString& name, const QVariantList& args, bool* found)
{
    Function fn;
    {
        QMutexLocker lock(&registryMutex());
        if (registry().isEmpty()) {
            lock.unlock();
            registerStandard();
            lock.relock();
        }
        for (const auto& e : registry())
            if (e.info.name.compare(name, Qt::CaseInsensitive) == 0)
                fn = e.fn;
    }
    if (found)
        *found = bool(fn);
    return fn ? fn(args) : QVariant();
}

QList<Info> registered()
{
    if (registry().isEmpty())
        registerStandard();
    QMutexLocker lock(&registryMutex());
    QList<Info> out;
    for (const auto& e : registry())
        out << e.info;
    return out;
}
} // namespace ReportFunctions
