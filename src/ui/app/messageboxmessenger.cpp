#include "messageboxmessenger.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

int MessageBoxMessenger::showMess(const QString& text, int kind)
{
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("系统提示"));
    box.setText(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    switch (kind) {
    case Question: {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no); // closing the box counts as no
        box.exec();
        return box.clickedButton() == yes ? Yes : No;
    }
    case Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Error:
        box.setIcon(QMessageBox::Critical);
        break;
    default:
        box.setIcon(QMessageBox::Information);
        break;
    }
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
    return 0;
}
