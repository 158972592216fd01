#pragma once
#include "platform/export.h"
#include "platform/transaction.h"
#include <QDate>
#include <QSize>
#include <QString>
#include <array>

// The application-wide globals. They live once in this shared library, so the program and both
// libraries see the same values. Arrays are indexed from 1 as the windows speak of them: slot 0 is unused.
namespace g {
struct Environment {
    int screenWidth = 0;  // pixels
    int screenHeight = 0; // pixels
};

COMMON_EXPORT extern db::Transaction &sqlca;
COMMON_EXPORT extern Environment ge_every;
COMMON_EXPORT extern QString name;
COMMON_EXPORT extern QString myname;
COMMON_EXPORT extern QDate rq;
COMMON_EXPORT extern int we_1;
COMMON_EXPORT extern int acer;
COMMON_EXPORT extern std::array<QString, 31> air;    // slots 1..30
COMMON_EXPORT extern std::array<QString, 10> dnname; // slots 1..9
COMMON_EXPORT extern QString kk;
COMMON_EXPORT extern int ssv;
COMMON_EXPORT extern qint64 handle1;
COMMON_EXPORT extern QString sclass;

// Back to the values of a fresh start (tests run several starts in one process).
COMMON_EXPORT void resetAll();
} // namespace g
