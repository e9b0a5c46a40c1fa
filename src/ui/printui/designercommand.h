#pragma once

#include "print/reporttemplate.h"

#include <QUndoCommand>

class TemplateDesigner;

// One edit in the designer, kept as the whole template before and after
// (templates are small). Edits of the same property of the same object merge.
class DesignerCommand : public QUndoCommand
{
public:
    DesignerCommand(TemplateDesigner* designer, const ReportTemplate& before, const ReportTemplate& after,
        const QString& text, int mergeId = -1, const QString& mergeKey = QString());

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TemplateDesigner* m_designer;
    ReportTemplate m_before;
    ReportTemplate m_after;
    int m_mergeId;
    QString m_mergeKey;
};
