#include "core/store/Installation.h"
#include "gui/kit/Forms.h"
#include "gui/shell/frmRoadtally.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Roadtally"));
    QApplication::setApplicationVersion(roadtally::programVersion());
    QApplication::setDesktopFileName(QStringLiteral("roadtally"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Speed surveys with a radar speed-display trailer."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("The survey folder: holds OV97.mdb and the raw data files (default: "
                       "ROADTALLY_FOLDER, else the program folder when it may be written, else "
                       "the user's data folder)."),
        QStringLiteral("DIR"));
    parser.addOption(folder);
    const QCommandLineOption database(
        QStringLiteral("database"),
        QStringLiteral("The survey database on the agency server, postgresql://USER@HOST:PORT/"
                       "DBNAME (default: ROADTALLY_DATABASE, else the choice of Options > Survey "
                       "Database...)."),
        QStringLiteral("URI"));
    parser.addOption(database);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A raw data file (.ovd) to load and process."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);

    // A folder that cannot be made ready is reported by the main window, which
    // then still opens its information windows.
    roadtally::LocationOptions options;
    options.folder = parser.value(folder);
    options.database = parser.value(database);
    roadtally::startInSurveyFolder(options);

    roadtally::frmRoadtally &window = roadtally::form<roadtally::frmRoadtally>();
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        window.openDataFile(files.first());
    return app.exec();
}
