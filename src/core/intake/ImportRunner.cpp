#include "core/intake/ImportRunner.h"

#include <QPointer>
#include <QThread>

namespace roadtally {

ImportRunner::ImportRunner(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<ImportResult>("roadtally::ImportResult");
}

ImportRunner::~ImportRunner()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool ImportRunner::start(const QString &databasePath, const ImportInput &input,
                         const ImportOptions &options)
{
    if (m_thread)
        return false;
    // Progress crosses to this object's thread as queued calls; a runner gone
    // meanwhile (it waits for the worker, so only in theory) drops them.
    const QPointer<ImportRunner> self(this);
    const auto progress = [self](int percent) {
        QMetaObject::invokeMethod(
            self.data(),
            [self, percent] {
                if (self)
                    emit self->progressed(percent);
            },
            Qt::QueuedConnection);
    };
    m_result = ImportResult();
    m_thread = QThread::create([this, databasePath, input, options, progress] {
        m_result = importSurvey(databasePath, input, progress, options);
    });
    m_thread->setObjectName(QStringLiteral("import"));
    // Queued: every progress call the worker posted arrives before the result.
    connect(m_thread, &QThread::finished, this, &ImportRunner::done, Qt::QueuedConnection);
    m_thread->start();
    return true;
}

void ImportRunner::done()
{
    // finished() is sent by the worker just before it ends.
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const ImportResult result = m_result;
    emit finished(result);
}

} // namespace roadtally
