#include <QtTest>
class tst_SurveyDates : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_SurveyDates)
#include "tst_SurveyDates.moc"
