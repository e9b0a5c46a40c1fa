#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's main window: an MDI frame.
class TFrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);
    QMdiArea* mdiArea() const { return m_mdi; }

    static QString caption() { return QStringLiteral("Kelmora仓库管理软件") + QStringLiteral("v3.85(网络版) "); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMdiArea* m_mdi;
};
