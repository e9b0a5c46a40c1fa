#pragma once

#include <QDialog>

class QLineEdit;
class QTableWidget;

// The special-symbol picker: entries of one code list kind, searchable, with
// new entries added on the spot.
class TDlgCodeFuHaoXz : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgCodeFuHaoXz(QWidget* parent = nullptr);

    void setKind(const QString& kind, const QString& caption);
    // The chosen entry's name, or an empty text.
    QString pick();
    static QString pickSymbol(QWidget* parent, const QString& kind, const QString& caption);

    QTableWidget* grid() const { return m_grid; }
    QLineEdit* nameBox() const { return m_name; }
    void search();
    void addEntry(const QString& name);
    void choose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const QString& sql, const QVariantMap& params);

    QString m_kind;
    QString m_result;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QTableWidget* m_grid;
};
