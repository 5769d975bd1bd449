#pragma once
// roadtally-cli: batch import of raw data files, views and reports of stored
// surveys and upkeep of the survey database, for scripts, on the same core code
// as the windows. The commands are listed in Commands.cpp.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace roadtally {

class CommandLineTool
{
public:
    CommandLineTool(QTextStream &out, QTextStream &err);

    // Runs one command; arguments without the program name. Returns the exit
    // status (an ExitCode).
    int run(const QStringList &arguments);

    // Long work writes a progress line on the error stream (off by default:
    // the program turns it on when standard error is a terminal).
    void setProgressShown(bool shown) { m_progress = shown; }

    // One line of the survey list: batch number, date, time and location with the
    // separators of the "Open / Select Survey" list.
    static QString surveyLine(const QString &batchNumber, const QString &date, const QString &time,
                              const QString &location);

private:
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_progress = false;
};

} // namespace roadtally
