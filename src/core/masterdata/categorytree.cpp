#include "categorytree.h"

#include "data/datamodule.h"

#include <QSqlQuery>

CategoryTree::CategoryTree(const QString& rootCaption)
{
    CategoryNode root;
    root.code = QStringLiteral("000");
    root.name = rootCaption;
    root.path = rootPath();
    m_nodes << root;
}

bool CategoryTree::load(const QString& treeName)
{
    m_treeName = treeName;
    const CategoryNode root = m_nodes.first();
    m_nodes.clear();
    m_nodes << root;
    m_nodes.first().children.clear();
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q,
            QStringLiteral("select F_code,F_name,F_likecode from t_treecode where F_flag = :tree order by "
                           "F_code"),
            {{QStringLiteral("tree"), treeName}}))
        return false;
    while (q.next())
        place(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return true;
}

int CategoryTree::place(const QString& code, const QString& name, const QString& path)
{
    // Rows come ordered by code, so a parent precedes its children; a row whose
    // parent is missing, or whose length breaks the three-digit rule, goes under
    // the root marked instead of being lost.
    const int len = int(code.size());
    if (len == 0 || len % 3 != 0)
        return add(0, code, name, path, true);
    if (len == 3)
        return add(0, code, name, path, false);
    const int parent = findCode(code.left(len - 3));
    if (parent < 0)
        return add(0, code, name, path, true);
    return add(parent, code, name, path, false);
}

int CategoryTree::add(int parent, const QString& code, const QString& name, const QString& path, bool misplaced)
{
    CategoryNode n;
    n.codeLength = int(code.size());
    n.code = code;
    n.name = name;
    n.path = path;
    n.parent = parent;
    n.misplaced = misplaced;
    m_nodes << n;
    const int index = int(m_nodes.size()) - 1;
    m_nodes[parent].children << index;
    return index;
}

int CategoryTree::addChild(int parent, const QString& code, const QString& name, const QString& path)
{
    return add(parent, code, name, path, false);
}

int CategoryTree::level(int index) const
{
    int l = 0;
    while (index > 0) {
        index = m_nodes.at(index).parent;
        ++l;
    }
    return l;
}

int CategoryTree::findCode(const QString& code) const
{
    for (int i = 1; i < m_nodes.size(); ++i)
        if (!m_nodes.at(i).removed && m_nodes.at(i).code == code)
            return i;
    return -1;
}

QList<int> CategoryTree::findPath(const QString& path) const
{
    QList<int> out;
    if (path.isEmpty())
        return out;
    for (int i = 1; i < m_nodes.size(); ++i)
        if (!m_nodes.at(i).removed && m_nodes.at(i).path == path)
            out << i;
    return out;
}

QList<int> CategoryTree::descendants(int index) const
{
    QList<int> out;
    for (int child : m_nodes.at(index).children) {
        out << child;
        out << descendants(child);
    }
    return out;
}

QString CategoryTree::path(int index, int selector) const
{
    int start = selector == 1 ? index : m_nodes.at(index).parent;
    if (start <= 0)
        return rootPath();
    // A misplaced row has no real ancestors: its stored path is all we know.
    if (m_nodes.at(start).misplaced)
        return m_nodes.at(start).path;
    QString out;
    for (int n = start; n > 0; n = m_nodes.at(n).parent) {
        if (m_nodes.at(n).misplaced)
            return m_nodes.at(n).path + out;
        out.prepend(QLatin1Char('\\') + m_nodes.at(n).name);
    }
    return QLatin1Char('\\') + out;
}

QString CategoryTree::childPath(int index, const QString& name) const
{
    if (index == 0)
        return rootPath() + name;
    return path(index, 1) + QLatin1Char('\\') + name;
}

void CategoryTree::rename(int index, const QString& newName, const QString& newPath)
{
    const QString oldPath = m_nodes.at(index).path;
    m_nodes[index].name = newName;
    m_nodes[index].path = newPath;
    for (int d : descendants(index)) {
        QString& p = m_nodes[d].path;
        if (p.startsWith(oldPath + QLatin1Char('\\')))
            p = newPath + p.mid(oldPath.size());
    }
}

void CategoryTree::removeSubtree(int index)
{
    if (index <= 0)
        return;
    for (int d : descendants(index))
        m_nodes[d].removed = true;
    m_nodes[index].removed = true;
    m_nodes[m_nodes.at(index).parent].children.removeAll(index);
}
