#include "globals.h"

namespace g {
namespace {
db::Transaction &theTransaction()
{
    // Never destroyed: it must outlive every window, and Qt's SQL registry is gone at static destruction.
    // The application object disconnects it at the end of the run.
    static auto *t = new db::Transaction;
    return *t;
}
} // namespace

db::Transaction &sqlca = theTransaction();
Environment ge_every;
QString name;
QString myname;
QDate rq;
int we_1 = 5;
int acer = 0;
std::array<QString, 31> air;
std::array<QString, 10> dnname;
QString kk;
int ssv = 0;
qint64 handle1 = 0;
QString sclass;

void resetAll()
{
    sqlca.disconnect();
    sqlca.DBMS.clear();
    sqlca.AutoCommit = true;
    sqlca.DBParm.clear();
    sqlca.setOk();
    ge_every = {};
    name.clear();
    myname.clear();
    rq = QDate();
    we_1 = 5;
    acer = 0;
    air.fill(QString());
    dnname.fill(QString());
    kk.clear();
    ssv = 0;
    handle1 = 0;
    sclass.clear();
}
} // namespace g
