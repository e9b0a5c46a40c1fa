#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Shows a read-only grid's values through a formatting function (numbers in
// their display formats, blank dates empty).
class EntryFormatDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using Formatter = std::function<QString(const QModelIndex& index, const QVariant& value)>;
    explicit EntryFormatDelegate(Formatter f, QObject* parent = nullptr);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    Formatter m_format;
};
