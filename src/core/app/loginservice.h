#pragma once

#include "session.h"

#include <QString>

// Operator login without any window: password check and loading the session.
class LoginService
{
public:
    enum Result { Ok, EmptyCode, UnknownCode, WrongPassword, Disabled };

    // Checks code and password (both compared trimmed, letter case counting).
    static Result check(const QString& code, const QString& password);
    // Loads the session values of the operator: name, role, rights, depot
    // restriction, company title, user-defined field captions. Rights keep their
    // previous values when the operator's row cannot be read.
    static bool loadSession(const QString& code, Session& session);
    // True when the role holds the right of the action (a PartLimit row).
    static bool hasRight(const QString& partCode, int actionCode);
    // The operator's role may use the action ("000" may use every one).
    static bool sessionHasRight(const Session& session, int actionCode);
};
