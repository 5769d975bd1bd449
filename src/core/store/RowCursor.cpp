#include "core/store/RowCursor.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace roadtally {

namespace {

const QString RowidColumn = QStringLiteral("rt__rowid");

QString quoted(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + n + QLatin1Char(']');
}

bool isSelection(const QString &source)
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(source).hasMatch();
}

QString stripBrackets(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

// The table a selection reads: the first name after FROM.
QString tableOfSelection(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("\\bfrom\\s+(\\[[^\\]]+\\]|[A-Za-z_][A-Za-z0-9_]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sql);
    return m.hasMatch() ? stripBrackets(m.captured(1)) : QString();
}

// Selections whose rows are not rows of the table (distinct lists, aggregates,
// joins) cannot be written back.
bool readsPlainRows(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\s+distinct\\b|\\b(count|max|min|avg|sum|total|group_concat)"
                       "\\s*\\(|\\bgroup\\s+by\\b|\\bjoin\\b|\\bunion\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return !re.match(sql).hasMatch();
}

QString rtrimmed(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

bool isText(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray ||
           v.typeId() == QMetaType::QChar;
}

} // namespace

void RowCursor::clear()
{
    m_table.clear();
    m_writable = false;
    m_names.clear();
    m_index.clear();
    m_rows.clear();
    m_rowids.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_deleted = false;
    cancelUpdate();
}

void RowCursor::load(DatabaseSession &session, const QString &source, const QVariantList &values)
{
    clear();
    QString sql;
    QString fallback;
    if (isSelection(source)) {
        m_table = tableOfSelection(source);
        fallback = source;
        if (!m_table.isEmpty() && readsPlainRows(source)) {
            static const QRegularExpression head(QStringLiteral("^\\s*select\\s+"),
                                                 QRegularExpression::CaseInsensitiveOption);
            sql = source;
            sql.replace(head, QStringLiteral("SELECT rowid AS %1, ").arg(RowidColumn));
        }
    } else {
        m_table = stripBrackets(source);
        sql = QStringLiteral("SELECT rowid AS %1, * FROM %2 ORDER BY rowid")
                  .arg(RowidColumn, quoted(m_table));
    }

    QSqlQuery query;
    bool withRowid = !sql.isEmpty();
    if (withRowid) {
        try {
            query = session.exec(sql, values);
        } catch (const DatabaseError &) {
            if (fallback.isEmpty())
                throw;
            withRowid = false; // the selection does not allow a rowid: read only
        }
    }
    if (!withRowid)
        query = session.exec(fallback, values);

    const QSqlRecord record = query.record();
    const int first = withRowid ? 1 : 0;
    for (int i = first; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        m_index.insert(name.toLower(), int(m_names.size()));
        m_names << name;
    }
    const int width = int(m_names.size());
    while (query.next()) {
        QVector<QVariant> row(width);
        for (int i = 0; i < width; ++i)
            row[i] = query.value(first + i);
        m_rows.append(row);
        if (withRowid)
            m_rowids.append(query.value(0).toLongLong());
    }
    m_writable = withRowid;
    moveFirst();
}

int RowCursor::position() const
{
    return hasCurrent() ? m_pos : -1;
}

bool RowCursor::hasCurrent() const
{
    return !m_bof && !m_eof && !m_deleted && m_pos >= 0 && m_pos < m_rows.size();
}

void RowCursor::setPosition(int pos)
{
    cancelUpdate();
    m_deleted = false;
    const int n = int(m_rows.size());
    if (n == 0) {
        m_pos = -1;
        m_bof = m_eof = true;
    } else if (pos < 0) {
        m_pos = -1;
        m_bof = true;
        m_eof = false;
    } else if (pos >= n) {
        m_pos = n;
        m_bof = false;
        m_eof = true;
    } else {
        m_pos = pos;
        m_bof = m_eof = false;
    }
}

void RowCursor::moveFirst()
{
    setPosition(0);
}

void RowCursor::moveLast()
{
    setPosition(int(m_rows.size()) - 1);
}

void RowCursor::moveNext()
{
    if (m_eof)
        return;
    // After a delete the row that followed already sits at m_pos.
    setPosition(m_deleted ? m_pos : m_pos + 1);
}

void RowCursor::movePrevious()
{
    if (m_bof)
        return;
    setPosition(m_pos - 1);
}

void RowCursor::moveTo(int row)
{
    if (row >= 0 && row < m_rows.size())
        setPosition(row);
}

int RowCursor::columnOf(const QString &name) const
{
    return m_index.value(name.toLower(), -1);
}

QVariant RowCursor::field(const QString &name) const
{
    if (m_mode != Mode::None) {
        for (int i = int(m_changedNames.size()) - 1; i >= 0; --i)
            if (m_changedNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return m_changedValues.at(i);
        if (m_mode == Mode::Adding)
            return QVariant();
    }
    const int column = columnOf(name);
    if (!hasCurrent() || column < 0)
        return QVariant();
    return m_rows.at(m_pos).at(column);
}

QVariant RowCursor::field(int column) const
{
    if (column < 0 || column >= m_names.size())
        return QVariant();
    if (m_mode != Mode::None)
        return field(m_names.at(column));
    return hasCurrent() ? m_rows.at(m_pos).at(column) : QVariant();
}

QVariant RowCursor::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_names.size())
        return QVariant();
    return m_rows.at(row).at(column);
}

qint64 RowCursor::currentRowid() const
{
    return hasCurrent() && m_writable ? m_rowids.at(m_pos) : -1;
}

void RowCursor::requireWritable() const
{
    if (!m_writable)
        throw DatabaseError(QStringLiteral("The rows of this selection cannot be changed (%1).")
                                .arg(m_table)
                                .toStdString());
}

void RowCursor::addNew()
{
    requireWritable();
    cancelUpdate();
    m_mode = Mode::Adding;
}

void RowCursor::edit()
{
    requireWritable();
    if (!hasCurrent())
        throw DatabaseError("There is no current row to edit.");
    cancelUpdate();
    m_mode = Mode::Editing;
}

void RowCursor::setField(const QString &name, const QVariant &value)
{
    if (m_mode == Mode::None)
        throw DatabaseError(QStringLiteral("Field %1 set without adding or editing a row.")
                                .arg(name)
                                .toStdString());
    for (int i = 0; i < m_changedNames.size(); ++i) {
        if (m_changedNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_changedValues[i] = value;
            return;
        }
    }
    m_changedNames << name;
    m_changedValues << value;
}

void RowCursor::cancelUpdate()
{
    m_mode = Mode::None;
    m_changedNames.clear();
    m_changedValues.clear();
}

void RowCursor::update(DatabaseSession &session)
{
    if (m_mode == Mode::None)
        throw DatabaseError("Update without adding or editing a row.");
    QStringList columns;
    for (const QString &name : m_changedNames)
        columns << quoted(name);
    const QVariantList values(m_changedValues.cbegin(), m_changedValues.cend());

    if (m_mode == Mode::Adding) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table));
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(m_table), columns.join(QStringLiteral(", ")),
                           marks.join(QStringLiteral(", ")));
        }
        QSqlQuery q = session.exec(sql, values);
        const qint64 rowid = q.lastInsertId().toLongLong();
        m_rows.append(QVector<QVariant>(m_names.size()));
        m_rowids.append(rowid);
        cancelUpdate();
        setPosition(int(m_rows.size()) - 1);
        reread(session, m_pos);
        return;
    }

    if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString &c : columns)
            sets << c + QStringLiteral(" = ?");
        QVariantList bound = values;
        bound << m_rowids.at(m_pos);
        session.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                         .arg(quoted(m_table), sets.join(QStringLiteral(", "))),
                     bound);
    }
    cancelUpdate();
    reread(session, m_pos);
}

// Takes the stored values of a written row back from the table, so the cursor
// shows what the columns hold (numbers stored as numbers, unset fields null).
void RowCursor::reread(DatabaseSession &session, int row)
{
    QSqlQuery q =
        session.exec(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(m_table)),
                     {m_rowids.at(row)});
    if (!q.next())
        return;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) {
        const int col = columnOf(rec.fieldName(i));
        if (col >= 0)
            m_rows[row][col] = q.value(i);
    }
}

void RowCursor::remove(DatabaseSession &session)
{
    requireWritable();
    if (!hasCurrent())
        throw DatabaseError("There is no current row to delete.");
    cancelUpdate();
    session.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_table)),
                 {m_rowids.at(m_pos)});
    m_rows.remove(m_pos);
    m_rowids.remove(m_pos);
    m_deleted = true;
    if (m_rows.isEmpty()) {
        // Nothing left: the next move forward meets the end.
        m_bof = false;
        m_pos = 0;
    }
}

bool RowCursor::sameValue(const QVariant &stored, const QVariant &wanted)
{
    if (stored.isNull() || wanted.isNull())
        return false;
    if (isText(stored) || isText(wanted))
        return rtrimmed(stored.toString()) == rtrimmed(wanted.toString());
    bool okA = false, okB = false;
    const double a = stored.toDouble(&okA);
    const double b = wanted.toDouble(&okB);
    if (okA && okB)
        return a == b;
    return stored == wanted;
}

bool RowCursor::findFirst(const QString &fieldName, const QVariant &value)
{
    const int col = columnOf(fieldName);
    if (col < 0)
        throw DatabaseError(QStringLiteral("Unknown field %1.").arg(fieldName).toStdString());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (sameValue(m_rows.at(i).at(col), value)) {
            setPosition(i);
            return true;
        }
    }
    return false;
}

void RowCursor::restore(const State &s)
{
    m_pos = s.pos;
    m_bof = s.bof;
    m_eof = s.eof;
    m_deleted = s.deleted;
}

} // namespace roadtally
