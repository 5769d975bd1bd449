#include "core/store/Installation.h"

#include "core/store/DatabaseChoice.h"

#include "core/store/Schema.h"
#include "core/store/SharedState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifndef ROADTALLY_VERSION
#define ROADTALLY_VERSION "0"
#endif
#ifndef ROADTALLY_SHARE_FROM_BIN
#define ROADTALLY_SHARE_FROM_BIN "../share/roadtally"
#endif

namespace roadtally {

namespace {

const QString DataFileSuffix = QStringLiteral(".ovd");

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Two names of one folder compare equal, whether or not it exists yet.
QString comparablePath(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool samePath(const QString &a, const QString &b)
{
    return comparablePath(a) == comparablePath(b);
}

// Writes bytes under a temporary name in dir and renames the file to name. A
// file of that name that appeared meanwhile (another copy of the program) is
// kept: it is just as whole. Returns "" or the reason.
QString placeFile(const QDir &dir, const QString &name, const QByteArray &bytes, bool &placed)
{
    placed = false;
    QTemporaryFile temporary(dir.filePath(name + QStringLiteral(".XXXXXX.tmp")));
    if (!temporary.open())
        return temporary.errorString();
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        return temporary.errorString();
    temporary.close();
    // QFile::rename never replaces an existing file, so the first copy wins.
    const QString target = dir.filePath(name);
    if (QFile::rename(temporary.fileName(), target)) {
        temporary.setAutoRemove(false);
        placed = true;
        return {};
    }
    if (QFileInfo::exists(target))
        return {};
    return temporary.errorString();
}

// The blank database's bytes: the shipped ov97.emp, else one made here.
QByteArray blankDatabase(const QString &sourceFolder, QString &error)
{
    QFile shipped(QDir(sourceFolder).filePath(QString::fromLatin1(BlankFileName)));
    if (!sourceFolder.isEmpty() && shipped.open(QIODevice::ReadOnly))
        return shipped.readAll();
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QString::fromLatin1(BlankFileName));
    error = scratch.isValid() ? createBlankDatabase(path) : scratch.errorString();
    if (!error.isEmpty())
        return {};
    QFile made(path);
    if (!made.open(QIODevice::ReadOnly)) {
        error = made.errorString();
        return {};
    }
    return made.readAll();
}

} // namespace

QString programVersion()
{
    return QStringLiteral(ROADTALLY_VERSION);
}

QString installedShareFolder(const QString &programFolder)
{
    const QString share =
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(ROADTALLY_SHARE_FROM_BIN)));
    if (!QFileInfo::exists(QDir(share).filePath(QString::fromLatin1(BlankFileName))))
        return {};
    return share;
}

bool programFolderHoldsSurveys(const QString &programFolder)
{
    const QFileInfo info(programFolder);
    return info.isDir() && info.isWritable() && installedShareFolder(programFolder).isEmpty();
}

QString userDataFolder()
{
    // AppDataLocation follows the application's name, and the command-line tool
    // has a name of its own: ask under the program's name so both find one folder.
    const QString own = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Roadtally"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(own);
    return folder;
}

LocationFacts LocationFacts::fromProcess()
{
    LocationFacts facts;
    facts.environmentFolder = qEnvironmentVariable("ROADTALLY_FOLDER");
    facts.programFolder = sharedState().programFolder();
    facts.programFolderHoldsSurveys = roadtally::programFolderHoldsSurveys(facts.programFolder);
    if (!facts.programFolderHoldsSurveys)
        facts.dataFolder = userDataFolder();
    return facts;
}

SurveyLocation resolveSurveyLocation(const LocationOptions &options, const LocationFacts &facts)
{
    const auto absolute = [](const QString &folder) {
        return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    };
    if (!options.folder.isEmpty())
        return {absolute(options.folder), SurveyLocation::Chosen};
    if (!facts.environmentFolder.isEmpty())
        return {absolute(facts.environmentFolder), SurveyLocation::Chosen};
    if (facts.programFolderHoldsSurveys)
        return {facts.programFolder, SurveyLocation::ProgramFolder};
    return {facts.dataFolder, SurveyLocation::DataFolder};
}

SurveyLocation resolveSurveyLocation(const LocationOptions &options)
{
    return resolveSurveyLocation(options, LocationFacts::fromProcess());
}

QString folderNoun(const QString &folder)
{
    return samePath(folder, sharedState().programFolder()) ? QStringLiteral("program folder")
                                                           : QStringLiteral("survey folder");
}

QString prepareSurveyFolder(const QString &folder, const QString &shareFolder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    const auto failed = [&](const QString &what, const QString &reason) {
        return QStringLiteral("The survey folder %1 %2: %3.").arg(shown, what, reason);
    };

    // Make the missing folders one by one, remembering them for the way back.
    std::vector<std::filesystem::path> made;
    const auto undo = [&](const QStringList &files) {
        for (const QString &file : files)
            QFile::remove(file);
        std::error_code ignored;
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            std::filesystem::remove(*it, ignored); // only while empty
    };
    {
        std::vector<std::filesystem::path> missing;
        std::error_code error;
        for (std::filesystem::path p =
                 fsPath(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
             !p.empty() && !std::filesystem::exists(p, error); p = p.parent_path()) {
            missing.push_back(p);
            if (p == p.parent_path())
                break;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!std::filesystem::create_directory(*it, error) && error) {
                undo({});
                return failed(QStringLiteral("could not be created"),
                              QString::fromLocal8Bit(error.message()));
            }
            made.push_back(*it);
        }
    }
    const bool createdHere = !made.empty();
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        return failed(QStringLiteral("could not be created"), QStringLiteral("it is not a folder"));

    QStringList wanted; // names to place, in this order
    for (const char *name : {BlankFileName, DatabaseFileName}) {
        if (!QFileInfo::exists(dir.filePath(QString::fromLatin1(name))))
            wanted << QString::fromLatin1(name);
    }
    // A folder without either database is new to the program: it gets the samples too.
    const bool firstStart = createdHere || wanted.size() == 2;
    if (firstStart && !shareFolder.isEmpty()) {
        const QStringList samples =
            QDir(shareFolder).entryList({QStringLiteral("*") + DataFileSuffix}, QDir::Files);
        wanted << samples;
    }
    if (wanted.isEmpty())
        return {};

    QString error;
    const QByteArray blank = blankDatabase(shareFolder, error);
    if (!error.isEmpty()) {
        undo({});
        return failed(QStringLiteral("could not be given a blank database"), error);
    }
    QStringList placedFiles;
    for (const QString &name : wanted) {
        QByteArray bytes = blank;
        if (name.endsWith(DataFileSuffix, Qt::CaseInsensitive)) {
            QFile sample(QDir(shareFolder).filePath(name));
            if (!sample.open(QIODevice::ReadOnly))
                continue; // a sample that cannot be read is no reason to fail
            bytes = sample.readAll();
        }
        bool placed = false;
        const QString reason = placeFile(dir, name, bytes, placed);
        if (!reason.isEmpty()) {
            undo(placedFiles);
            return failed(QStringLiteral("cannot be written"), reason);
        }
        if (placed)
            placedFiles << dir.filePath(name);
    }
    return {};
}

QString startInSurveyFolder(const LocationOptions &options)
{
    const QString programFolder = sharedState().programFolder();
    const SurveyLocation location = resolveSurveyLocation(options);
    sharedState().setSurveyFolder(location.folder);
    QString problem;
    // The program folder is used as it stands, as it always was.
    if (!samePath(location.folder, programFolder)) {
        QString source = installedShareFolder(programFolder);
        if (source.isEmpty())
            source = programFolder;
        problem = prepareSurveyFolder(location.folder, source);
    }
    sharedState().surveyFolderProblem = problem;
    sharedState().setServerDatabase(options.database.trimmed().isEmpty()
                                        ? startupServerDatabase()
                                        : options.database.trimmed());
    return problem;
}

} // namespace roadtally
