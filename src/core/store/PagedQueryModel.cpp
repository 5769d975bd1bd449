#include "core/store/PagedQueryModel.h"

#include "core/store/DatabaseSession.h"

#include <QPointer>
#include <QSqlQuery>
#include <QTimer>

namespace roadtally {

namespace {

QString bracketed(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + n + QLatin1Char(']');
}

QString conditionAnd(const QString &condition)
{
    return condition.trimmed().isEmpty()
               ? QString()
               : QStringLiteral("(") + condition + QStringLiteral(") AND ");
}

} // namespace

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

bool PagedQueryModel::setQuery(const QString &databasePath, const Query &query)
{
    beginResetModel();
    ++m_generation;
    m_database = databasePath;
    m_query = query;
    m_error.clear();
    m_rows = 0;
    m_complete = false;
    m_lastKey = -1;
    m_pageStart.clear();
    m_pages.clear();
    m_recent.clear();
    m_pagesRead = 0;
    m_failureReported = false;
    QVector<qint64> keys;
    const bool ok = readKeys(FirstRows, keys);
    if (ok) {
        appendKeys(keys, FirstRows);
        page(0); // the first rows are read before the view asks for them
    } else {
        m_complete = true;
    }
    endResetModel();
    if (ok)
        scheduleBackgroundCount();
    return ok;
}

void PagedQueryModel::clear()
{
    beginResetModel();
    ++m_generation;
    m_database.clear();
    m_query = Query();
    m_error.clear();
    m_rows = 0;
    m_complete = true;
    m_lastKey = -1;
    m_pageStart.clear();
    m_pages.clear();
    m_recent.clear();
    m_pagesRead = 0;
    endResetModel();
}

bool PagedQueryModel::readKeys(int limit, QVector<qint64> &keys)
{
    keys.clear();
    try {
        DatabaseSession session(m_database);
        session.requireOpen();
        QVariantList values = m_query.values;
        values << m_lastKey << limit;
        QSqlQuery q =
            session.exec(QStringLiteral("SELECT rowid FROM %1 WHERE %2rowid > ? "
                                        "ORDER BY rowid LIMIT ?")
                             .arg(bracketed(m_query.table), conditionAnd(m_query.condition)),
                         values);
        keys.reserve(limit);
        while (q.next())
            keys.append(q.value(0).toLongLong());
    } catch (const DatabaseError &e) {
        m_error = QString::fromUtf8(e.what());
        m_fault = e.fault();
        return false;
    }
    return true;
}

void PagedQueryModel::appendKeys(const QVector<qint64> &keys, int limit)
{
    for (int i = 0; i < keys.size(); ++i)
        if ((m_rows + i) % PageRows == 0)
            m_pageStart.append(keys.at(i));
    if (!keys.isEmpty())
        m_lastKey = keys.last();
    m_rows += int(keys.size());
    if (keys.size() < limit)
        m_complete = true;
}

void PagedQueryModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_complete)
        return;
    QVector<qint64> keys;
    if (!readKeys(CountChunk, keys)) {
        // The count stops here; the rows counted so far stay.
        m_complete = true;
        reportFailure(m_error);
        return;
    }
    if (keys.isEmpty()) {
        m_complete = true;
        return;
    }
    beginInsertRows(QModelIndex(), m_rows, m_rows + int(keys.size()) - 1);
    appendKeys(keys, CountChunk);
    endInsertRows();
}

bool PagedQueryModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_complete;
}

void PagedQueryModel::fetchAll()
{
    while (!m_complete)
        fetchMore();
}

void PagedQueryModel::setCountInBackground(bool on)
{
    m_background = on;
    if (on)
        scheduleBackgroundCount();
}

void PagedQueryModel::scheduleBackgroundCount()
{
    if (!m_background || m_complete || m_countScheduled)
        return;
    m_countScheduled = true;
    const quint64 generation = m_generation;
    QPointer<PagedQueryModel> self(this);
    QTimer::singleShot(0, this, [self, generation] {
        if (!self)
            return;
        self->m_countScheduled = false;
        if (generation != self->m_generation || !self->m_background || self->m_complete)
            return;
        const int before = self->rowCount();
        self->fetchMore();
        if (self->rowCount() > before)
            self->scheduleBackgroundCount();
    });
}

const PagedQueryModel::Page *PagedQueryModel::page(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= m_pageStart.size())
        return nullptr;
    auto found = m_pages.constFind(pageIndex);
    if (found != m_pages.constEnd()) {
        if (m_recent.last() != pageIndex) {
            m_recent.removeOne(pageIndex);
            m_recent.append(pageIndex);
        }
        return &found.value();
    }

    Page rows;
    try {
        DatabaseSession session(m_database);
        session.requireOpen();
        QStringList columns;
        for (const QString &c : m_query.columns)
            columns << bracketed(c);
        QVariantList values = m_query.values;
        values << m_pageStart.at(pageIndex) << PageRows;
        QSqlQuery q =
            session.exec(QStringLiteral("SELECT %1 FROM %2 WHERE %3rowid >= ? "
                                        "ORDER BY rowid LIMIT ?")
                             .arg(columns.join(QStringLiteral(", ")), bracketed(m_query.table),
                                  conditionAnd(m_query.condition)),
                         values);
        rows.reserve(PageRows);
        const int columnCount = int(m_query.columns.size());
        while (q.next()) {
            Row row(columnCount);
            for (int c = 0; c < columnCount; ++c)
                row[c] = q.value(c);
            rows.append(std::move(row));
        }
    } catch (const DatabaseError &e) {
        m_fault = e.fault();
        reportFailure(QString::fromUtf8(e.what()));
        return nullptr;
    }
    ++m_pagesRead;
    if (m_pages.size() >= MaxCachedPages) {
        m_pages.remove(m_recent.takeFirst());
    }
    m_recent.append(pageIndex);
    return &m_pages.insert(pageIndex, std::move(rows)).value();
}

void PagedQueryModel::reportFailure(const QString &text) const
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    // Told after the paint or the scroll that asked for the rows has finished.
    auto *self = const_cast<PagedQueryModel *>(this);
    QPointer<PagedQueryModel> guard(self);
    QTimer::singleShot(0, self, [guard, text] {
        if (guard)
            Q_EMIT guard->readFailed(text);
    });
}

int PagedQueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int PagedQueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_query.columns.size());
}

QVariant PagedQueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= columnCount())
        return {};
    if (role == Qt::TextAlignmentRole) {
        const auto a = m_alignment.constFind(index.column());
        return a == m_alignment.constEnd() ? QVariant() : QVariant::fromValue(int(a.value()));
    }
    if (role != Qt::DisplayRole)
        return {};
    const Page *rows = page(index.row() / PageRows);
    const int offset = index.row() % PageRows;
    if (!rows || offset >= rows->size())
        return {};
    return rows->at(offset).at(index.column());
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const auto h = m_headers.constFind(section);
        if (h != m_headers.constEnd())
            return h.value();
        if (section >= 0 && section < m_query.columns.size())
            return m_query.columns.at(section);
        return {};
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        const auto a = m_alignment.constFind(section);
        if (a != m_alignment.constEnd())
            return QVariant::fromValue(
                int((a.value() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter));
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool PagedQueryModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                    int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_headers.insert(section, value);
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

void PagedQueryModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignment.insert(column, alignment);
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0, column), index(m_rows - 1, column), {Qt::TextAlignmentRole});
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace roadtally
