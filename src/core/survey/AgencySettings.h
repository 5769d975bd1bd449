#pragma once
// The agency that heads the reports, the officers who may sign them and the two
// report options: read and written for the "Administration Setup" window and
// read for the report frame (readReportFrame). Every officer name reaches SQL as a bound
// value, so names such as O'Brien need no care from the caller.

#include <QString>
#include <QVector>

#include <optional>

namespace roadtally {

class DatabaseSession;

// The row the officer list gets when the table is empty.
inline constexpr const char *OfficerPlaceholder = "(Officer Name)";

struct AgencyInfo
{
    QString name;     // Admin_Agency: the report title
    QString address1; // Addr1
    QString address2; // Addr2

    bool operator==(const AgencyInfo &) const = default;
};

struct ReportOptions
{
    bool printName = false; // Radar.Print_Name is "1"
    bool printDate = false; // Radar.Print_Date is "1"

    bool operator==(const ReportOptions &) const = default;
};

// One row of table Officer. id is the row's identity in the table, so that two
// officers of the same name stay two rows.
struct OfficerRow
{
    qint64 id = -1;
    QString name; // empty for a row without a name

    bool operator==(const OfficerRow &) const = default;
};

// The first Agency row (empty texts when the table has none).
AgencyInfo readAgency(DatabaseSession &session);
// Writes the first Agency row; adds one when the table has none.
void writeAgency(DatabaseSession &session, const AgencyInfo &agency);

// The Radar row's two options; an option is set only when its field holds 1.
ReportOptions readReportOptions(DatabaseSession &session);
// Stores both options as "1" or "0" in the Radar row (adds the row when missing).
void writeReportOptions(DatabaseSession &session, const ReportOptions &options);
// Stores one option, leaving the other as it is.
void writePrintName(DatabaseSession &session, bool on);
void writePrintDate(DatabaseSession &session, bool on);

// The officer rows in the order they were stored.
QVector<OfficerRow> readOfficers(DatabaseSession &session);
// The list the window shows: adds the placeholder row when the table is empty,
// then reads the rows.
QVector<OfficerRow> rebuildOfficerList(DatabaseSession &session);
// The first row whose name equals name exactly (a row without a name matches "").
std::optional<OfficerRow> findOfficer(DatabaseSession &session, const QString &name);
// Why name cannot be an officer's ("" when it can): another row (not exceptId)
// holds the same name, without regard to case and surrounding blanks. Two
// officers of one name could not be told apart in the list or on a report.
QString officerNameProblem(DatabaseSession &session, const QString &name, qint64 exceptId = -1);
// Adds a row; returns it.
OfficerRow addOfficer(DatabaseSession &session, const QString &name);
// Changes the name of a row; false when the row is gone.
bool renameOfficer(DatabaseSession &session, qint64 id, const QString &name);
// Deletes a row; false when it was gone already.
bool deleteOfficer(DatabaseSession &session, qint64 id);

} // namespace roadtally
