#pragma once

#include <QDialog>

class DataGrid;
class QListWidget;
class QPushButton;

// The column chooser: one tick per grid column, in column order, ticked when the
// column is shown. OK applies the ticks to the grid; cancel (or Escape) changes nothing.
class TFrmDispFieldXZ : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmDispFieldXZ(DataGrid* grid, QWidget* parent = nullptr);

    QListWidget* checkList() const { return m_list; }
    // Sets every column's visibility from its tick.
    void applyToGrid();

    void accept() override;

private:
    DataGrid* m_grid;
    QListWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
