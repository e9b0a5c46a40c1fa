#include "preparedreport.h"

#include <algorithm>

QStringList PreparedReport::pageTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pages.size())
        return out;
    QList<const PreparedItem*> items;
    for (const auto& it : pages[page].items)
        if (it.object.type == ReportObject::Text)
            items << &it;
    std::stable_sort(items.begin(), items.end(), [](const PreparedItem* a, const PreparedItem* b) {
        if (qAbs(a->rect.top() - b->rect.top()) > 0.5)
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    for (const auto* it : items)
        out << it->text;
    return out;
}
