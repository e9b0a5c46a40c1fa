#pragma once

#include "data/gridlayout.h"
#include "documents/document.h"
#include "goodpickertarget.h"

#include <QDate>
#include <QList>
#include <QWidget>

struct EntryKind;
class EntryLineModel;
class EntryLineView;
class EntryGridFooter;
class QAction;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class ReportDataSet;

// The document entry window of the eleven ordinary kinds: one design, configured
// by the kind's row of the entry table. Shows the documents of its kind entered
// on one day, one at a time, and creates, edits, deletes, audits, un-audits and
// prints them. objectName is the kind's window class.
class TFrmDeptGl : public QWidget, public GoodPickerTarget
{
    Q_OBJECT
public:
    explicit TFrmDeptGl(int kind, QWidget* parent = nullptr);
    ~TFrmDeptGl() override;

    const EntryKind& entryKind() const { return *m_kind; }
    int kind() const;

    // Set by whoever opens the window: the code to position on when the list is first opened.
    QString LocateCode;
    void setListDate(const QDate& date);
    QDate listDate() const { return m_listDate; }

    bool isBrowsing() const { return m_browse; }
    bool isEditingExisting() const { return m_editFlag; }
    QString currentCode() const { return m_curCode; }
    // The documents of the list (headers), and the one shown (-1 none).
    const QList<Document>& billList() const { return m_list; }
    int currentIndex() const { return m_cur; }
    // The shown document: header fields as the window holds them and its lines.
    Document shownDocument() const;
    EntryLineModel* lineModel() const { return m_lines; }
    EntryLineView* lineView() const { return m_grid; }

    // Life cycle (the tool bar's buttons run these).
    void tbNewClick();
    void tbEditClick();
    void tbDelClick();
    void tbSaveClick();
    void tbCancelClick();
    void tbCheckClick();
    void tbFcheckClick();
    void tbFirstClick();
    void tbPriorClick();
    void tbNextClick();
    void tbLastClick();
    void printTemplate(int index);
    void designTemplate(int index);

    // Line editing.
    void addLine(); // F9: an empty line
    void addLineButton(); // "增行": an empty line or the picker, by kind
    void deleteLine(); // F10
    void openGoodPicker();
    void gridEnter(); // Enter in the line grid
    void barcodeEnter(); // Enter in the barcode field
    void saveGridLayout(); // F12
    void showColumnChooser(); // F11

    // GoodPickerTarget
    Document pickerDocument() const override;
    bool addPickedGood(const QString& goodsCode) override;

    // Lines from outside (Excel import): appended, stamped with the current code, not saved.
    void appendImportedLines(const QList<DocumentLine>& lines);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildUi();
    void buildToolBar(QWidget* bar);
    void buildHeader(QGroupBox* box);
    void fillLists();
    void applyShowSettings();
    void SetBrowseMode(bool browse);
    void OpenBillList(int positionMode, const QString& code = {}, qint64 id = 0);
    void ShowCurrentBill();
    void loadLines(const QString& code);
    void setGridEditable(bool editable);
    void syncHeader();
    Document headerFromFields() const;
    void updateFooter();
    void updateNavButtons();
    bool validateForSave();
    void focusCounterpart();
    QString counterpartText() const;
    void setCounterpartText(const QString& text);
    void pickClient();
    QString operName() const;
    QString formatNumber(const QString& field, double v) const;
    bool printData(ReportDataSet& header, ReportDataSet& lines) const;

    const EntryKind* m_kind;
    bool m_browse = true;
    bool m_editFlag = false;
    bool m_shown = false;
    QString m_curCode;
    QDate m_listDate;
    QList<Document> m_list;
    int m_cur = -1;

    EntryLineModel* m_lines = nullptr;
    EntryLineView* m_grid = nullptr;
    EntryGridFooter* m_footer = nullptr;
    QList<GridColumnDef> m_layoutColumns; // the stored layout of each line column, for saving it back

    QWidget* m_toolBar = nullptr;
    QToolButton *tbNew = nullptr, *tbEdit = nullptr, *tbDel = nullptr, *tbFirst = nullptr, *tbPrior = nullptr,
                *tbNext = nullptr, *tbLast = nullptr, *tbSave = nullptr, *tbCancel = nullptr, *tbCheck = nullptr,
                *tbFcheck = nullptr, *tbPrint = nullptr, *tbSet = nullptr, *tbExit = nullptr;
    QMenu* m_printMenu = nullptr;
    QMenu* m_setMenu = nullptr;
    QList<QAction*> m_printEntries, m_designEntries;
    int m_printDefault = 0;

    QLabel* m_title = nullptr;
    QDateEdit* m_dtpDate = nullptr;
    QLabel* m_lblCheck = nullptr;
    QGroupBox* m_header = nullptr;
    QLineEdit* edtCode = nullptr;
    QDateEdit* dtpMakeDate = nullptr;
    QComboBox* cbbDepot = nullptr;
    QLineEdit* cbeClient = nullptr; // partner field with a button
    QToolButton* m_clientButton = nullptr;
    QComboBox* cbbClient = nullptr; // departments or depots
    QComboBox* cbbEmpName = nullptr;
    QLineEdit* edtOldCode = nullptr;
    QPlainTextEdit* Mem = nullptr;
    QPushButton* m_btnAddLine = nullptr;
    QPushButton* m_btnDelLine = nullptr;
    QFrame* m_barcodePanel = nullptr;
    QLineEdit* edtTM = nullptr;
    QLineEdit* edtTMAmount = nullptr;
    QFrame* m_footerPanel = nullptr;
    QToolButton* sbTM = nullptr;
    QToolButton* sbExcel = nullptr;
    QLineEdit* edtMaker = nullptr;
    QLineEdit* edtAuditer = nullptr;
    QLineEdit* edtDate = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction *m_actAddLine = nullptr, *m_actDelLine = nullptr, *m_actColumns = nullptr, *m_actSaveLayout = nullptr;
};
