#pragma once

#include "reportengine.h"

#include <QString>

// What the print services hand over to be shown: the program installs the
// preview window and the designer, tests a recording presenter.
class ReportPresenter
{
public:
    virtual ~ReportPresenter() = default;
    // Shows the engine's report in the preview.
    virtual void preview(const ReportEngine& engine) = 0;
    // Opens the designer on the engine's template, modally; saving writes fileName.
    virtual void design(const ReportEngine& engine, const QString& fileName) = 0;

    static ReportPresenter* instance();
    // Does not take ownership; nullptr removes it (the services then only prepare).
    static void setInstance(ReportPresenter* presenter);
};
