#pragma once
#include <QString>

// An operator as the password check sees it: the stored name and password, both trimmed; empty when the
// typed name matches no row or more than one (a name standing twice never logs in).
struct StoredOperator {
    QString name;
    QString password;
};

StoredOperator lookUpOperator(const QString &userName);
// The typed password (trimmed) must equal the stored one exactly, and an empty password never passes.
bool passwordAccepted(const QString &typedPassword, const StoredOperator &stored);
