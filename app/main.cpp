#include "core/store/DatabaseChoice.h"
#include "core/store/SharedState.h"
#include "gui/kit/Forms.h"
#include "gui/shell/frmRoadtally.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Roadtally"));
    // ROADTALLY_DATABASE, else the server chosen in Options > "Survey Database...".
    roadtally::sharedState().setServerDatabase(roadtally::startupServerDatabase());
    roadtally::form<roadtally::frmRoadtally>().show();
    return app.exec();
}
