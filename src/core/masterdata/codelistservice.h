#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of a code list (t_code).
struct CodeEntry
{
    qint64 id = 0; // 0 for an entry not stored yet
    QString name;
    QString type;
};

// One tab of the options window: component name, caption, list kind.
struct CodeListKind
{
    QString tabName;
    QString caption;
    QString kind;
};

// The short named lists in t_code. Entries are referred to by name everywhere,
// so names are not unique and an empty name is allowed (readers skip it).
class CodeListService
{
public:
    // The six lists of the options window, in tab order.
    static const QList<CodeListKind>& kinds();
    // The list kind of a tab: its component name without the first letter.
    static QString kindOfTab(const QString& tabName) { return tabName.mid(1); }
    static QString symbolKind() { return QStringLiteral("abSheet1"); }

    // Loads a list in stored order; false (message shown) on a database error.
    static bool load(const QString& kind, QList<CodeEntry>& entries);

    // Writes the edited list of one kind in one transaction: entries with id 0
    // are inserted, changed names updated, removedIds deleted. Every entry gets
    // the kind. On failure nothing is written and errorText tells why.
    static bool saveList(
        const QString& kind, QList<CodeEntry>& entries, const QList<CodeEntry>& original, QString* errorText);
    // Deletes one entry at once.
    static bool remove(qint64 id, QString* errorText);

    // True when the list holds the name (exact match).
    static bool contains(const QString& kind, const QString& name, bool* ok = nullptr);
    // Adds one entry at once (new units, special symbols); false with the data
    // module's message on a database error.
    static bool add(const QString& kind, const QString& name);
    // The non-empty names of a list (drop-down lists).
    static QStringList names(const QString& kind);
    // Depot names the session may see (the depot-name clause applied).
    static QStringList permittedDepots();

    // "真的要删除 "<caption>"<name>吗？"
    static QString deleteQuestion(const QString& caption, const QString& name);
};
