#pragma once
// Runs one import on a thread of its own, so that the window that started it
// stays alive: it repaints and its progress bar moves while the database work
// goes on. The worker opens its own database connection; the import keeps its
// one transaction. Progress and the result come back as signals on the thread
// that owns the runner.

#include "core/intake/VehicleImport.h"

#include <QObject>

class QThread;

namespace roadtally {

class ImportRunner : public QObject
{
    Q_OBJECT
public:
    explicit ImportRunner(QObject *parent = nullptr);
    // Waits for an import still running: its transaction ends one way or the other.
    ~ImportRunner() override;

    // Starts the import; false (and nothing started) while one still runs.
    bool start(const QString &databasePath, const ImportInput &input,
               const ImportOptions &options = {});
    // From start() until finished() has been sent.
    bool isRunning() const { return m_thread != nullptr; }

signals:
    // The import's phases as they pass: 5 (database open, header written), up
    // to 25 while the vehicles are stored, 38, 50, 75 and 90 after each
    // statistic, 100 after the commit.
    void progressed(int percent);
    void finished(const roadtally::ImportResult &result);

private:
    void done();

    QThread *m_thread = nullptr;
    ImportResult m_result; // written by the worker, read once it has ended
};

} // namespace roadtally
