#pragma once

#include "app/messenger.h"

// The program's messenger: a modal message box per kind, titled "系统提示".
class MessageBoxMessenger : public Messenger
{
public:
    int showMess(const QString& text, int kind) override;
};
