#pragma once

#include "masterdata/codelistservice.h"

#include <QDialog>

class QAction;
class QTabBar;
class QTableWidget;

// "选项设置": the six code lists on six tabs. Changes are held in the window
// until saved, then written together.
class TFrmCodeMan : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCodeMan(QWidget* parent = nullptr);
    // Action 204: create, place, show modally, destroy.
    static void execute(QWidget* parent);

    bool editing() const { return m_editing; }
    QString currentKind() const { return m_kind; }
    QTableWidget* grid() const { return m_grid; }
    QTabBar* tabs() const { return m_tabs; }

    void tbNewClick();
    void tbEditClick();
    void tbSaveClick();
    void tbCancelClick();
    void tbDelClick();
    void tbPrintClick();
    void tbRefreshClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openList();
    void setEditState(bool editing);
    void selectTab(int index);

    QTabBar* m_tabs;
    QTableWidget* m_grid;
    QAction* m_tbNew;
    QAction* m_tbEdit;
    QAction* m_tbDel;
    QAction* m_tbSave;
    QAction* m_tbCancel;
    QAction* m_tbPrint;
    QAction* m_tbRefresh;
    QAction* m_tbExit;
    QString m_kind;
    QString m_caption;
    QList<CodeEntry> m_original;
    bool m_editing = false;
};
