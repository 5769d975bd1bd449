#include "ProgressLine.h"

namespace roadtally {

ProgressLine::ProgressLine(QTextStream &err, bool shown, const QString &what)
    : m_err(err), m_shown(shown), m_what(what)
{
    if (m_shown)
        draw(m_what + QStringLiteral("..."));
}

ProgressLine::~ProgressLine()
{
    // Carriage return and "erase to end of line": the command's own output
    // starts on a clean line.
    if (m_shown) {
        m_err << "\r\x1b[K";
        m_err.flush();
    }
}

void ProgressLine::percent(int done)
{
    if (!m_shown || done == m_last)
        return;
    if (m_sinceDrawn.isValid() && m_sinceDrawn.elapsed() < 100 && done < 100)
        return;
    m_last = done;
    draw(QStringLiteral("%1: %2 %").arg(m_what).arg(done));
}

void ProgressLine::draw(const QString &text)
{
    m_err << '\r' << text << "\x1b[K";
    m_err.flush();
    m_sinceDrawn.start();
}

} // namespace roadtally
