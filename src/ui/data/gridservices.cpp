#include "gridservices.h"

#include "app/dispformpos.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/export/gridexporter.h"
#include "data/gridformat.h"
#include "data/gridlayout.h"
#include "datagrid.h"
#include "frmdispfieldxz.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTableView>
#include <QUrl>

namespace GridServices {

namespace {
SaveDialog g_saveDialog;
DialogRunner g_dialogRunner;
FileOpener g_fileOpener;

bool gsOperatorSeesPrices()
{
    const Session& s = Session::current();
    return s.isAdmin() || s.rPrice;
}

bool gsDefaultSaveDialog(
    QWidget* parent, const QString& defaultName, const QStringList& filters, QString* chosenFilter, QString* fileName)
{
    QFileDialog dlg(parent, QStringLiteral("导出"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(*chosenFilter);
    // No default suffix here: the chosen file type decides the extension (below), so a
    // name typed for a text file never becomes "name.XLS.txt".
    dlg.selectFile(defaultName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    *fileName = dlg.selectedFiles().constFirst();
    *chosenFilter = dlg.selectedNameFilter();
    return true;
}
} // namespace

void setSaveDialog(SaveDialog dialog)
{
    g_saveDialog = std::move(dialog);
}

void setDialogRunner(DialogRunner runner)
{
    g_dialogRunner = std::move(runner);
}

void setFileOpener(FileOpener opener)
{
    g_fileOpener = std::move(opener);
}

bool loadLayout(DataGrid* grid, const QString& gridKey)
{
    QList<GridColumnDef> cols;
    const GridLayout::LoadResult r = GridLayout::load(gridKey, cols);
    // Rows read before an error still make the layout, as they would have been added one by one.
    if (r == GridLayout::LoadResult::Loaded || (r == GridLayout::LoadResult::Failed && !cols.isEmpty()))
        grid->setColumns(cols);
    return r != GridLayout::LoadResult::Failed;
}

int saveLayout(DataGrid* grid, const QString& gridKey)
{
    return GridLayout::save(gridKey, grid->columns());
}

bool saveLayoutAsked(DataGrid* grid, const QString& gridKey)
{
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), Messenger::Question) != Messenger::Yes)
        return false;
    return saveLayout(grid, gridKey) == 0;
}

bool chooseColumns(DataGrid* grid, QWidget* parent)
{
    TFrmDispFieldXZ dlg(grid, parent ? parent : grid->window());
    DispFormPos(&dlg, 1);
    const int rc = g_dialogRunner ? g_dialogRunner(&dlg) : dlg.exec();
    return rc == QDialog::Accepted;
}

void formatGrid(DataGrid* grid, int scheme, int priceHandling)
{
    const bool sees = gsOperatorSeesPrices();
    for (int i = grid->columnCount() - 1; i >= 0; --i) {
        const GridColumnDef c = grid->column(i);
        switch (GridFormat::priceAction(c.fieldName, priceHandling, sees)) {
        case GridFormat::PriceAction::Remove:
            grid->removeColumn(i);
            break;
        case GridFormat::PriceAction::Hide:
            grid->setColumnVisible(i, false);
            break;
        case GridFormat::PriceAction::Keep:
            break;
        }
    }
    const GridFormat::Formats formats = GridFormat::Formats::fromOptions(SysOptions::current());
    for (int i = 0; i < grid->columnCount(); ++i) {
        GridColumnDef c = grid->column(i);
        const GridFormat::ColumnFormat f = GridFormat::formatFor(c.fieldName, scheme, formats);
        if (!f.matched)
            continue;
        c.displayFormat = f.displayFormat;
        if (f.footerSum)
            c.footerType = GridColumnDef::FooterSum;
        grid->setColumn(i, c);
    }
}

void applyUserFields(DataGrid* grid)
{
    static const char* names[11]
        = {"F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5", "F_SZ1", "F_SZ2", "F_SZ3", "F_RQ1", "F_RQ2", "F_RQ3"};
    const Session& s = Session::current();
    for (int i = 0; i < 11; ++i) {
        const int col = grid->columnOf(QLatin1String(names[i]));
        if (col >= 0)
            grid->setColumnCaption(col, s.zfCaptions[i]);
    }
    for (int i = 0; i < 11; ++i) {
        const int col = grid->columnOf(QLatin1String(names[i]));
        if (col >= 0)
            grid->setColumnVisible(col, s.zfShown[i]);
    }
}

void prepareLineGrid(DataGrid* grid)
{
    grid->setEditable(true);
    grid->setEllipsisField(QStringLiteral("F_goodName"));
    for (int i = 0; i < grid->columnCount(); ++i)
        grid->setColumnReadOnly(i, false);
    for (const char* f : {"F_goodName", "F_type", "F_spec", "F_address", "F_unit"}) {
        const int col = grid->columnOf(QLatin1String(f));
        if (col >= 0)
            grid->setColumnReadOnly(col, true);
    }
}

double gridAmountTotal(DataGrid* grid)
{
    if (gsOperatorSeesPrices()) {
        const int col = grid->columnOf(QStringLiteral("F_totalPrice"));
        if (col >= 0 && grid->column(col).footerType == GridColumnDef::FooterSum)
            return grid->footerSum(col);
        // Without a sum footer the column still has its amounts: add them up.
        grid->fetchAll();
        return grid->model()->sum(QStringLiteral("F_totalPrice"));
    }
    // The price columns may be gone; a temporary column on the field gives the sum.
    GridColumnDef tmp;
    tmp.fieldName = QStringLiteral("F_totalprice");
    tmp.caption = QStringLiteral("金额");
    tmp.footerType = GridColumnDef::FooterSum;
    tmp.displayFormat = SysOptions::current().amountFormat();
    tmp.visible = false;
    const int col = grid->addColumn(tmp);
    const double sum = grid->footerSum(col);
    grid->removeColumn(col);
    return sum;
}

void enableButtons(QWidget* window, bool enabled)
{
    if (!window)
        return;
    for (const char* name : {"tbFirst", "tbPrior", "tbNext", "tbLast", "tbPrint", "tbSet", "tbExport"}) {
        const QString n = QLatin1String(name);
        if (auto* w = window->findChild<QWidget*>(n))
            w->setEnabled(enabled);
        if (auto* a = window->findChild<QAction*>(n))
            a->setEnabled(enabled);
    }
}

QString exportGrid(DataGrid* grid, const QString& defaultFileName, int fileType, QWidget* parent)
{
    const QStringList filters = GridExporter::filters();
    QString chosen = filters.value(qBound(1, fileType, int(filters.size())) - 1);
    QString fileName;
    QWidget* p = parent ? parent : grid->window();
    const bool ok = g_saveDialog ? g_saveDialog(p, defaultFileName, filters, &chosen, &fileName)
                                 : gsDefaultSaveDialog(p, defaultFileName, filters, &chosen, &fileName);
    if (!ok || fileName.isEmpty())
        return {};
    int type = GridExporter::typeOfFilter(chosen);
    if (type == 0)
        type = qBound(1, fileType, 6);
    fileName = GridExporter::withExtension(fileName, type);
    QString error;
    if (!GridExporter::write(grid->exportTable(), fileName, type, &error)) {
        ShowMess(QStringLiteral("导出失败：") + error, Messenger::Error);
        return {};
    }
    const QString question
        = QStringLiteral("导出 “") + QFileInfo(fileName).fileName() + QStringLiteral("” 成功，打开该文件吗？");
    if (ShowMess(question, Messenger::Question) == Messenger::Yes) {
        if (g_fileOpener)
            g_fileOpener(fileName);
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    }
    return fileName;
}

QMenu* installGridMenu(DataGrid* grid, const QString& gridKey)
{
    auto* menu = new QMenu(grid);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = menu->addAction(QStringLiteral("显示字段列表"));
    n1->setObjectName(QStringLiteral("N1"));
    QAction* n2 = menu->addAction(QStringLiteral("保存当前设置"));
    n2->setObjectName(QStringLiteral("N2"));
    QObject::connect(n1, &QAction::triggered, grid, [grid] { chooseColumns(grid); });
    QObject::connect(n2, &QAction::triggered, grid, [grid, gridKey] { saveLayoutAsked(grid, gridKey); });
    QTableView* v = grid->view();
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(v, &QWidget::customContextMenuRequested, menu,
        [menu, v](const QPoint& pos) { menu->popup(v->viewport()->mapToGlobal(pos)); });
    return menu;
}

} // namespace GridServices
