#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class DataGrid;
class QDialog;
class QMenu;
class QWidget;

// The grid services every list window uses: stored layouts, the column chooser,
// display formats and price hiding, user-defined field captions, line-grid
// preparation, the amount total, button enabling and the export.
namespace GridServices {

// Layout loader: replaces the grid's columns by the layout stored under the key,
// when there is one. False only on a database error (already reported).
bool loadLayout(DataGrid* grid, const QString& gridKey);
// Layout saver: writes the grid's columns back; returns the number that failed.
int saveLayout(DataGrid* grid, const QString& gridKey);
// "保存当前设置": asks "真的要保存当前网格设置吗？" and saves on yes. True when saved without failure.
bool saveLayoutAsked(DataGrid* grid, const QString& gridKey);
// "显示字段列表": the column chooser, modal. True when the operator pressed OK.
bool chooseColumns(DataGrid* grid, QWidget* parent = nullptr);

// Grid-format service: scheme 1, 3, 6 or 7; price handling 0, 1 or 3.
void formatGrid(DataGrid* grid, int scheme, int priceHandling);
// User-defined field service: captions and visibility of F_ZF1 .. F_RQ3.
void applyUserFields(DataGrid* grid);
// Line-grid preparation: editable, a goods button in F_goodName, descriptive columns read-only.
void prepareLineGrid(DataGrid* grid);
// Grid amount total: the sum of F_totalPrice, also for an operator who cannot see amounts.
double gridAmountTotal(DataGrid* grid);
// Button-enabling service over tbFirst, tbPrior, tbNext, tbLast, tbPrint, tbSet, tbExport.
void enableButtons(QWidget* window, bool enabled);

// Grid export: the save dialog, the file, the question and opening the file.
// fileType 1..6 preselects the filter (1 Excel). Returns the file written, or
// empty when cancelled or failed (a failure is reported).
QString exportGrid(DataGrid* grid, const QString& defaultFileName, int fileType = 1, QWidget* parent = nullptr);

// The grid's pop-up menu PopupMenu1 with N1 "显示字段列表" and N2 "保存当前设置".
QMenu* installGridMenu(DataGrid* grid, const QString& gridKey);

// Seams for tests: the save dialog, the modal dialog runner and the file opener.
// SaveDialog gets the default name, the filters and the preselected filter; it
// fills fileName and chosenFilter and returns false when cancelled.
using SaveDialog = std::function<bool(
    QWidget* parent, const QString& defaultName, const QStringList& filters, QString* chosenFilter, QString* fileName)>;
using DialogRunner = std::function<int(QDialog* dialog)>;
using FileOpener = std::function<bool(const QString& fileName)>;
void setSaveDialog(SaveDialog dialog); // empty restores the QFileDialog
void setDialogRunner(DialogRunner runner); // empty restores QDialog::exec
void setFileOpener(FileOpener opener); // empty restores the desktop's open

} // namespace GridServices
