#include "core/store/SharedState.h"

#include <QCoreApplication>
#include <QDir>

namespace roadtally {

QString databasePathIn(const QString &folder)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(QString::fromLatin1(DatabaseFileName)));
}

QString SharedState::programFolder() const
{
    if (!m_programFolder.isEmpty())
        return m_programFolder;
    return QCoreApplication::applicationDirPath();
}

void SharedState::setProgramFolder(const QString &folder)
{
    m_programFolder = folder;
}

void SharedState::setServerDatabase(const QString &uri)
{
    m_serverDatabase = uri;
}

QString SharedState::deriveDatabasePath()
{
    databasePath = m_serverDatabase.isEmpty() ? databasePathIn(programFolder()) : m_serverDatabase;
    return databasePath;
}

SharedState &sharedState()
{
    static SharedState state;
    return state;
}

} // namespace roadtally
