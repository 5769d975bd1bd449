// roadtally-cli: see CommandLineTool.h.
#include "CommandLineTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("roadtally-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = roadtally::CommandLineTool(out, err).run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
