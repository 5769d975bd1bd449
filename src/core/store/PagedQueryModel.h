#pragma once
// A read-only table model over the rows of one selection that never holds them
// all: opening it reads only the first rows, so a list of half a million rows
// opens as fast as one of fifty. Rows are counted in chunks as the view scrolls
// towards the end (canFetchMore/fetchMore) and, when asked, in idle time, so the
// scroll bar soon covers the whole list; the rows a view shows are read in pages
// of PageRows and a bounded number of pages is kept.
//
// Rows come in the order they were stored (rowid order). Between two reads
// nothing is held open: each chunk and page is read through a session of its own.

#include "core/store/DatabaseSession.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

namespace roadtally {

class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The selection: columns of one table, a condition with "?" placeholders and
    // their values (every value is bound, never spliced).
    struct Query
    {
        QString table;
        QStringList columns;
        QString condition; // empty: every row
        QVariantList values;
    };

    static constexpr int PageRows = 256;      // rows read at a time for display
    static constexpr int FirstRows = 1024;    // rows counted when the model opens
    static constexpr int CountChunk = 16384;  // rows counted by one fetchMore()
    static constexpr int MaxCachedPages = 64; // pages kept (16,384 rows)

    explicit PagedQueryModel(QObject *parent = nullptr);

    // Points the model at a selection and reads its first rows. False when the
    // database cannot be opened or the selection fails (errorText() says why);
    // the model is then empty.
    bool setQuery(const QString &databasePath, const Query &query);
    void clear();
    QString errorText() const { return m_error; }
    // The kind of the last failure, for the words the user is told.
    DatabaseFault fault() const { return m_fault; }

    // True once every row of the selection is counted.
    bool isComplete() const { return m_complete; }
    // Counts the remaining rows in idle time, one chunk per turn of the event
    // loop, until the count is complete. On by default.
    void setCountInBackground(bool on);
    bool countsInBackground() const { return m_background; }
    // Counts every remaining row now.
    void fetchAll();

    // Pages held right now, and pages read since the last setQuery().
    int cachedPageCount() const { return int(m_pages.size()); }
    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex &parent = QModelIndex()) override;

    // Alignment of a column's cells (Qt::TextAlignmentRole).
    void setColumnAlignment(int column, Qt::Alignment alignment);

Q_SIGNALS:
    // A read failed after the model opened (the database went away, say); the
    // rows not read show empty. Sent once per setQuery().
    void readFailed(const QString &text);

private:
    using Row = QVector<QVariant>;
    using Page = QVector<Row>;

    // Reads the keys of up to limit more rows; false (and m_error) when the read fails.
    bool readKeys(int limit, QVector<qint64> &keys);
    // Counts them; fewer than limit means the count is complete.
    void appendKeys(const QVector<qint64> &keys, int limit);
    const Page *page(int pageIndex) const;
    void scheduleBackgroundCount();
    void reportFailure(const QString &text) const;

    QString m_database;
    Query m_query;
    QString m_error;
    mutable DatabaseFault m_fault = DatabaseFault::Other;
    int m_rows = 0; // rows counted so far
    bool m_complete = true;
    qint64 m_lastKey = -1;       // rowid of the last row counted
    QVector<qint64> m_pageStart; // rowid of the first row of each page
    bool m_background = true;
    bool m_countScheduled = false;
    quint64 m_generation = 0; // a new query makes scheduled work stale

    mutable QHash<int, Page> m_pages;
    mutable QList<int> m_recent; // page numbers, most recently used last
    mutable int m_pagesRead = 0;
    mutable bool m_failureReported = false;

    QHash<int, QVariant> m_headers;
    QHash<int, Qt::Alignment> m_alignment;
};

} // namespace roadtally
