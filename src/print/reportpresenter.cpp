#include "reportpresenter.h"

namespace {
ReportPresenter* g_reportPresenter = nullptr;
}

ReportPresenter* ReportPresenter::instance()
{
    return g_reportPresenter;
}

void ReportPresenter::setInstance(ReportPresenter* presenter)
{
    g_reportPresenter = presenter;
}
