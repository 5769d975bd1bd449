// Writes ov97.emp (always fresh) and, where none exists, OV97.mdb into a folder.
#include "core/store/Schema.h"
#include "core/store/SharedState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: roadtally-blankdb FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString blank = folder.filePath(QString::fromLatin1(roadtally::BlankFileName));
    const QString fresh = blank + QStringLiteral(".new");
    QFile::remove(fresh);
    QString error = roadtally::createBlankDatabase(fresh);
    if (error.isEmpty()) {
        QFile::remove(blank);
        if (!QFile::rename(fresh, blank))
            error = QStringLiteral("cannot write %1").arg(blank);
    }
    const QString db = folder.filePath(QString::fromLatin1(roadtally::DatabaseFileName));
    if (error.isEmpty() && !QFile::exists(db) && !QFile::copy(blank, db))
        error = QStringLiteral("cannot write %1").arg(db);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "roadtally-blankdb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
