#include "core/analysis/SurveyComparison.h"

#include "core/text/TextPatterns.h"

#include <QSqlQuery>

#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

namespace roadtally {

// ---- The tests on plain numbers ---------------------------------------------

std::optional<WelchResult> welchTest(double m1, double s1, qint64 n1, double m2, double s2,
                                     qint64 n2)
{
    if (n1 < 2 || n2 < 2)
        return std::nullopt;
    const double a = s1 * s1 / double(n1);
    const double b = s2 * s2 / double(n2);
    const double se = std::sqrt(a + b);
    if (!(se > 0) || !std::isfinite(se))
        return std::nullopt;
    WelchResult r;
    const double change = m2 - m1;
    r.t = change / se;
    // Welch-Satterthwaite; one sample without spread leaves the other's n - 1.
    r.df = (a + b) * (a + b) / (a * a / double(n1 - 1) + b * b / double(n2 - 1));
    const boost::math::students_t_distribution<double> t(r.df);
    r.p = std::clamp(2 * boost::math::cdf(boost::math::complement(t, std::fabs(r.t))), 0.0, 1.0);
    const double critical = boost::math::quantile(boost::math::complement(t, 0.025));
    r.ciLow = change - critical * se;
    r.ciHigh = change + critical * se;
    return r;
}

double normalTwoSidedP(double z)
{
    if (!std::isfinite(z))
        return 0;
    const boost::math::normal_distribution<double> normal;
    return std::clamp(2 * boost::math::cdf(boost::math::complement(normal, std::fabs(z))), 0.0,
                      1.0);
}

double percentileStandardError(double p, qint64 n, qint64 rowCount)
{
    if (n <= 0 || rowCount <= 0)
        return 0;
    const double density = double(rowCount) / double(n); // per speed unit: rows are one wide
    return std::sqrt(p * (1 - p) / double(n)) / density;
}

std::optional<ZResult> differenceTest(double x1, double se1, double x2, double se2)
{
    const double se = std::sqrt(se1 * se1 + se2 * se2);
    if (!(se > 0) || !std::isfinite(se))
        return std::nullopt;
    ZResult r;
    r.z = (x2 - x1) / se;
    r.p = normalTwoSidedP(r.z);
    return r;
}

std::optional<ZResult> twoProportionTest(double q1, qint64 n1, double q2, qint64 n2)
{
    if (n1 <= 0 || n2 <= 0)
        return std::nullopt;
    const double pooled = (q1 * double(n1) + q2 * double(n2)) / double(n1 + n2);
    const double se = std::sqrt(pooled * (1 - pooled) * (1 / double(n1) + 1 / double(n2)));
    if (!(se > 0) || !std::isfinite(se))
        return std::nullopt;
    ZResult r;
    r.z = (q2 - q1) / se;
    r.p = normalTwoSidedP(r.z);
    return r;
}

double kolmogorovQ(double lambda)
{
    // Below 0.2 the sum is 1 within 1e-12, and its terms shrink too slowly there.
    if (!(lambda >= 0.2))
        return 1;
    double sum = 0;
    for (int k = 1; k <= 100; ++k) {
        const double term = std::exp(-2.0 * k * k * lambda * lambda);
        sum += k % 2 == 1 ? term : -term;
        if (term < 1e-17)
            break;
    }
    return std::clamp(2 * sum, 0.0, 1.0);
}

std::optional<KolmogorovResult> kolmogorovSmirnovTest(const QVector<qint64> &counts1,
                                                      const QVector<qint64> &counts2, int lowestRow)
{
    qint64 n1 = 0, n2 = 0;
    for (qint64 c : counts1)
        n1 += c;
    for (qint64 c : counts2)
        n2 += c;
    if (n1 <= 0 || n2 <= 0)
        return std::nullopt;
    KolmogorovResult r;
    r.row = lowestRow;
    qint64 cum1 = 0, cum2 = 0;
    const qsizetype rows = std::max(counts1.size(), counts2.size());
    for (qsizetype i = 0; i < rows; ++i) {
        cum1 += counts1.value(i);
        cum2 += counts2.value(i);
        // In whole numbers, so equal shares compare equal.
        const double gap = std::fabs(double(cum1 * n2 - cum2 * n1)) / (double(n1) * double(n2));
        if (gap > r.d) {
            r.d = gap;
            r.row = lowestRow + int(i);
        }
    }
    r.p = kolmogorovQ(std::sqrt(double(n1) * double(n2) / double(n1 + n2)) * r.d);
    return r;
}

QString pValueText(double p)
{
    return p < 0.001 ? QStringLiteral("< 0.001") : QString::number(p, 'f', 3);
}

// ---- The comparison ------------------------------------------------------

namespace {

// The number a figure stands for, before rounding.
std::optional<double> exactOf(const StudyValue &v)
{
    return v.exact ? v.exact : v.number;
}

FigureChange figureChange(const std::optional<double> &before, const std::optional<double> &after)
{
    FigureChange f;
    f.before = before;
    f.after = after;
    if (before && after) {
        f.change = *after - *before;
        if (*before != 0)
            f.relative = *f.change / *before * 100.0;
    }
    return f;
}

FigureChange figureChange(const StudyValue &before, const StudyValue &after)
{
    return figureChange(exactOf(before), exactOf(after));
}

const StudyValue &overShare(const SpeedStudy &s, int step)
{
    switch (step) {
    case 0:
        return s.overLimitPercent;
    case 1:
        return s.over5Percent;
    default:
        break;
    }
    return s.over10Percent;
}

ComparisonTest notComputed(const QString &why)
{
    ComparisonTest t;
    t.missing = why;
    return t;
}

ComparisonTest zTest(const std::optional<ZResult> &z, const QString &why)
{
    if (!z)
        return notComputed(why);
    ComparisonTest t;
    t.computed = true;
    t.statistic = z->z;
    t.p = z->p;
    return t;
}

QString surveyName(const SpeedStudy &s)
{
    return QStringLiteral("survey ") + s.batchNumber;
}

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

QString vehiclesWords(qint64 n, SurveyDirection direction)
{
    const QString kind =
        direction == SurveyDirection::Both ? QString() : directionName(direction) + u' ';
    return QStringLiteral("%1 %2%3").arg(n).arg(kind, n == 1 ? QStringLiteral("vehicle")
                                                             : QStringLiteral("vehicles"));
}

// The rows' cumulative shape is compared only within the common rows of a unit.
std::optional<QString> unitProblem(const SpeedStudy &a, const SpeedStudy &b)
{
    if (a.unit != b.unit)
        return QStringLiteral("Survey %1 is in %2 and survey %3 in %4: surveys in different "
                              "units cannot be compared.")
            .arg(a.batchNumber, a.unit.isEmpty() ? QStringLiteral("no unit") : a.unit,
                 b.batchNumber, b.unit.isEmpty() ? QStringLiteral("no unit") : b.unit);
    return std::nullopt;
}

// The days of the week a survey's period covers, Monday first.
QList<int> weekdaysCovered(const SpeedStudy &s)
{
    const QDate start = parseDate(s.startDate);
    const QDate stop = parseDate(s.stopDate);
    QList<int> days;
    if (!start.isValid() || !stop.isValid() || stop < start)
        return days;
    for (QDate d = start; d <= stop && days.size() < 7; d = d.addDays(1))
        days << d.dayOfWeek();
    std::sort(days.begin(), days.end());
    return days;
}

QString weekdayList(const QList<int> &days)
{
    if (days.size() == 7)
        return QStringLiteral("every day of the week");
    static const char *const names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QStringList out;
    for (int d : days)
        out << QString::fromLatin1(names[d - 1]);
    return out.join(QStringLiteral(", "));
}

QString catchAllNote(const SpeedStudy &s, const QString &role)
{
    const qint64 low = s.counts.isEmpty() ? 0 : s.counts.first();
    const qint64 high = s.counts.isEmpty() ? 0 : s.counts.last();
    if (low == 0 && high == 0)
        return QString();
    QStringList parts;
    if (low > 0)
        parts << QStringLiteral("%1 at %2 %3 or less").arg(low).arg(s.lowestRow).arg(s.unitText);
    if (high > 0)
        parts << QStringLiteral("%1 at %2 %3 or more").arg(high).arg(s.highestRow).arg(s.unitText);
    return QStringLiteral("The %1 survey (%2) has vehicles in the catch-all rows (%3): they "
                          "count at the row's speed in the mean and the tests.")
        .arg(role, s.batchNumber, parts.join(QStringLiteral(", ")));
}

// The test of a percentile's change, or why there is none.
ComparisonTest percentileTest(const SpeedStudy &b, const SpeedStudy &a, int level,
                              QStringList &notes)
{
    const PercentileFigure &pb = b.percentile(level);
    const PercentileFigure &pa = a.percentile(level);
    QStringList inCatchAll;
    for (const auto &[study, figure] : {std::pair{&b, &pb}, std::pair{&a, &pa}})
        if (!figure->interpolated.isNumber())
            inCatchAll << QStringLiteral("%1 (%2)").arg(surveyName(*study), figure->ranked.text);
    if (!inCatchAll.isEmpty()) {
        notes << QStringLiteral("The %1th percentile falls in a catch-all row in %2: its change "
                                "is not tested.")
                     .arg(level)
                     .arg(inCatchAll.join(QStringLiteral(" and ")));
        return notComputed(QStringLiteral("in a catch-all row"));
    }
    const double p = level / 100.0;
    const double se1 = percentileStandardError(p, b.n, b.counts.value(*pb.row - b.lowestRow));
    const double se2 = percentileStandardError(p, a.n, a.counts.value(*pa.row - a.lowestRow));
    return zTest(differenceTest(*exactOf(pb.interpolated), se1, *exactOf(pa.interpolated), se2),
                 QStringLiteral("no spread"));
}

ComparisonTest shareTest(const SpeedStudy &b, const SpeedStudy &a, int step)
{
    const std::optional<double> q1 = exactOf(overShare(b, step));
    const std::optional<double> q2 = exactOf(overShare(a, step));
    if (!q1 || !q2)
        return notComputed(QStringLiteral("share not known"));
    return zTest(twoProportionTest(*q1 / 100.0, b.n, *q2 / 100.0, a.n),
                 *q1 == 0 && *q2 == 0 ? QStringLiteral("no vehicle over in either")
                                      : QStringLiteral("every vehicle over in both"));
}

ComparisonTest meanTest(const SpeedStudy &b, const SpeedStudy &a)
{
    const std::optional<double> m1 = exactOf(b.mean), m2 = exactOf(a.mean);
    const std::optional<double> s1 = exactOf(b.sd), s2 = exactOf(a.sd);
    if (!m1 || !m2 || !s1 || !s2)
        return notComputed(QStringLiteral("no spread"));
    const std::optional<WelchResult> w = welchTest(*m1, *s1, b.n, *m2, *s2, a.n);
    if (!w)
        return notComputed(QStringLiteral("no spread in either survey"));
    ComparisonTest t;
    t.computed = true;
    t.statistic = w->t;
    t.p = w->p;
    t.df = w->df;
    t.ciLow = w->ciLow;
    t.ciHigh = w->ciHigh;
    return t;
}

void untested(SurveyComparison &c, const QString &why)
{
    for (ComparisonTest *t : {&c.meanTest, &c.p50Test, &c.p85Test, &c.overTests[0], &c.overTests[1],
                              &c.overTests[2], &c.distributionTest})
        *t = notComputed(why);
}

void addNet(SurveyComparison &c, const SpeedStudy &cb, const SpeedStudy &ca)
{
    NetChange net;
    net.controlMean = figureChange(cb.mean, ca.mean);
    net.controlP85 = figureChange(cb.percentile(85).interpolated, ca.percentile(85).interpolated);
    net.controlOverLimit = figureChange(cb.overLimitPercent, ca.overLimitPercent);
    auto difference = [](const FigureChange &treated, const FigureChange &control) {
        return treated.change && control.change
                   ? std::optional<double>(*treated.change - *control.change)
                   : std::nullopt;
    };
    net.mean = difference(c.mean, net.controlMean);
    net.p85 = difference(c.p85, net.controlP85);
    net.overLimitPoints = difference(c.over[0], net.controlOverLimit);

    const qint64 fewest = std::min({c.before.n, c.after.n, cb.n, ca.n});
    if (fewest < MinimumTestedVehicles) {
        net.meanTest =
            notComputed(QStringLiteral("fewer than %1 vehicles").arg(MinimumTestedVehicles));
    } else if (!net.mean) {
        net.meanTest = notComputed(QStringLiteral("no mean"));
    } else {
        double variance = 0;
        bool spread = true;
        for (const SpeedStudy *s :
             std::initializer_list<const SpeedStudy *>{&c.before, &c.after, &cb, &ca}) {
            const std::optional<double> sd = exactOf(s->sd);
            if (!sd)
                spread = false;
            else
                variance += *sd * *sd / double(s->n);
        }
        if (!spread || !(variance > 0)) {
            net.meanTest = notComputed(QStringLiteral("no spread"));
        } else {
            net.meanTest.computed = true;
            net.meanTest.statistic = *net.mean / std::sqrt(variance);
            net.meanTest.p = normalTwoSidedP(net.meanTest.statistic);
        }
    }
    c.net = net;
}

} // namespace

ComparisonOutcome compareStudies(const SpeedStudy &before, const SpeedStudy &after,
                                 const SpeedStudy *controlBefore, const SpeedStudy *controlAfter)
{
    ComparisonOutcome out;
    if (bool(controlBefore) != bool(controlAfter)) {
        out.refusal = QStringLiteral("A control pair needs both a before and an after survey.");
        return out;
    }
    QVector<const SpeedStudy *> all{&before, &after};
    if (controlBefore)
        all << controlBefore << controlAfter;
    for (const SpeedStudy *s : all)
        if (!speedRowRange(s->unit)) {
            out.refusal = QStringLiteral("Survey %1 has no speed rows to compare: its unit "
                                         "\"%2\" is neither MPH nor KPH.")
                              .arg(s->batchNumber, s->unit);
            return out;
        }
    for (const SpeedStudy *s : all)
        if (const std::optional<QString> problem = unitProblem(before, *s)) {
            out.refusal = *problem;
            return out;
        }
    for (int i = 0; i < all.size(); ++i)
        for (int j = i + 1; j < all.size(); ++j)
            if (all.at(i)->batchNumber.trimmed() == all.at(j)->batchNumber.trimmed()) {
                out.refusal =
                    i == 0 && j == 1
                        ? QStringLiteral("The before and after surveys are the same survey "
                                         "(%1): choose two different surveys.")
                              .arg(before.batchNumber)
                        : QStringLiteral("Survey %1 is chosen twice: the control surveys must "
                                         "differ from each other and from the before and after "
                                         "surveys.")
                              .arg(all.at(i)->batchNumber);
                return out;
            }

    SurveyComparison c;
    c.direction = before.direction;
    c.before = before;
    c.after = after;
    if (controlBefore) {
        c.controlBefore = *controlBefore;
        c.controlAfter = *controlAfter;
    }
    const SpeedStudy &b = c.before;
    const SpeedStudy &a = c.after;
    QStringList &notes = c.notes;

    c.vehicles = figureChange(b.vehicles, a.vehicles);
    c.adt = figureChange(b.adt, a.adt);
    c.mean = figureChange(b.mean, a.mean);
    c.sd = figureChange(b.sd, a.sd);
    c.p50 = figureChange(b.percentile(50).interpolated, a.percentile(50).interpolated);
    c.p85 = figureChange(b.percentile(85).interpolated, a.percentile(85).interpolated);
    for (int k = 0; k < OverSteps; ++k)
        c.over[size_t(k)] = figureChange(overShare(b, k), overShare(a, k));

    // Notes on what the figures mean: they do not stop the comparison.
    if (b.location.trimmed().compare(a.location.trimmed(), Qt::CaseInsensitive) != 0)
        notes << QStringLiteral("The surveys are at different locations (\"%1\" and \"%2\").")
                     .arg(b.location.trimmed(), a.location.trimmed());
    if (b.limit != a.limit) {
        auto limitText = [](const SpeedStudy &s) {
            return s.limit ? QString::number(*s.limit) : QStringLiteral("none");
        };
        notes << QStringLiteral("The posted limits differ (%1 before, %2 after): each survey's "
                                "shares are over its own limit.")
                     .arg(limitText(b), limitText(a));
    }
    for (const SpeedStudy *s : {&b, &a})
        if (!s->limit)
            notes << QStringLiteral("Survey %1 has no posted limit: no shares over the limit.")
                         .arg(s->batchNumber);
    const QList<int> daysBefore = weekdaysCovered(b);
    const QList<int> daysAfter = weekdaysCovered(a);
    if (!daysBefore.isEmpty() && !daysAfter.isEmpty() && daysBefore != daysAfter)
        notes << QStringLiteral("The before survey covers %1 and the after survey %2: the mix of "
                                "weekdays and weekend days differs, a known bias of such "
                                "comparisons.")
                     .arg(weekdayList(daysBefore), weekdayList(daysAfter));
    for (const auto &[s, role] :
         {std::pair{&b, QStringLiteral("before")}, std::pair{&a, QStringLiteral("after")}}) {
        const QString note = catchAllNote(*s, role);
        if (!note.isEmpty())
            notes << note;
    }

    c.testsShown = b.n >= MinimumTestedVehicles && a.n >= MinimumTestedVehicles;
    if (!c.testsShown) {
        QStringList few;
        for (const SpeedStudy *s : {&b, &a})
            if (s->n < MinimumTestedVehicles)
                few << QStringLiteral("%1 has %2")
                           .arg(surveyName(*s), vehiclesWords(s->n, c.direction));
        notes << capitalized(few.join(QStringLiteral(" and "))) +
                     QStringLiteral(": the tests need at least %1 vehicles in each survey and are "
                                    "not shown.")
                         .arg(MinimumTestedVehicles);
        untested(c, QStringLiteral("fewer than %1 vehicles").arg(MinimumTestedVehicles));
    } else {
        c.meanTest = meanTest(b, a);
        if (!c.meanTest.computed)
            notes << QStringLiteral("Neither survey has any spread of speeds: the means are not "
                                    "tested.");
        c.p50Test = percentileTest(b, a, 50, notes);
        c.p85Test = percentileTest(b, a, 85, notes);
        for (int k = 0; k < OverSteps; ++k)
            c.overTests[size_t(k)] = shareTest(b, a, k);
        if (const std::optional<KolmogorovResult> ks =
                kolmogorovSmirnovTest(b.counts, a.counts, b.lowestRow)) {
            c.distributionTest.computed = true;
            c.distributionTest.statistic = ks->d;
            c.distributionTest.p = ks->p;
            c.distributionRow = ks->row;
            notes << QStringLiteral("The distribution test compares speeds grouped in rows one "
                                    "%1 wide; the many equal speeds make its p conservative.")
                         .arg(b.unitText);
        }
    }

    if (controlBefore) {
        addNet(c, *c.controlBefore, *c.controlAfter);
        for (const auto &[s, role] :
             {std::pair{&*c.controlBefore, QStringLiteral("control before")},
              std::pair{&*c.controlAfter, QStringLiteral("control after")}})
            if (s->n < MinimumTestedVehicles)
                notes << QStringLiteral("The %1 survey (%2) has %3: the net change is not tested.")
                             .arg(role, s->batchNumber, vehiclesWords(s->n, c.direction));
        if (c.controlBefore->limit != b.limit || c.controlAfter->limit != a.limit)
            notes << QStringLiteral("The control site's posted limits differ from the treated "
                                    "site's: the net change of the share over the limit mixes "
                                    "two limits.");
        notes << QStringLiteral("Net change = (after - before) - (control after - control before): "
                                "the change at the control site stands for the season and the "
                                "general trend.");
    }
    out.comparison = std::move(c);
    return out;
}

ComparisonOutcome loadSurveyComparison(DatabaseSession &session, const ComparisonRequest &request)
{
    session.requireOpen();
    ComparisonOutcome out;
    const bool control =
        !request.controlBefore.trimmed().isEmpty() || !request.controlAfter.trimmed().isEmpty();
    if (control &&
        (request.controlBefore.trimmed().isEmpty() || request.controlAfter.trimmed().isEmpty())) {
        out.refusal = QStringLiteral("A control pair needs both a before and an after survey.");
        return out;
    }
    QStringList batches{request.before, request.after};
    if (control)
        batches << request.controlBefore << request.controlAfter;
    QVector<SpeedStudy> studies;
    for (const QString &batch : std::as_const(batches)) {
        const QString b = batch.trimmed();
        if (b.isEmpty()) {
            out.refusal = QStringLiteral("Choose a before and an after survey.");
            return out;
        }
        QSqlQuery header =
            session.exec(QStringLiteral("SELECT 1 FROM [Header] WHERE [Batch_Number] = ?"), {b});
        const bool exists = header.next();
        header.finish();
        if (!exists) {
            out.refusal = QStringLiteral("There is no survey with batch number %1.").arg(b);
            return out;
        }
        studies << loadSpeedStudy(session, b, request.direction);
    }
    return control ? compareStudies(studies[0], studies[1], &studies[2], &studies[3])
                   : compareStudies(studies[0], studies[1]);
}

QVector<ComparableSurvey> readComparableSurveys(DatabaseSession &session)
{
    session.requireOpen();
    QSqlQuery query = session.exec(QStringLiteral(
        "SELECT h.[Batch_Number], h.[Location], h.[Radar_Mode], s.[Start_Date], s.[Stop_Date], "
        "s.[Total_Vehicles] FROM [Header] h LEFT JOIN [Summary] s "
        "ON s.[Batch_Number] = h.[Batch_Number]"));
    QVector<ComparableSurvey> out;
    QStringList seen;
    while (query.next()) {
        ComparableSurvey s;
        s.batch = query.value(0).toString().trimmed();
        if (seen.contains(s.batch))
            continue;
        seen << s.batch;
        s.location = query.value(1).toString().trimmed();
        s.unit = query.value(2).toString().trimmed();
        s.startDate = query.value(3).toString().trimmed();
        s.stopDate = query.value(4).toString().trimmed();
        s.vehicles = qint64(numericValue(query.value(5).toString()));
        out << s;
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ComparableSurvey &a, const ComparableSurvey &b) {
                         const QDate da = parseDate(a.startDate), db = parseDate(b.startDate);
                         if (da != db)
                             return da < db;
                         return a.batch < b.batch;
                     });
    return out;
}

QVector<ComparableSurvey> afterCandidates(const QVector<ComparableSurvey> &surveys,
                                          const QString &before)
{
    const QString b = before.trimmed();
    QString location;
    for (const ComparableSurvey &s : surveys)
        if (s.batch == b)
            location = s.location;
    QVector<ComparableSurvey> same, other;
    for (const ComparableSurvey &s : surveys) {
        if (s.batch == b)
            continue;
        const bool near =
            !location.isEmpty() && s.location.compare(location, Qt::CaseInsensitive) == 0;
        (near ? same : other) << s;
    }
    return same + other;
}

} // namespace roadtally
