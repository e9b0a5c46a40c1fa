#include "printfiledialogs.h"

#include <QFileDialog>

namespace PrintFileDialogs {
namespace {
Hook& saveHookRef()
{
    static Hook h;
    return h;
}

Hook& openHookRef()
{
    static Hook h;
    return h;
}
} // namespace

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter)
{
    if (saveHookRef())
        return saveHookRef()(caption, suggested, filter);
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

QString openFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    if (openHookRef())
        return openHookRef()(caption, QString(), filter);
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

void setSaveHook(const Hook& hook)
{
    saveHookRef() = hook;
}

void setOpenHook(const Hook& hook)
{
    openHookRef() = hook;
}
} // namespace PrintFileDialogs
