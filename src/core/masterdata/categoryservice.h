#pragma once

#include <QString>

class CategoryTree;

// Numbering and editing of the goods category tree. Each operation writes the
// database and then mirrors the change in the loaded tree; every message goes
// through ShowMess.
class CategoryService
{
public:
    enum Mode { Sibling = 1, Child = 2 };
    // Paths go into t_goods.F_Type and DepotD.F_Type.
    static constexpr int MaxPathLength = 255;

    // Next-code service. An empty base code stands for the root. Returns an
    // empty text when the level is full ("999" taken) or on a database error;
    // errorText then holds the message (not shown).
    static QString nextCode(const QString& baseCode, const QString& treeName, int mode, QString* errorText = nullptr);

    // Checks a name typed for a category under the node parentIndex (the root
    // for level 1), ignoring the node skipIndex (a rename). Shows the refusal.
    static bool checkName(const CategoryTree& tree, int parentIndex, const QString& name, int skipIndex = -1);

    // Adds a sibling (asChild false) or a child of the selected node with the
    // name; returns the new node's index, or -1 (message shown).
    static int add(CategoryTree& tree, int selected, bool asChild, const QString& name);
    // Renames the node and rewrites its path in goods, document lines and the
    // tree rows of its subtree, all in one transaction. Unchanged (a change of
    // letter case only) stores nothing.
    enum RenameResult { Renamed, Unchanged, Refused, Failed };
    static RenameResult rename(CategoryTree& tree, int index, const QString& newName);
    // Asks, then deletes the node with its subtree. True when deleted.
    static bool remove(CategoryTree& tree, int index);

    static QString fullText() { return QStringLiteral("此级类别已有999个，不能再增加！"); }
    static QString connectionFailText() { return QStringLiteral("数据连接失败，请与作者联系... "); }
};
