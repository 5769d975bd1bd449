#pragma once
// A window's bound data source: a database name and a record source (a table or
// a selection), a current row whose fields bound controls show, and the cursor
// operations the windows call. It holds no connection between operations, so the
// database file can be replaced while it exists.

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
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    QVariant field(const QString &name) const; // current row; null when none
    QString text(const QString &name) const;

    bool findFirst(const QString &fieldName, const QVariant &value);

    void addNew();
    void edit();
    void setField(const QString &name, const QVariant &value);
    bool update(); // writes the new or edited row; refreshes and stands on it
    bool remove(); // deletes the current row

    // Forgets the rows; nothing is held open anyway.
    void close();

Q_SIGNALS:
    // The current row changed (move, find, refresh, edit): bound controls re-read.
    void currentChanged();

private:
    struct Impl;
    QString m_database;
    QString m_source;
    QVariantList m_values;
    QString m_error;
    QStringList m_names;
    QVector<QVector<QVariant>> m_rows;
    QVector<qint64> m_rowids;
    QString m_table;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;
    int m_mode = 0;
    QVector<QVariant> m_buffer;
    QVector<bool> m_touched;
};

} // namespace roadtally
