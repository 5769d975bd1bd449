#include "core/store/BoundDataSource.h"

#include "core/store/DatabaseSession.h"

#include <QDebug>
#include <QSet>

namespace roadtally {

namespace {

// Every source alive in the process (one thread: no lock needed).
QSet<BoundDataSource *> &liveSources()
{
    static QSet<BoundDataSource *> sources;
    return sources;
}

} // namespace

BoundDataSource::BoundDataSource(QObject *parent) : QObject(parent)
{
    liveSources().insert(this);
}

BoundDataSource::~BoundDataSource()
{
    liveSources().remove(this);
}

int BoundDataSource::releaseAll()
{
    int released = 0;
    const QSet<BoundDataSource *> sources = liveSources();
    for (BoundDataSource *source : sources) {
        if (!liveSources().contains(source))
            continue; // gone while another one let go
        if (source->m_cursor.hasChanges())
            source->writePending();
        if (source->m_cursor.recordCount() > 0)
            ++released;
        source->close();
    }
    return released;
}

QString BoundDataSource::databaseName() const
{
    return m_database;
}

void BoundDataSource::setDatabaseName(const QString &path)
{
    m_database = path;
}

QString BoundDataSource::recordSource() const
{
    return m_source;
}

void BoundDataSource::setRecordSource(const QString &tableOrSelect, const QVariantList &values)
{
    m_source = tableOrSelect;
    m_values = values;
}

QString BoundDataSource::errorText() const
{
    return m_error;
}

bool BoundDataSource::refresh()
{
    m_error.clear();
    m_cursor.clear();
    bool ok = false;
    if (m_source.trimmed().isEmpty()) {
        m_error = QStringLiteral("No record source is set.");
    } else {
        // The session is closed again at the end of this block: nothing stays open.
        DatabaseSession session(m_database);
        if (!session.isOpen()) {
            m_error = session.errorText();
        } else {
            try {
                m_cursor.load(session, m_source, m_values);
                ok = true;
            } catch (const DatabaseError &e) {
                m_cursor.clear();
                m_error = QString::fromStdString(e.what());
            }
        }
    }
    Q_EMIT currentChanged();
    return ok;
}

bool BoundDataSource::bof() const
{
    return m_cursor.bof();
}

bool BoundDataSource::eof() const
{
    return m_cursor.eof();
}

int BoundDataSource::recordCount() const
{
    return m_cursor.recordCount();
}

int BoundDataSource::position() const
{
    return m_cursor.position();
}

bool BoundDataSource::writePending()
{
    if (!m_cursor.hasChanges())
        return true;
    DatabaseSession session(m_database);
    try {
        session.requireOpen();
        m_cursor.update(session);
        return true;
    } catch (const DatabaseError &e) {
        m_error = QStringLiteral("The changes could not be written to %1: %2")
                      .arg(m_database, QString::fromStdString(e.what()));
        m_cursor.cancelUpdate();
        Q_EMIT writeFailed(m_error);
        return false;
    }
}

bool BoundDataSource::moveFirst()
{
    const bool written = writePending();
    m_cursor.moveFirst();
    Q_EMIT currentChanged();
    return written;
}

bool BoundDataSource::moveNext()
{
    const bool written = writePending();
    m_cursor.moveNext();
    Q_EMIT currentChanged();
    return written;
}

bool BoundDataSource::movePrevious()
{
    const bool written = writePending();
    m_cursor.movePrevious();
    Q_EMIT currentChanged();
    return written;
}

bool BoundDataSource::moveLast()
{
    const bool written = writePending();
    m_cursor.moveLast();
    Q_EMIT currentChanged();
    return written;
}

QVariant BoundDataSource::field(const QString &name) const
{
    return m_cursor.field(name);
}

QString BoundDataSource::text(const QString &name) const
{
    const QVariant v = m_cursor.field(name);
    return v.isNull() ? QString() : v.toString();
}

QStringList BoundDataSource::fieldNames() const
{
    return m_cursor.fieldNames();
}

QVariant BoundDataSource::value(int row, int column) const
{
    return m_cursor.value(row, column);
}

bool BoundDataSource::findFirst(const QString &fieldName, const QVariant &value)
{
    writePending();
    bool found = false;
    try {
        found = m_cursor.findFirst(fieldName, value);
    } catch (const DatabaseError &e) {
        m_error = QString::fromStdString(e.what());
    }
    if (found)
        Q_EMIT currentChanged();
    return found;
}

bool BoundDataSource::addNew()
{
    const bool written = writePending();
    try {
        m_cursor.addNew();
    } catch (const DatabaseError &e) {
        m_error = QString::fromStdString(e.what());
        return false;
    }
    Q_EMIT currentChanged();
    return written;
}

void BoundDataSource::edit()
{
    try {
        if (m_cursor.mode() == RowCursor::Mode::None)
            m_cursor.edit();
    } catch (const DatabaseError &e) {
        m_error = QString::fromStdString(e.what());
    }
}

void BoundDataSource::setField(const QString &name, const QVariant &value)
{
    try {
        if (m_cursor.mode() == RowCursor::Mode::None)
            m_cursor.edit();
        m_cursor.setField(name, value);
    } catch (const DatabaseError &e) {
        m_error = QString::fromStdString(e.what());
    }
}

bool BoundDataSource::hasChanges() const
{
    return m_cursor.hasChanges();
}

bool BoundDataSource::update()
{
    if (!m_cursor.hasChanges())
        return true;
    m_error.clear();
    qint64 rowid = -1;
    {
        DatabaseSession session(m_database);
        try {
            session.requireOpen();
            m_cursor.update(session);
            rowid = m_cursor.currentRowid();
        } catch (const DatabaseError &e) {
            m_error = QString::fromStdString(e.what());
            m_cursor.cancelUpdate();
            Q_EMIT currentChanged();
            return false;
        }
    }
    // Read the rows again (others may have written meanwhile) and stand on the written row.
    const QString keep = m_error;
    if (!refresh())
        return false;
    const int row = m_cursor.rowOf(rowid);
    if (row >= 0) {
        m_cursor.moveTo(row);
        Q_EMIT currentChanged();
    }
    return keep.isEmpty();
}

bool BoundDataSource::remove()
{
    m_error.clear();
    DatabaseSession session(m_database);
    try {
        session.requireOpen();
        m_cursor.remove(session);
    } catch (const DatabaseError &e) {
        m_error = QString::fromStdString(e.what());
        return false;
    }
    Q_EMIT currentChanged();
    return true;
}

void BoundDataSource::close()
{
    m_cursor.clear();
    Q_EMIT currentChanged();
}

} // namespace roadtally
