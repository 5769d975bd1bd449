// roadtally-cli compare: two surveys of a site before and after a measure
// (and an optional control pair), each figure's change and whether it is
// significant, as a table or as JSON.
#include "Commands.h"

#include "core/analysis/SurveyComparisonText.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QDir>
#include <QJsonDocument>

namespace roadtally {

std::optional<SurveyComparison> loadComparison(const Invocation &invocation, ExitCode &code)
{
    code = ExitCode::Failure;
    ComparisonRequest request;
    request.before = invocation.value(QStringLiteral("before"));
    request.after = invocation.value(QStringLiteral("after"));
    request.controlBefore = invocation.value(QStringLiteral("control-before"));
    request.controlAfter = invocation.value(QStringLiteral("control-after"));
    if (request.controlBefore.trimmed().isEmpty() != request.controlAfter.trimmed().isEmpty()) {
        code = invocation.usage(QStringLiteral("--control-before and --control-after go together"));
        return std::nullopt;
    }
    if (invocation.has(QStringLiteral("direction"))) {
        const std::optional<SurveyDirection> d =
            surveyDirectionFromName(invocation.value(QStringLiteral("direction")));
        if (!d) {
            code = invocation.usage(
                QStringLiteral("--direction must be approaching, receding or both"));
            return std::nullopt;
        }
        request.direction = *d;
    }
    const QString database = invocation.database();
    if (database.isEmpty())
        return std::nullopt;
    try {
        DatabaseSession session(database);
        session.requireOpen();
        ComparisonOutcome outcome = loadSurveyComparison(session, request);
        if (!outcome.ok()) {
            code = invocation.fail(outcome.refusal);
            return std::nullopt;
        }
        code = ExitCode::Success;
        return std::move(outcome.comparison);
    } catch (const DatabaseError &e) {
        code = invocation.fail(
            QStringLiteral("cannot read %1: %2")
                .arg(QDir::toNativeSeparators(database), QString::fromUtf8(e.what())));
    }
    return std::nullopt;
}

ExitCode compareCommand(const Invocation &invocation)
{
    ExitCode code = ExitCode::Success;
    const std::optional<SurveyComparison> comparison = loadComparison(invocation, code);
    if (!comparison)
        return code;
    if (invocation.has(QStringLiteral("json")))
        invocation.out << QString::fromUtf8(
            QJsonDocument(comparisonJson(*comparison)).toJson(QJsonDocument::Indented));
    else
        invocation.out << comparisonText(*comparison);
    return ExitCode::Success;
}

} // namespace roadtally
