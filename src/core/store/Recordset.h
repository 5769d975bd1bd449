#pragma once
// A cursor over the rows of one selection, with the moves and edits the windows
// use: first/next/last, record count, add/edit/delete, find first.
// Rows are read when the recordset opens; edits are written through the session
// at once (by rowid), each as a bound statement. A failing statement, or an edit
// of a selection that is not plain rows of one table, throws DatabaseError.

#include "core/store/DatabaseSession.h"
#include "core/store/RowCursor.h"

#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>

namespace roadtally {

class Recordset
{
public:
    // source: a table name, or a selection over one table ("SELECT * FROM [Header]
    // WHERE [Batch_Number] = ?") with its bound values.
    Recordset(DatabaseSession &session, const QString &source, const QVariantList &values = {});

    bool bof() const;
    bool eof() const;
    int recordCount() const; // all rows (the cursor holds every row)
    int position() const;    // 0-based; -1 when empty

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    void moveTo(int row);

    // Value of a field of the current row; names match regardless of case.
    // Null when empty or past the end.
    QVariant field(const QString &name) const;
    QVariant field(int column) const;
    QString text(const QString &name) const; // field as text, "" for null
    QStringList fieldNames() const;

    void addNew(); // a new row, fields unset
    void edit();   // start changing the current row
    void setField(const QString &name, const QVariant &value);
    void update(); // store the new or changed row; a new row becomes the current row
    void cancelUpdate();
    void remove(); // delete the current row; moveNext() goes on with the row after it

    // Moves to the first row whose field equals value (text compared without
    // trailing blanks); with no match the position stays. Returns whether found.
    bool findFirst(const QString &fieldName, const QVariant &value);
    bool findFirst(const std::function<bool(const Recordset &)> &matches);

    QString tableName() const;

private:
    DatabaseSession &m_session;
    RowCursor m_cursor;
};

} // namespace roadtally
