#pragma once

#include "session.h"

#include <QSet>
#include <QString>

// Operator login without any window: password check and loading the session.
class LoginService
{
public:
    enum Result { Ok, EmptyCode, UnknownCode, WrongPassword, Disabled };

    // Checks code and password (code trimmed; passwords compared trimmed, letter
    // case counting). The password is checked before the disabled mark, so a
    // stranger learns nothing about an operator he cannot log in as. "000" is
    // never refused as disabled: nothing in the program can disable it, and
    // locking out the only administrator could not be undone.
    static Result check(const QString& code, const QString& password);
    // Loads the session values of the operator: name, role, rights, depot
    // restriction, company title, user-defined field captions. Rights keep their
    // previous values when the operator's row cannot be read.
    static bool loadSession(const QString& code, Session& session);
    // True when the role holds the right of the action (a PartLimit row).
    static bool hasRight(const QString& partCode, int actionCode);
    // The operator's role may use the action ("000" may use every one).
    static bool sessionHasRight(const Session& session, int actionCode);
    // Every action code the role holds, read at once (the main window asks for
    // all of them at each login). ok is false on a database error.
    static QSet<int> grantedActions(const QString& partCode, bool* ok = nullptr);
    // The operator's name; empty for an unknown code.
    static QString operatorName(const QString& code);
    // The company title: SysInfo's company name, then "(" telephone ")" when there is one.
    static QString companyTitle();

    static QString emptyCodeText() { return QStringLiteral("请选择用户！"); }
    static QString unknownCodeText() { return QStringLiteral("此操作员并不存在，请重新选择操作员！"); }
    static QString wrongPasswordText() { return QStringLiteral("用户名或密码不正确，请重新输入！"); }
    static QString reloginFailedText() { return QStringLiteral("更换操作员失败!"); }
    static QString startupFailedText() { return QStringLiteral("非法操作员!"); }
    static QString disabledText() { return QStringLiteral("此操作员已被停用！"); }
    // Wrong passwords allowed before the fourth ends the attempt.
    static constexpr int maxFailures = 4;
};
