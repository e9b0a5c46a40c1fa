#pragma once

#include "print/reportpresenter.h"

// The program's presenter: the preview window (non-modal, freed on close) and the
// designer (modal), as the print services ask for them.
class PrintPresenter : public ReportPresenter
{
public:
    void preview(const ReportEngine& engine) override;
    void design(const ReportEngine& engine, const QString& fileName) override;

    // Fonts, MoneyMinToBig and this presenter, once at start-up.
    static void install();
};
