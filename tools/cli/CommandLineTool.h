#pragma once
// roadtally-cli: batch import of raw data files and scripted checks, on the same
// core code path as the processing window.
//   init   --folder DIR                  a blank OV97.mdb and ov97.emp in DIR
//   import --folder DIR FILE [options]   process FILE into DIR/OV97.mdb
//   list   --folder DIR                  one line per stored survey

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace roadtally {

class CommandLineTool
{
public:
    // Exit codes: the command did its work, failed (with the program's message),
    // or was not understood.
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    CommandLineTool(QTextStream &out, QTextStream &err);

    // Runs one command; arguments without the program name.
    int run(const QStringList &arguments);

    // One line of the survey list: batch number, date, time and location with the
    // separators of the "Open / Select Survey" list.
    static QString surveyLine(const QString &batchNumber, const QString &date, const QString &time,
                              const QString &location);

private:
    int init(const QStringList &arguments);
    int importFile(const QStringList &arguments);
    int list(const QStringList &arguments);
    int usage(const QString &command, const QString &problem);

    QTextStream &m_out;
    QTextStream &m_err;
};

} // namespace roadtally
