#pragma once

#include <QString>
#include <functional>

class QWidget;

// File dialogs of the preview and the designer, with a seam for tests: a hook
// answers in place of the dialog (an empty answer means "cancelled").
namespace PrintFileDialogs {
using Hook = std::function<QString(const QString& caption, const QString& suggested, const QString& filter)>;

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter);
QString openFileName(QWidget* parent, const QString& caption, const QString& filter);
void setSaveHook(const Hook& hook);
void setOpenHook(const Hook& hook);
} // namespace PrintFileDialogs
