#include "entryformatdelegate.h"

EntryFormatDelegate::EntryFormatDelegate(Formatter f, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_format(std::move(f))
{ }

QString EntryFormatDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    return QStyledItemDelegate::displayText(value, locale);
}

void EntryFormatDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!m_format)
        return;
    const QVariant v = index.data(Qt::DisplayRole);
    option->text = m_format(index, v);
    const int t = v.typeId();
    if (t == QMetaType::Double || t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Float)
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}
