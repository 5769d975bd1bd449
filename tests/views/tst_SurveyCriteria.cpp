#include <QtTest>
class tst_SurveyCriteria : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_SurveyCriteria)
#include "tst_SurveyCriteria.moc"
