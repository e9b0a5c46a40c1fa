#include "printpresenter.h"

#include "print/reportfonts.h"
#include "print/reportfunctions.h"
#include "reportpreview.h"
#include "templatedesigner.h"

#include <QApplication>

void PrintPresenter::preview(const ReportEngine& engine)
{
    auto* w = new ReportPreview(engine, QApplication::activeWindow());
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
}

void PrintPresenter::design(const ReportEngine& engine, const QString& fileName)
{
    TemplateDesigner designer(engine, fileName, QApplication::activeWindow());
    designer.exec();
}

void PrintPresenter::install()
{
    static PrintPresenter presenter;
    ReportFonts::installSubstitutions();
    ReportFunctions::registerStandard();
    ReportPresenter::setInstance(&presenter);
}
