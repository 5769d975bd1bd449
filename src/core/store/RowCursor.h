#pragma once
// The rows of one selection and a position among them: the cursor behind both
// Recordset and BoundDataSource. It holds no connection; reads and writes go
// through a session the caller passes in, and edits address rows by rowid.

#include "core/store/DatabaseSession.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace roadtally {

class RowCursor
{
public:
    enum class Mode { None, Adding, Editing };

    // Reads every row of source (a table name or a selection over one table)
    // and stands on the first. Throws DatabaseError when the selection fails.
    void load(DatabaseSession &session, const QString &source, const QVariantList &values);
    void clear();

    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    int recordCount() const { return int(m_rows.size()); }
    int position() const; // -1 when there is no current row
    bool hasCurrent() const;

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    void moveTo(int row);

    int columnOf(const QString &name) const; // -1 when unknown; case does not matter
    QVariant field(const QString &name) const;
    QVariant field(int column) const;
    QVariant value(int row, int column) const;
    QStringList fieldNames() const { return m_names; }
    QString tableName() const { return m_table; }
    // True when rows can be added, changed and deleted (a plain selection over one table).
    bool isWritable() const { return m_writable; }

    Mode mode() const { return m_mode; }
    bool hasChanges() const { return m_mode != Mode::None; }
    void addNew();
    void edit();
    void setField(const QString &name, const QVariant &value);
    void cancelUpdate();
    // Writes the new or changed row and stands on it.
    void update(DatabaseSession &session);
    // Deletes the current row; the next move forward goes on with the row after it.
    void remove(DatabaseSession &session);

    bool findFirst(const QString &fieldName, const QVariant &value);
    int rowOf(qint64 rowid) const { return int(m_rowids.indexOf(rowid)); }
    qint64 currentRowid() const;

    struct State
    {
        int pos = -1;
        bool bof = true;
        bool eof = true;
        bool deleted = false;
    };
    State state() const { return {m_pos, m_bof, m_eof, m_deleted}; }
    void restore(const State &s);

    // Text comparison of the program's finds: exact, trailing blanks not significant.
    static bool sameValue(const QVariant &stored, const QVariant &wanted);

private:
    void requireWritable() const;
    void reread(DatabaseSession &session, int row);
    void setPosition(int pos);

    QString m_table;
    bool m_writable = false;
    QStringList m_names;
    QHash<QString, int> m_index; // lower-case name -> column
    QVector<QVector<QVariant>> m_rows;
    QVector<qint64> m_rowids;
    int m_pos = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_deleted = false; // the current row was deleted; m_pos is the row after it

    Mode m_mode = Mode::None;
    QStringList m_changedNames; // in the order they were set
    QVector<QVariant> m_changedValues;
};

} // namespace roadtally
