#pragma once

#include "masterdata/partnerservice.h"
#include "recordnavigator.h"

#include <QDialog>

class DataGrid;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The partner picker: choose a client or supplier by name.
class TDlgCltXz : public QDialog, public GridRecordNavigator
{
    Q_OBJECT
public:
    explicit TDlgCltXz(QWidget* parent = nullptr);

    // 0 supplier, 1 client.
    void setKind(int kind);
    int kind() const { return m_kind; }
    // The chosen partner's name when confirmed on a non-empty list, otherwise text.
    QString pick(const QString& text);
    // What the document windows call: creates, picks, destroys.
    static QString pickPartner(QWidget* parent, int kind, const QString& text);

    DataGrid* grid() const { return m_grid; }
    QLineEdit* codeBox() const { return m_code; }
    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* phoneBox() const { return m_phone; }
    QTableWidget* leftList() const { return m_left; }
    QPushButton* chooseButton() const { return m_choose; }

    void search() override;
    void choose();
    void addPartner();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    DataGrid* navigatorGrid() const override { return m_grid; }

private:
    void fillLeftList();
    void placeChooseButton();

    int m_kind = PartnerService::Client;
    QString m_result;
    bool m_confirmed = false;
    bool m_reactToLeft = true;
    DataGrid* m_grid;
    QTableWidget* m_left;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QLineEdit* m_phone;
    QPushButton* m_choose;
};
