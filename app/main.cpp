#include "gui/kit/Forms.h"
#include "gui/shell/frmRoadtally.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Roadtally"));
    roadtally::form<roadtally::frmRoadtally>().show();
    return app.exec();
}
