#pragma once

#include <QString>
#include <QVariant>
#include <functional>

// Functions of the program that templates may call. The registry is shared by
// every engine; names compare without regard to letter case.
namespace ReportFunctions {
using Function = std::function<QVariant(const QVariantList& args)>;

struct Info
{
    QString name;
    QString declaration; // as the designer lists it
    QString category;
    QString description;
};

void registerFunction(const Info& info, const Function& fn);
// MoneyMinToBig in the category "myTest", "金额小写转大写". Safe to call twice.
void registerStandard();
QVariant call(const QString& name, const QVariantList& args, bool* found = nullptr);
QList<Info> registered();
} // namespace ReportFunctions
