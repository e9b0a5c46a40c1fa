#include "categoryservice.h"

#include "app/messenger.h"
#include "categorytree.h"
#include "data/datamodule.h"
#include "data/transaction.h"
#include "likepattern.h"

#include <QSqlQuery>

namespace {
// Characters, as the database counts them (a surrogate pair is one).
int categorySqlLength(const QString& s)
{
    return int(s.toUcs4().size());
}
} // namespace

QString CategoryService::nextCode(const QString& baseCode, const QString& treeName, int mode, QString* errorText)
{
    const QString prefix = mode == Sibling ? baseCode.left(qMax<qsizetype>(0, baseCode.size() - 3)) : baseCode;
    // Only codes of the next level count, so a row of the wrong length cannot
    // lift the maximum.
    QSqlQuery q(dm().db());
    if (!Sql::exec(q,
            QStringLiteral("select Max(F_code) from t_treecode where F_code like :prefix") + LikePattern::escapeClause()
                + QStringLiteral("and f_flag = :tree and Length(F_code) = :len "),
            {{QStringLiteral("prefix"), LikePattern::prefix(prefix)}, {QStringLiteral("tree"), treeName},
                {QStringLiteral("len"), int(prefix.size()) + 3}})) {
        if (errorText)
            *errorText = DataModule::execFailText();
        return QString();
    }
    QString m = q.next() ? q.value(0).toString() : QString();
    if (m.isEmpty())
        return prefix + QStringLiteral("001");
    const QString digits = m.right(3);
    bool ok = false;
    const int s = digits.toInt(&ok);
    if (!ok || s < 0) {
        if (errorText)
            *errorText = QStringLiteral("类别编码“%1”不是数字，不能生成新编码！").arg(m);
        return QString();
    }
    if (s >= 999) {
        if (errorText)
            *errorText = fullText();
        return QString();
    }
    return prefix + QStringLiteral("%1").arg(s + 1, 3, 10, QLatin1Char('0'));
}

bool CategoryService::checkName(const CategoryTree& tree, int parentIndex, const QString& name, int skipIndex)
{
    if (name.trimmed().isEmpty())
        return false;
    // A backslash would split the name into two levels of the path.
    if (name.contains(QLatin1Char('\\'))) {
        ShowMess(QStringLiteral("类别名称不能包含“\\”字符！"), Messenger::Information);
        return false;
    }
    for (int c : tree.node(parentIndex).children)
        if (c != skipIndex && tree.node(c).name.compare(name, Qt::CaseInsensitive) == 0) {
            ShowMess(QStringLiteral("同一类别下已有名称为“%1”的类别！").arg(name), Messenger::Information);
            return false;
        }
    return true;
}

int CategoryService::add(CategoryTree& tree, int selected, bool asChild, const QString& typedName)
{
    const QString name = typedName.trimmed();
    if (!asChild && tree.isRoot(selected)) {
        ShowMess(QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"), Messenger::Information);
        return -1;
    }
    if (tree.node(selected).misplaced) {
        ShowMess(QStringLiteral("该类别的编码不符合类别树的结构，只能删除！"), Messenger::Information);
        return -1;
    }
    const int parent = asChild ? selected : tree.node(selected).parent;
    if (!checkName(tree, parent, name))
        return -1;
    const QString path = tree.childPath(parent, name);
    if (categorySqlLength(path) > MaxPathLength) {
        ShowMess(QStringLiteral("类别路径太长，不能超过%1个字符！").arg(MaxPathLength), Messenger::Information);
        return -1;
    }
    QString why;
    const QString base = tree.isRoot(selected) ? QString() : tree.node(selected).code;
    const QString code = nextCode(base, tree.treeNameLoaded(), asChild ? Child : Sibling, &why);
    if (code.isEmpty()) {
        ShowMess(why == fullText() ? why : connectionFailText(),
            why == fullText() ? Messenger::Information : Messenger::Error);
        return -1;
    }
    if (!dm().connection().exec(
            QStringLiteral("insert into t_treecode(F_code,F_name,F_likecode,F_flag)values(:code,:name,:path,:tree)"),
            {{QStringLiteral("code"), code}, {QStringLiteral("name"), name}, {QStringLiteral("path"), path},
                {QStringLiteral("tree"), tree.treeNameLoaded()}})) {
        ShowMess(connectionFailText(), Messenger::Error);
        return -1;
    }
    return tree.addChild(parent, code, name, path);
}

CategoryService::RenameResult CategoryService::rename(CategoryTree& tree, int index, const QString& typedName)
{
    if (tree.isRoot(index))
        return Refused;
    const CategoryNode node = tree.node(index);
    const QString name = typedName.trimmed();
    if (name.isEmpty())
        return Refused;
    if (node.misplaced) {
        ShowMess(QStringLiteral("该类别的编码不符合类别树的结构，只能删除！"), Messenger::Information);
        return Refused;
    }
    // The stored path is what goods and lines carry; rewrite exactly that.
    const QString oldPath = node.path;
    const QString newPath = tree.childPath(node.parent, name);
    if (oldPath.trimmed().compare(newPath.trimmed(), Qt::CaseInsensitive) == 0)
        return Unchanged;
    if (!checkName(tree, node.parent, name, index))
        return Refused;
    // The longest path below must still fit after the rename.
    const int growth = categorySqlLength(newPath) - categorySqlLength(oldPath);
    int longest = categorySqlLength(newPath);
    for (int d : tree.descendants(index))
        longest = qMax(longest, categorySqlLength(tree.node(d).path) + growth);
    if (longest > MaxPathLength) {
        ShowMess(QStringLiteral("类别路径太长，不能超过%1个字符！").arg(MaxPathLength), Messenger::Information);
        return Refused;
    }

    // Only the category's own path and the paths below it (old path + "\")
    // change: a sibling whose name merely begins with the same text is untouched.
    const SqlParams p = {{QStringLiteral("newPath"), newPath}, {QStringLiteral("oldPath"), oldPath},
        {QStringLiteral("below"), LikePattern::prefix(oldPath + QLatin1Char('\\'))},
        {QStringLiteral("cut"), categorySqlLength(oldPath) + 1}};
    const QString set = QStringLiteral(" = CAST(:newPath AS TEXT) || SUBSTR(%1, :cut) where (%1 = :oldPath or %1 "
                                       "like :below")
        + LikePattern::escapeClause() + QStringLiteral(")");
    Connection& c = dm().connection();
    Transaction tx(c);
    bool ok = tx.isActive()
        && c.exec(QStringLiteral("update t_goods set F_type") + set.arg(QStringLiteral("F_type")), p)
        && c.exec(QStringLiteral("update depotD set F_type") + set.arg(QStringLiteral("F_type")), p);
    if (ok) {
        SqlParams tp = p;
        tp.insert(QStringLiteral("tree"), tree.treeNameLoaded());
        ok = c.exec(QStringLiteral("update t_treecode set F_likeCode") + set.arg(QStringLiteral("F_likeCode"))
                + QStringLiteral(" and F_flag = :tree"),
            tp);
    }
    if (ok)
        ok = c.exec(QStringLiteral("update t_treecode set F_name = :name,F_likeCode = :path where (F_code = :code and "
                                   "F_flag = :tree) "),
            {{QStringLiteral("name"), name}, {QStringLiteral("path"), newPath}, {QStringLiteral("code"), node.code},
                {QStringLiteral("tree"), tree.treeNameLoaded()}});
    if (!ok || !tx.commit()) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return Failed;
    }
    tree.rename(index, name, newPath);
    return Renamed;
}

bool CategoryService::remove(CategoryTree& tree, int index)
{
    if (tree.isRoot(index)) {
        ShowMess(QStringLiteral("不能删除根节点！"), Messenger::Error);
        return false;
    }
    const CategoryNode& node = tree.node(index);
    const QString question = node.children.isEmpty()
        ? QStringLiteral("真的要删除当前节点 “") + node.code + node.name + QStringLiteral("” 吗？")
        : QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？");
    if (ShowMess(question, Messenger::Question) == Messenger::No)
        return false;
    // A code of a wrong length has no subtree: it goes alone.
    QString sql = QStringLiteral("delete from t_treecode where (F_code = :code");
    if (!node.code.isEmpty() && node.code.size() % 3 == 0)
        sql += QStringLiteral(" or F_code like :below") + LikePattern::escapeClause();
    sql += QStringLiteral(") and F_flag = :tree ");
    if (!dm().ExecSql(sql,
            {{QStringLiteral("code"), node.code}, {QStringLiteral("below"), LikePattern::prefix(node.code)},
                {QStringLiteral("tree"), tree.treeNameLoaded()}}))
        return false;
    tree.removeSubtree(index);
    return true;
}
