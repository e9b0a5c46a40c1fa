#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QToolButton;
class QVBoxLayout;

// The navigation bar: stacked groups, each a header and a list of action
// buttons, of which one group is open at a time. Items appear and disappear
// with their actions.
class NavGroupBar : public QWidget
{
    Q_OBJECT
public:
    explicit NavGroupBar(QWidget* parent = nullptr);

    // Adds a group at the bottom; name is its objectName ("rzg300").
    QWidget* addGroup(const QString& name, const QString& caption);
    void addItem(const QString& groupName, QAction* action);

    QWidget* group(const QString& name) const;
    QToolButton* header(const QString& name) const;
    QList<QToolButton*> items(const QString& groupName) const;
    // Opens one group and closes the others.
    void openGroup(const QString& name);
    QString openGroupName() const;
    bool isGroupOpen(const QString& name) const;
    // Shows or hides a whole group; an open group that is hidden hands the
    // opening to the first shown group.
    void setGroupVisible(const QString& name, bool visible);

private:
    struct Group
    {
        QString name;
        QWidget* box = nullptr;
        QToolButton* header = nullptr;
        QWidget* body = nullptr;
        QList<QToolButton*> items;
    };
    Group* find(const QString& name);
    const Group* find(const QString& name) const;
    void updateHeaders();

    QList<Group> m_groups;
    QVBoxLayout* m_layout;
    QString m_open;
};
