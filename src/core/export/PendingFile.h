#pragma once
// A file written under a temporary name beside its target and put in place by
// one rename when it is complete: a failure or a crash never leaves a
// half-written file under the chosen name, and an existing file is replaced
// only by a complete one.

#include <QString>

namespace roadtally {

class PendingFile
{
public:
    explicit PendingFile(const QString &target);
    ~PendingFile(); // removes the temporary file unless it was committed
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    // Creates the empty temporary file in the target's folder. On failure
    // returns false and errorText() says why.
    bool reserve();
    QString temporaryPath() const { return m_temporary; }
    QString target() const { return m_target; }

    // Renames the temporary file over the target.
    bool commit();
    // Removes the temporary file.
    void discard();

    QString errorText() const { return m_error; }

private:
    QString m_target;
    QString m_temporary;
    QString m_error;
    bool m_committed = false;
};

} // namespace roadtally
