#include "entrykinds.h"

#include "data/dates.h"
#include "documentkinds.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
QList<EntryKind> buildEntryKinds()
{
    using C = EntryKind::Counterpart;
    auto k = [](int kind, C counterpart, bool pickerButton) {
        EntryKind e;
        e.kind = kind;
        e.counterpart = counterpart;
        e.addLineOpensPicker = pickerButton;
        return e;
    };
    QList<EntryKind> list {
        k(1, C::SupplierPicker, false),
        k(2, C::ClientPicker, false),
        k(3, C::Departments, true),
        k(4, C::Departments, true),
        k(5, C::ClientPicker, true),
        k(-1, C::SupplierPicker, false),
        k(-2, C::ClientPicker, true),
        k(-3, C::Departments, true),
        k(-5, C::ClientPicker, true),
        k(10, C::Depots, true),
        k(11, C::None, true),
    };
    for (EntryKind& e : list) {
        if (e.kind == 10 || e.kind == 11) {
            e.doubleClickEdits = false;
            e.orderedLines = false;
            e.preselectDepot = false;
        }
        e.firstAfterAudit = e.kind == 11;
        e.countedLines = e.kind == 11;
    }
    return list;
}
} // namespace

const DocumentKind& EntryKind::base() const
{
    return *DocumentKinds::find(kind);
}

QString EntryKind::windowClass() const
{
    return base().windowClass;
}

QString EntryKind::title() const
{
    return base().title;
}

QString EntryKind::templateName(int i) const
{
    return i <= 0 ? base().printStem : base().printStem + QString::number(i);
}

QString EntryKind::printCaption(int i) const
{
    static const QString tails[] = {QString(), QStringLiteral("(A4)"), QStringLiteral("(不含单价和金额)")};
    return QStringLiteral("打印") + title() + tails[qBound(0, i, 2)];
}

QString EntryKind::designCaption(int i) const
{
    static const QString tails[] = {QString(), QStringLiteral("(A4)"), QStringLiteral("(不含单价和金额)")};
    return QStringLiteral("设置") + title() + tails[qBound(0, i, 2)];
}

namespace EntryKinds {
const QList<EntryKind>& all()
{
    static const QList<EntryKind> kinds = buildEntryKinds();
    return kinds;
}

const EntryKind* find(int kind)
{
    for (const EntryKind& e : all())
        if (e.kind == kind)
            return &e;
    return nullptr;
}

const EntryKind* findByClass(const QString& windowClass)
{
    for (const EntryKind& e : all())
        if (e.windowClass().compare(windowClass, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

QStringList gridKeys()
{
    QStringList keys;
    for (const EntryKind& e : all())
        keys << e.base().layoutKey;
    keys << pickerGridKey();
    return keys;
}

QString pickerGridKey()
{
    return QStringLiteral("dlggoodxz");
}

QString entryDateText(const QDate& d)
{
    return d.isValid() && !Dates::isBlank(d) ? Dates::formatDate(d) : QString();
}

bool parseEntryDate(const QString& text, QDate& out)
{
    // Only the full form: "2024-1-5" or a trailing time is not what the field shows.
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch())
        return false;
    const QDate d = QDate::fromString(t, QString::fromLatin1(Dates::DateFormat));
    if (!d.isValid())
        return false;
    out = d;
    return true;
}

QString badEntryDateText()
{
    return QStringLiteral("制单日期格式不正确，请输入 yyyy-mm-dd 格式的日期！");
}
} // namespace EntryKinds
