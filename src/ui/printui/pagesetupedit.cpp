#include "pagesetupedit.h"

#include <QPageSetupDialog>
#include <QPrinter>

namespace PageSetupEdit {
bool edit(QWidget* parent, ReportPageSetup& ps)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(ps.paperWidth, ps.paperHeight), QPageSize::Millimeter),
        ps.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(ps.marginLeft, ps.marginTop, ps.marginRight, ps.marginBottom), QPageLayout::Millimeter));
    QPageSetupDialog dlg(&printer, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    const QPageLayout layout = printer.pageLayout();
    const QSizeF size = layout.pageSize().size(QPageSize::Millimeter);
    ps.paperWidth = size.width();
    ps.paperHeight = size.height();
    ps.landscape = layout.orientation() == QPageLayout::Landscape;
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    ps.marginLeft = m.left();
    ps.marginTop = m.top();
    ps.marginRight = m.right();
    ps.marginBottom = m.bottom();
    return true;
}
} // namespace PageSetupEdit
