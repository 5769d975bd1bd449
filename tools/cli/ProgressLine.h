#pragma once
// A progress line on standard error for work that can take seconds, for a
// person at a terminal: "Importing Week.ovd: 40 %", rewritten in place and
// wiped when the work ends. Where progress is off (standard error is no
// terminal: scripts, tests) it writes nothing at all.

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace roadtally {

class ProgressLine
{
public:
    ProgressLine(QTextStream &err, bool shown, const QString &what);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // The share done, 0 to 100; a line is redrawn at most a few times a second.
    void percent(int done);

private:
    void draw(const QString &text);

    QTextStream &m_err;
    bool m_shown;
    QString m_what;
    int m_last = -1;
    QElapsedTimer m_sinceDrawn;
};

} // namespace roadtally
