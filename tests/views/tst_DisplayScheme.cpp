#include <QtTest>
class tst_DisplayScheme : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_DisplayScheme)
#include "tst_DisplayScheme.moc"
