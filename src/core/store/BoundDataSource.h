#pragma once
// A window's bound data source: a database name and a record source (a table or
// a selection), a current row whose fields bound controls show, and the cursor
// operations the windows call. It holds no connection between operations, so the
// database file can be replaced while it exists.

#include "core/store/RowCursor.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>

namespace roadtally {

class BoundDataSource : public QObject
{
    Q_OBJECT
public:
    explicit BoundDataSource(QObject *parent = nullptr);
    ~BoundDataSource() override;

    QString databaseName() const;
    void setDatabaseName(const QString &path);
    QString recordSource() const;
    void setRecordSource(const QString &tableOrSelect, const QVariantList &values = {});

    // Reads the rows again and stands on the first. False (and an empty source)
    // when the database cannot be opened; errorText() then says why.
    bool refresh();
    QString errorText() const;

    bool bof() const;
    bool eof() const;
    int recordCount() const;
    int position() const;
    // Each move first writes pending edits. When they cannot be written the
    // move still happens, the edits are dropped, writeFailed() says why and the
    // move returns false.
    bool moveFirst();
    bool moveNext();
    bool movePrevious();
    bool moveLast();

    QVariant field(const QString &name) const; // current row; null when none
    QString text(const QString &name) const;
    QStringList fieldNames() const;
    QVariant value(int row, int column) const; // any row of the source, for grids

    bool findFirst(const QString &fieldName, const QVariant &value);

    // Edits, as the bound controls make them: setField() without addNew() or
    // edit() starts an edit of the current row. Pending edits are written by
    // update() and before any move, find or addNew(); refresh() and close()
    // drop them. A failure of update() is its return value; a failure of a
    // write made on the way (move, find, addNew) is signalled by writeFailed().
    bool addNew(); // false when the pending edits or the new row failed
    void edit();
    void setField(const QString &name, const QVariant &value);
    bool hasChanges() const;
    bool update(); // writes the new or edited row; refreshes and stands on it
    bool remove(); // deletes the current row; moveNext() goes on with the row after it

    // Forgets the rows; nothing is held open anyway.
    void close();

    // Before the database file is replaced: every source of the process writes
    // its pending edits into the file they were made for and forgets its rows,
    // so that no edit or row position of the old file reaches the new one.
    // Returns how many sources let go of rows.
    static int releaseAll();

Q_SIGNALS:
    // The current row changed (move, find, refresh, edit): bound controls re-read.
    void currentChanged();
    // Edits of bound controls could not be written before the cursor moved
    // and are lost; error says why. The window shows it to the user.
    void writeFailed(const QString &error);

private:
    // Writes the edits of bound controls into the current row before the cursor
    // moves; false (errorText() says why) when they cannot be written.
    bool writePending();

    QString m_database;
    QString m_source;
    QVariantList m_values;
    QString m_error;
    RowCursor m_cursor;
};

} // namespace roadtally
