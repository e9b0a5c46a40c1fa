#pragma once

#include "print/reportengine.h"
#include "print/reporttemplate.h"

#include <QDialog>
#include <functional>

class DesignerCanvas;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;

// The template designer: the page with its bands and objects, a property panel,
// the fields of the bound data sets with the variables and functions, undo and
// redo, preview, and save to the template file.
class TemplateDesigner : public QDialog
{
    Q_OBJECT
public:
    // The engine brings the template, the data sets and the value source.
    TemplateDesigner(const ReportEngine& engine, const QString& fileName, QWidget* parent = nullptr);
    ~TemplateDesigner() override;

    const ReportTemplate& reportTemplate() const { return m_tpl; }
    QString fileName() const { return m_fileName; }
    QUndoStack* undoStack() const { return m_undo; }
    DesignerCanvas* canvas() const { return m_canvas; }

    // Selection by object name; false when there is no such object.
    bool selectObject(const QString& name);
    void selectBand(int band);
    int selectedBand() const;
    const ReportObject* selectedObject() const;

    // Edits, each one undoable.
    void modifyTemplate(const std::function<void(ReportTemplate&)>& change, const QString& what, int mergeId = -1);
    void modifySelectedObject(const std::function<void(ReportObject&)>& change, const QString& what, int mergeId = -1);
    void addObject(ReportObject::Type type);
    void addBand(ReportBand::Type type);
    void deleteSelection();
    // Puts an expression into the selected text object (or a new one in the selected band).
    void insertExpression(const QString& expression);

    // Undo support: the template as a command leaves it.
    void setTemplateState(const ReportTemplate& tpl);

public slots:
    bool saveTemplate();
    void previewReport();
    void editPageSetup();
    // Closing with unsaved edits asks whether to save them.
    void reject() override;

private:
    void buildUi();
    void buildDataTree();
    QWidget* buildObjectPanel();
    QWidget* buildBandPanel();
    void refreshProperties();
    void onCanvasEdited(const ReportTemplate& before, const QString& what);
    void nudge(double dx, double dy, bool resize);
    void onTreeActivated(QTreeWidgetItem* item);
    QString mergeKey() const;

    ReportEngine m_engine;
    ReportTemplate m_tpl;
    QString m_fileName;
    QUndoStack* m_undo = nullptr;
    DesignerCanvas* m_canvas = nullptr;
    QTreeWidget* m_tree = nullptr;
    QStackedWidget* m_panels = nullptr;
    bool m_updating = false;

    // Object properties
    QLabel* m_objType = nullptr;
    QLineEdit* m_objName = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QDoubleSpinBox *m_x = nullptr, *m_y = nullptr, *m_w = nullptr, *m_h = nullptr;
    QComboBox* m_font = nullptr;
    QDoubleSpinBox* m_fontSize = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr, *m_underline = nullptr;
    QCheckBox *m_frameL = nullptr, *m_frameT = nullptr, *m_frameR = nullptr, *m_frameB = nullptr;
    QDoubleSpinBox* m_frameWidth = nullptr;
    QComboBox *m_hAlign = nullptr, *m_vAlign = nullptr;
    QCheckBox *m_wrap = nullptr, *m_stretch = nullptr;
    QLineEdit* m_format = nullptr;
    // Band properties
    QLabel* m_bandType = nullptr;
    QLineEdit* m_bandName = nullptr;
    QDoubleSpinBox* m_bandHeight = nullptr;
    QComboBox* m_bandDataSet = nullptr;
    QLineEdit* m_bandCondition = nullptr;
    QLineEdit* m_bandRows = nullptr;
};
