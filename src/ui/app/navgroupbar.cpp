#include "navgroupbar.h"

#include <QAction>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

NavGroupBar::NavGroupBar(QWidget* parent)
    : QWidget(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(2);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xe4, 0xea, 0xf2));
    setPalette(pal);
}

QWidget* NavGroupBar::addGroup(const QString& name, const QString& caption)
{
    Group g;
    g.name = name;
    g.box = new QWidget(this);
    g.box->setObjectName(name);
    auto* boxLayout = new QVBoxLayout(g.box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->setSpacing(0);

    g.header = new QToolButton(g.box);
    g.header->setObjectName(name + QStringLiteral("Header"));
    g.header->setText(caption);
    g.header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    g.header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    g.header->setMinimumHeight(26);
    g.header->setStyleSheet(QStringLiteral("QToolButton { font-weight: bold; text-align: left; color: white;"
                                           " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5b8cc4,"
                                           " stop:1 #2f5f96); border: 1px solid #2a5587; border-radius: 2px;"
                                           " padding: 2px 4px; }"));
    boxLayout->addWidget(g.header);

    auto* scroll = new QScrollArea(g.box);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* inner = new QWidget(scroll);
    inner->setObjectName(name + QStringLiteral("Items"));
    inner->setAutoFillBackground(true);
    QPalette pal = inner->palette();
    pal.setColor(QPalette::Window, QColor(0xf7, 0xf9, 0xfc));
    inner->setPalette(pal);
    auto* innerLayout = new QVBoxLayout(inner);
    innerLayout->setContentsMargins(4, 4, 4, 4);
    innerLayout->setSpacing(1);
    innerLayout->addStretch(1);
    scroll->setWidget(inner);
    g.body = scroll;
    boxLayout->addWidget(scroll, 1);

    m_layout->addWidget(g.box);
    const QString groupName = name;
    connect(g.header, &QToolButton::clicked, this, [this, groupName] { openGroup(groupName); });
    m_groups.append(g);
    if (m_open.isEmpty())
        openGroup(name);
    else
        openGroup(m_open);
    return g.box;
}

void NavGroupBar::addItem(const QString& groupName, QAction* action)
{
    Group* g = find(groupName);
    if (!g || !action)
        return;
    auto* inner = qobject_cast<QScrollArea*>(g->body)->widget();
    auto* layout = static_cast<QVBoxLayout*>(inner->layout());
    auto* b = new QToolButton(inner);
    b->setObjectName(groupName + QStringLiteral("_") + action->objectName());
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setVisible(action->isVisible());
    // The button follows the action's visibility, which SetLimits decides.
    connect(action, &QAction::changed, b, [b, action] { b->setVisible(action->isVisible()); });
    layout->insertWidget(layout->count() - 1, b);
    g->items.append(b);
}

QWidget* NavGroupBar::group(const QString& name) const
{
    const Group* g = find(name);
    return g ? g->box : nullptr;
}

QToolButton* NavGroupBar::header(const QString& name) const
{
    const Group* g = find(name);
    return g ? g->header : nullptr;
}

QList<QToolButton*> NavGroupBar::items(const QString& groupName) const
{
    const Group* g = find(groupName);
    return g ? g->items : QList<QToolButton*>();
}

void NavGroupBar::openGroup(const QString& name)
{
    const Group* target = find(name);
    if (!target)
        return;
    m_open = name;
    for (Group& g : m_groups) {
        const bool open = g.name == name;
        g.body->setVisible(open);
        m_layout->setStretchFactor(g.box, open ? 1 : 0);
    }
    updateHeaders();
}

QString NavGroupBar::openGroupName() const
{
    return m_open;
}

bool NavGroupBar::isGroupOpen(const QString& name) const
{
    return m_open == name;
}

void NavGroupBar::setGroupVisible(const QString& name, bool visible)
{
    Group* g = find(name);
    if (!g)
        return;
    g->box->setVisible(visible);
    if (!visible && m_open == name) {
        for (const Group& other : std::as_const(m_groups))
            if (!other.box->isHidden()) {
                openGroup(other.name);
                return;
            }
    } else if (visible) {
        const Group* open = find(m_open);
        if (!open || open->box->isHidden())
            openGroup(name);
    }
}

void NavGroupBar::updateHeaders()
{
    for (Group& g : m_groups)
        g.header->setArrowType(g.name == m_open ? Qt::DownArrow : Qt::RightArrow);
}

NavGroupBar::Group* NavGroupBar::find(const QString& name)
{
    for (Group& g : m_groups)
        if (g.name == name)
            return &g;
    return nullptr;
}

const NavGroupBar::Group* NavGroupBar::find(const QString& name) const
{
    for (const Group& g : m_groups)
        if (g.name == name)
            return &g;
    return nullptr;
}
