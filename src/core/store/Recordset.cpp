#include "core/store/Recordset.h"

namespace roadtally {

Recordset::Recordset(DatabaseSession &session, const QString &source, const QVariantList &values)
    : m_session(session)
{
    m_session.requireOpen();
    m_cursor.load(m_session, source, values);
}

bool Recordset::bof() const
{
    return m_cursor.bof();
}
bool Recordset::eof() const
{
    return m_cursor.eof();
}
int Recordset::recordCount() const
{
    return m_cursor.recordCount();
}
int Recordset::position() const
{
    return m_cursor.position();
}

void Recordset::moveFirst()
{
    m_cursor.moveFirst();
}
void Recordset::moveNext()
{
    m_cursor.moveNext();
}
void Recordset::movePrevious()
{
    m_cursor.movePrevious();
}
void Recordset::moveLast()
{
    m_cursor.moveLast();
}
void Recordset::moveTo(int row)
{
    m_cursor.moveTo(row);
}

QVariant Recordset::field(const QString &name) const
{
    return m_cursor.field(name);
}
QVariant Recordset::field(int column) const
{
    return m_cursor.field(column);
}

QString Recordset::text(const QString &name) const
{
    const QVariant v = m_cursor.field(name);
    return v.isNull() ? QString() : v.toString();
}

QStringList Recordset::fieldNames() const
{
    return m_cursor.fieldNames();
}

void Recordset::addNew()
{
    m_cursor.addNew();
}
void Recordset::edit()
{
    m_cursor.edit();
}
void Recordset::setField(const QString &name, const QVariant &value)
{
    m_cursor.setField(name, value);
}
void Recordset::update()
{
    m_cursor.update(m_session);
}
void Recordset::cancelUpdate()
{
    m_cursor.cancelUpdate();
}
void Recordset::remove()
{
    m_cursor.remove(m_session);
}

bool Recordset::findFirst(const QString &fieldName, const QVariant &value)
{
    return m_cursor.findFirst(fieldName, value);
}

bool Recordset::findFirst(const std::function<bool(const Recordset &)> &matches)
{
    const RowCursor::State before = m_cursor.state();
    const RowCursor::Mode mode = m_cursor.mode();
    if (mode != RowCursor::Mode::None)
        m_cursor.cancelUpdate();
    for (int i = 0; i < m_cursor.recordCount(); ++i) {
        m_cursor.moveTo(i);
        if (matches(*this))
            return true;
    }
    m_cursor.restore(before);
    return false;
}

QString Recordset::tableName() const
{
    return m_cursor.tableName();
}

} // namespace roadtally
