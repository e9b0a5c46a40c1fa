#pragma once

#include "documents/document.h"
#include "documents/entrylinefields.h"

#include <QAbstractTableModel>
#include <functional>

// The line set of an entry window: the lines of the document shown, held in the
// window until the document is saved. Editing a quantity, price or count keeps
// amount and cost in step by the kind's rules.
class EntryLineModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit EntryLineModel(QObject* parent = nullptr);

    void setColumns(const QList<EntryLineColumn>& columns);
    const QList<EntryLineColumn>& columns() const { return m_columns; }
    int columnOf(const QString& field) const; // -1 when not shown
    QString fieldAt(int column) const;

    // The header values the rules read (kind, depot, counterpart, code); the
    // window keeps them current.
    void setDocumentHeader(const Document& header);
    const Document& header() const { return m_header; }

    void setLines(const QList<DocumentLine>& lines);
    const QList<DocumentLine>& lines() const { return m_lines; }
    const DocumentLine& line(int row) const { return m_lines.at(row); }
    void replaceLine(int row, const DocumentLine& line);
    int appendLine(const DocumentLine& line = DocumentLine());
    void removeLine(int row);
    // The document with the current header and lines.
    Document document() const;

    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    void setNumberFormat(const std::function<QString(const QString& field, double value)>& format)
    {
        m_format = format;
    }

    // Footer: the sum of a column over every line (0 for a non-number column).
    double columnSum(const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A rule's look-up failed (database message).
    void lookupFailed(const QString& message);
    void linesChanged();

private:
    QList<EntryLineColumn> m_columns;
    QList<DocumentLine> m_lines;
    Document m_header;
    bool m_editable = false;
    std::function<QString(const QString&, double)> m_format;
};
