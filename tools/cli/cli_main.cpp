// roadtally-cli: see CommandLineTool.h.
#include "CommandLineTool.h"

#include "core/store/Installation.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
    // Reports lay out text with the program's fonts, which need the GUI
    // application; they draw on no screen, so none is needed.
    const bool reports = argc > 1 && std::strcmp(argv[1], "report") == 0;
    if (reports && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (reports) {
        // Without a desktop session Qt warns that it makes a runtime folder of its own: noise here.
        static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
                    standard(type, context, message);
            });
    }
    std::unique_ptr<QCoreApplication> app;
    if (reports)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("roadtally-cli"));
    QCoreApplication::setApplicationVersion(roadtally::programVersion());
    QTextStream out(stdout);
    QTextStream err(stderr);
    roadtally::CommandLineTool tool(out, err);
    // A person at a terminal sees long work progress; scripts see only the results.
    tool.setProgressShown(isatty(fileno(stderr)) != 0);
    const int code = tool.run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return code;
}
