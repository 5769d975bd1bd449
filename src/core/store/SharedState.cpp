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

QString SharedState::surveyFolder() const
{
    return m_surveyFolder.isEmpty() ? programFolder() : m_surveyFolder;
}

void SharedState::setSurveyFolder(const QString &folder)
{
    m_surveyFolder = folder;
}

QString SharedState::deriveDatabasePath()
{
    databasePath = m_serverDatabase.isEmpty() ? databasePathIn(surveyFolder()) : m_serverDatabase;
    return databasePath;
}

SharedState &sharedState()
{
    static SharedState state;
    return state;
}

} // namespace roadtally
