#pragma once

#include "data/export/exporttable.h"
#include "data/gridlayout.h"
#include "data/sqlparams.h"
#include "gridmodel.h"

#include <QWidget>

class QTableView;
class GridFooterModel;

// The data grid of every list: a table over a result with a footer row (sums or
// fixed texts in the column's format on a light-blue ground), centred titles,
// per-column alignment, read-only and editable columns, title-click sorting with
// up/down markers, an optional ellipsis button in one column, and row colours.
// Columns are addressed by index (in display order) or by field name; field
// names match without regard to case.
class DataGrid : public QWidget
{
    Q_OBJECT

public:
    enum Marker { NoMarker, UpMarker, DownMarker };
    // Which sort the up marker means: most lists sort descending first.
    enum SortPairing { UpIsDescending, UpIsAscending };

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Columns, in display order.
    void setColumns(const QList<GridColumnDef>& columns);
    QList<GridColumnDef> columns() const; // with the widths and order the user left
    int addColumn(const GridColumnDef& column);
    void removeColumn(int column);
    int columnCount() const;
    int columnOf(const QString& fieldName) const;
    GridColumnDef column(int column) const;
    void setColumn(int column, const GridColumnDef& def);
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;
    void setColumnReadOnly(int column, bool readOnly);
    void setColumnCaption(int column, const QString& caption);
    void setColumnDisplayFormat(int column, const QString& format);
    void setColumnFooter(int column, int footerType, const QString& value = {});

    // Rows
    // Opens the select on the data module's connection; rows are read as the view
    // needs them. On failure shows "打开操作失败，请检查数据连接... " and returns false.
    bool openQuery(const QString& sql, const SqlParams& params = {});
    // In-memory rows (document lines): fields name the values in each row.
    void setRows(const QStringList& fields, const QList<QVariantList>& rows = {});
    void clear();
    bool isOpen() const;
    // Rows read so far; fetchAll() reads the rest (sums, export, sorting do it themselves).
    int rowCount() const;
    void fetchAll();
    int appendRow(const QVariantList& values = {});
    bool removeRow(int row);

    int currentRow() const;
    void setCurrentRow(int row);
    QVariant value(int row, const QString& fieldName) const;
    bool setValue(int row, const QString& fieldName, const QVariant& value);
    // The current row's value of a field.
    QVariant fieldValue(const QString& fieldName) const;

    // Behaviour
    void setEditable(bool editable);
    bool isEditable() const;
    void setRowSelect(bool wholeRows);
    // Shows an ellipsis button in the column of the field, always; a click emits ellipsisClicked.
    void setEllipsisField(const QString& fieldName);
    QString ellipsisField() const { return m_ellipsisField; }
    void setRowColorHook(GridModel::RowColorHook hook);
    void setSortPairing(SortPairing pairing) { m_pairing = pairing; }
    // Off: a title click only emits titleClicked, for lists that order their rows in the query.
    void setSortOnTitleClick(bool on) { m_sortOnTitle = on; }
    // Shows a marker on a column without sorting (NoMarker clears it).
    void setSortMarker(int column, Marker marker);

    // What a click on a column title does: the marker turns up (or down when up
    // shows) and the rows are sorted; "mem" columns only change the marker.
    void sortByTitle(int column);
    Marker sortMarker(int column) const;

    // Footer
    double footerSum(int column);
    QString footerText(int column);

    // The visible columns in display order and every row as shown, for the export.
    ExportTable exportTable();

    QTableView* view() const { return m_view; }
    QTableView* footerView() const { return m_footer; }
    GridModel* model() const { return m_model; }

signals:
    void currentRowChanged(int row);
    void ellipsisClicked(int row, const QString& fieldName);
    void titleClicked(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyViewColumns();
    void syncFooterWidths();
    void onSectionMoved();

    GridModel* m_model;
    GridFooterModel* m_footerModel;
    QTableView* m_view;
    QTableView* m_footer;
    QWidget* m_footerSpacer;
    QString m_ellipsisField;
    SortPairing m_pairing = UpIsDescending;
    int m_markerColumn = -1;
    Marker m_marker = NoMarker;
    bool m_applying = false;
    bool m_sortOnTitle = true;
};
