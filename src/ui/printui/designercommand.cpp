#include "designercommand.h"

#include "templatedesigner.h"

DesignerCommand::DesignerCommand(TemplateDesigner* designer, const ReportTemplate& before, const ReportTemplate& after,
    const QString& text, int mergeId, const QString& mergeKey)
    : QUndoCommand(text)
    , m_designer(designer)
    , m_before(before)
    , m_after(after)
    , m_mergeId(mergeId)
    , m_mergeKey(mergeKey)
{ }

void DesignerCommand::undo()
{
    m_designer->setTemplateState(m_before);
}

void DesignerCommand::redo()
{
    m_designer->setTemplateState(m_after);
}

bool DesignerCommand::mergeWith(const QUndoCommand* other)
{
    const auto* o = static_cast<const DesignerCommand*>(other);
    if (o->m_mergeKey != m_mergeKey)
        return false;
    m_after = o->m_after;
    return true;
}
