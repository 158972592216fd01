#include "fixture.h"
#include <QtTest>
class tst_smoke : public QObject { Q_OBJECT private slots: void builds() { Fixture f; QVERIFY(f.connect()); } };
QTEST_MAIN(tst_smoke)
#include "tst_smoke.moc"
