#pragma once
// A program folder with a blank survey database for the admin tests, and a way to
// store a survey's Header and Summary rows without the import.

#include "store/DatabaseSession.h"
#include "store/Schema.h"
#include "store/SharedState.h"

#include <QTemporaryDir>
#include <QTest>

namespace roadtally::testing {

struct StoredSurvey
{
    QString batch;
    QString date = QStringLiteral("05/24/2001");
    QString time = QStringLiteral("13:45");
    QString location = QStringLiteral("Main Street");
    QString radarMode = QStringLiteral("MPH");
    int totalVehicles = 100;
};

class SurveyFolder
{
public:
    SurveyFolder()
    {
        QVERIFY(m_dir.isValid());
        m_path = databasePathIn(m_dir.path());
        const QString error = createBlankDatabase(m_path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    QString folder() const { return m_dir.path(); }
    QString databasePath() const { return m_path; }

    void store(const StoredSurvey &s) const
    {
        DatabaseSession session(m_path);
        session.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location_Code], "
                                    "[Location], [Date], [Time], [Violation_Alert], "
                                    "[Radar_Mode], [Direction], [Zone]) "
                                    "VALUES (?, '00020', ?, ?, ?, '035', ?, 'North', 'School')"),
                     {s.batch, s.location, s.date, s.time, s.radarMode});
        session.exec(QStringLiteral("INSERT INTO [Summary] ([Batch_Number], [Posted_Limit], "
                                    "[Total_Vehicles], [Start_Date]) VALUES (?, '35', ?, ?)"),
                     {s.batch, s.totalVehicles, s.date});
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace roadtally::testing
