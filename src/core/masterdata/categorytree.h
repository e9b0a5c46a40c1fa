#pragma once

#include <QList>
#include <QString>

// One category of a loaded tree. Index 0 of a CategoryTree is the root.
struct CategoryNode
{
    int codeLength = 0; // 0 for the root
    QString code; // "000" for the root
    QString name;
    QString path; // as stored (the root: two backslashes)
    int parent = -1;
    QList<int> children;
    bool misplaced = false; // code does not fit the tree; shown under the root
    bool removed = false;
};

// The category tree (t_treecode) as a plain structure that windows mirror.
// Rows whose code length is not a multiple of three or whose parent row is
// missing are kept, under the root, marked as misplaced rather than dropped.
class CategoryTree
{
public:
    static QString rootPath() { return QStringLiteral("\\\\"); }
    static QString treeName() { return QStringLiteral("goodtype"); }

    explicit CategoryTree(const QString& rootCaption = QString());

    // Tree loading service: false (message shown) on a database error; the tree
    // then holds only the root.
    bool load(const QString& treeName = CategoryTree::treeName());

    int size() const { return int(m_nodes.size()); }
    const CategoryNode& node(int index) const { return m_nodes.at(index); }
    QString treeNameLoaded() const { return m_treeName; }
    QString rootCaption() const { return m_nodes.first().name; }
    bool isRoot(int index) const { return index == 0; }
    // 1 for the children of the root, 2 below them, ...
    int level(int index) const;
    int findCode(const QString& code) const; // -1 when absent
    // Nodes whose stored path equals the text exactly (picking mode preselection).
    QList<int> findPath(const QString& path) const;
    // Every node of the subtree below index (not index itself), depth first.
    QList<int> descendants(int index) const;

    // Path service: selector 1 the node's own path, otherwise its parent's.
    QString path(int index, int selector) const;
    // The path a child called name of the node at index gets.
    QString childPath(int index, const QString& name) const;

    // Tree edits mirroring what the service stored.
    int addChild(int parent, const QString& code, const QString& name, const QString& path);
    void rename(int index, const QString& newName, const QString& newPath);
    void removeSubtree(int index);

    // Adds a row as the loading rule places it (used by load()).
    int place(const QString& code, const QString& name, const QString& path);

private:
    int add(int parent, const QString& code, const QString& name, const QString& path, bool misplaced);

    QList<CategoryNode> m_nodes;
    QString m_treeName = treeName();
};
