#include "core/analysis/SurveyComparisonText.h"

#include "core/text/TextPatterns.h"

#include <QJsonArray>

#include <cmath>

namespace roadtally {

namespace {

const QString NotAvailable = QStringLiteral("N/A");

// A number with its sign always shown; "-0.0" reads as "0.0".
QString signedText(double value, int decimals)
{
    double rounded = roundHalfAway(value, decimals);
    if (rounded == 0.0)
        rounded = 0.0;
    const QString text = QString::number(rounded, 'f', decimals);
    return rounded > 0 ? QLatin1Char('+') + text : text;
}

QString withUnit(const QString &text, const QString &unit)
{
    return unit.isEmpty() ? text : text + u' ' + unit;
}

// A study figure as shown, with its unit when it is a number.
QString shown(const StudyValue &v, const QString &unit)
{
    return v.isNumber() ? withUnit(v.text, unit) : v.text;
}

QString percentShown(const StudyValue &v)
{
    return v.isNumber() ? v.text + QLatin1Char('%') : v.text;
}

// A percentile as the table shows it: interpolated, or the ranked catch-all form.
const StudyValue &percentileShown(const PercentileFigure &p)
{
    return p.interpolated.isNumber() ? p.interpolated : p.ranked;
}

QString relativeText(const FigureChange &f)
{
    return f.relative ? QStringLiteral(" (%1%)").arg(signedText(*f.relative, 1)) : QString();
}

QString testText(const ComparisonTest &t, const QString &symbol, int decimals = 2)
{
    if (!t.computed)
        return NotAvailable;
    QString text =
        QStringLiteral("%1 = %2").arg(symbol, QString::number(t.statistic, 'f', decimals));
    if (t.df)
        text += QStringLiteral(" (df %1)").arg(QString::number(*t.df, 'f', 0));
    return text;
}

void setTest(ComparisonLine &line, const ComparisonTest &t, const QString &name,
             const QString &symbol, int decimals = 2)
{
    line.testName = name;
    line.test = testText(t, symbol, decimals);
    line.p = t.computed ? pValueText(t.p) : NotAvailable;
    line.significant =
        t.computed ? (t.significant() ? QStringLiteral("Yes") : QStringLiteral("No")) : QString();
    if (t.computed) {
        line.statistic = t.statistic;
        line.pNumber = t.p;
    }
}

ComparisonLine heading(const QString &label)
{
    ComparisonLine line;
    line.label = label;
    line.heading = true;
    return line;
}

// A figure line: before and after as shown, the change in the unit.
ComparisonLine figureLine(const QString &key, const QString &label, const StudyValue &before,
                          const StudyValue &after, const FigureChange &change, const QString &unit,
                          int decimals)
{
    ComparisonLine line;
    line.key = key;
    line.label = label;
    line.before = shown(before, unit);
    line.after = shown(after, unit);
    line.beforeNumber = change.before;
    line.afterNumber = change.after;
    line.changeNumber = change.change;
    line.change =
        change.change ? withUnit(signedText(*change.change, decimals), unit) : NotAvailable;
    return line;
}

ComparisonLine shareLine(const QString &key, const QString &label, const StudyValue &before,
                         const StudyValue &after, const FigureChange &change)
{
    ComparisonLine line;
    line.key = key;
    line.label = label;
    line.before = percentShown(before);
    line.after = percentShown(after);
    line.beforeNumber = change.before;
    line.afterNumber = change.after;
    line.changeNumber = change.change;
    line.relativeNumber = change.relative;
    line.change = change.change ? QStringLiteral("%1 points").arg(signedText(*change.change, 1)) +
                                      relativeText(change)
                                : NotAvailable;
    return line;
}

const StudyValue &overShare(const SpeedStudy &s, int step)
{
    return step == 0 ? s.overLimitPercent : step == 1 ? s.over5Percent : s.over10Percent;
}

const char *const OverKeys[OverSteps] = {"over_limit", "over_5", "over_10"};

// "Over 35 mph" when both surveys have that limit, else "Over the limit + 5".
QString overLabel(const SpeedStudy &b, const SpeedStudy &a, int step)
{
    if (b.limit && b.limit == a.limit)
        return QStringLiteral("Over %1 %2").arg(*b.limit + 5 * step).arg(b.unitText);
    return step == 0 ? QStringLiteral("Over the limit")
                     : QStringLiteral("Over the limit + %1").arg(5 * step);
}

QString periodText(const SpeedStudy &s)
{
    if (s.startDate.trimmed().isEmpty())
        return s.batchNumber;
    return QStringLiteral("%1 (%2 to %3)").arg(s.batchNumber, s.startDate, s.stopDate);
}

QJsonValue number(const std::optional<double> &v)
{
    return v && std::isfinite(*v) ? QJsonValue(*v) : QJsonValue(NotAvailable);
}

// A study figure: its unrounded number, else its text ("N/A", "73 or more").
QJsonValue studyNumber(const StudyValue &v)
{
    if (v.exact)
        return *v.exact;
    if (v.number)
        return *v.number;
    return v.text;
}

QJsonObject studyJson(const SpeedStudy &s)
{
    QJsonObject o;
    o.insert(QStringLiteral("batch"), s.batchNumber);
    o.insert(QStringLiteral("n"), QJsonValue(qint64(s.n)));
    o.insert(QStringLiteral("mean"), studyNumber(s.mean));
    o.insert(QStringLiteral("sd"), studyNumber(s.sd));
    o.insert(QStringLiteral("p50"), studyNumber(s.percentile(50).ranked));
    o.insert(QStringLiteral("p85"), studyNumber(s.percentile(85).ranked));
    o.insert(QStringLiteral("p50_interpolated"), studyNumber(s.percentile(50).interpolated));
    o.insert(QStringLiteral("p85_interpolated"), studyNumber(s.percentile(85).interpolated));
    o.insert(QStringLiteral("over_limit_percent"), studyNumber(s.overLimitPercent));
    o.insert(QStringLiteral("over_5_percent"), studyNumber(s.over5Percent));
    o.insert(QStringLiteral("over_10_percent"), studyNumber(s.over10Percent));
    o.insert(QStringLiteral("adt"), studyNumber(s.adt));
    return o;
}

QJsonValue testJson(const ComparisonTest &t, const char *statistic)
{
    if (!t.computed)
        return NotAvailable;
    QJsonObject o;
    o.insert(QLatin1String(statistic), t.statistic);
    if (t.df)
        o.insert(QStringLiteral("df"), *t.df);
    o.insert(QStringLiteral("p"), t.p);
    if (t.ciLow) {
        o.insert(QStringLiteral("ci_low"), *t.ciLow);
        o.insert(QStringLiteral("ci_high"), *t.ciHigh);
    }
    return o;
}

} // namespace

QString comparisonDirectionText(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("approaching vehicles");
    case SurveyDirection::Receding:
        return QStringLiteral("receding vehicles");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("all vehicles");
}

QString comparisonPairText(const SurveyComparison &c)
{
    return QStringLiteral("Before %1, after %2").arg(periodText(c.before), periodText(c.after));
}

QVector<ComparisonLine> comparisonTable(const SurveyComparison &c)
{
    const SpeedStudy &b = c.before;
    const SpeedStudy &a = c.after;
    const QString &u = b.unitText;
    QVector<ComparisonLine> lines;

    ComparisonLine vehicles = figureLine(QStringLiteral("n"), QStringLiteral("Vehicles"),
                                         b.vehicles, a.vehicles, c.vehicles, QString(), 0);
    vehicles.change += relativeText(c.vehicles);
    lines << vehicles;
    ComparisonLine adt = figureLine(QStringLiteral("adt"), QStringLiteral("Average daily traffic"),
                                    b.adt, a.adt, c.adt, QString(), 0);
    if (c.adt.change)
        adt.change += relativeText(c.adt);
    lines << adt;

    ComparisonLine mean = figureLine(QStringLiteral("mean"), QStringLiteral("Mean speed"), b.mean,
                                     a.mean, c.mean, u, 1);
    setTest(mean, c.meanTest, QStringLiteral("Welch's t"), QStringLiteral("t"));
    lines << mean;
    if (c.meanTest.ciLow) {
        ComparisonLine ci;
        ci.label = QStringLiteral("95% interval");
        ci.sub = true;
        ci.change =
            withUnit(QStringLiteral("%1 to %2")
                         .arg(signedText(*c.meanTest.ciLow, 1), signedText(*c.meanTest.ciHigh, 1)),
                     u);
        lines << ci;
    }
    lines << figureLine(QStringLiteral("sd"), QStringLiteral("Standard deviation"), b.sd, a.sd,
                        c.sd, u, 1);

    for (const auto &[level, change, test] :
         {std::tuple{50, &c.p50, &c.p50Test}, std::tuple{85, &c.p85, &c.p85Test}}) {
        ComparisonLine line = figureLine(QStringLiteral("p%1").arg(level),
                                         QStringLiteral("%1th percentile speed").arg(level),
                                         percentileShown(b.percentile(level)),
                                         percentileShown(a.percentile(level)), *change, u, 1);
        setTest(line, *test, QStringLiteral("Percentile z"), QStringLiteral("z"));
        lines << line;
    }

    for (int k = 0; k < OverSteps; ++k) {
        ComparisonLine line = shareLine(QLatin1String(OverKeys[k]), overLabel(b, a, k),
                                        overShare(b, k), overShare(a, k), c.over[size_t(k)]);
        setTest(line, c.overTests[size_t(k)], QStringLiteral("Two-proportion z"),
                QStringLiteral("z"));
        lines << line;
    }

    ComparisonLine distribution;
    distribution.key = QStringLiteral("distribution");
    distribution.label = QStringLiteral("Speed distribution");
    setTest(distribution, c.distributionTest, QStringLiteral("Kolmogorov-Smirnov D"),
            QStringLiteral("D"), 3);
    if (c.distributionTest.computed) {
        distribution.test += QStringLiteral(" at %1 %2").arg(c.distributionRow).arg(u);
    }
    lines << distribution;

    if (c.net && c.controlBefore && c.controlAfter) {
        const SpeedStudy &cb = *c.controlBefore;
        const SpeedStudy &ca = *c.controlAfter;
        const NetChange &net = *c.net;
        lines << heading(QStringLiteral("Control site: %1 before, %2 after")
                             .arg(cb.batchNumber, ca.batchNumber));
        lines << figureLine(QStringLiteral("control_mean"), QStringLiteral("Mean speed"), cb.mean,
                            ca.mean, net.controlMean, u, 1);
        lines << figureLine(QStringLiteral("control_p85"), QStringLiteral("85th percentile speed"),
                            percentileShown(cb.percentile(85)), percentileShown(ca.percentile(85)),
                            net.controlP85, u, 1);
        lines << shareLine(QStringLiteral("control_over_limit"), overLabel(cb, ca, 0),
                           cb.overLimitPercent, ca.overLimitPercent, net.controlOverLimit);

        lines << heading(QStringLiteral("Net change: the change less the control site's"));
        auto netLine = [&](const QString &key, const QString &label,
                           const std::optional<double> &value, const QString &unit) {
            ComparisonLine line;
            line.key = key;
            line.label = label;
            line.changeNumber = value;
            line.change = value ? withUnit(signedText(*value, 1), unit) : NotAvailable;
            return line;
        };
        ComparisonLine netMean =
            netLine(QStringLiteral("net_mean"), QStringLiteral("Mean speed"), net.mean, u);
        setTest(netMean, net.meanTest, QStringLiteral("Net change z"), QStringLiteral("z"));
        lines << netMean;
        lines << netLine(QStringLiteral("net_p85"), QStringLiteral("85th percentile speed"),
                         net.p85, u);
        lines << netLine(QStringLiteral("net_over_limit"), QStringLiteral("Over the limit"),
                         net.overLimitPoints, QStringLiteral("points"));
    }
    return lines;
}

QString comparisonText(const SurveyComparison &c)
{
    QString out = QStringLiteral("Before and after, %1 (%2)\n")
                      .arg(comparisonDirectionText(c.direction), c.before.unitText);
    out += comparisonPairText(c) + QStringLiteral("\n\n");
    const QVector<ComparisonLine> lines = comparisonTable(c);
    // Column widths from the texts, so long changes stay aligned.
    const QStringList headers = {QStringLiteral("Figure"),     QStringLiteral("Before"),
                                 QStringLiteral("After"),      QStringLiteral("Change"),
                                 QStringLiteral("Test"),       QStringLiteral("p"),
                                 QStringLiteral("Significant")};
    auto cells = [](const ComparisonLine &l) {
        return QStringList{(l.sub ? QStringLiteral("  ") : QString()) + l.label,
                           l.before,
                           l.after,
                           l.change,
                           l.test,
                           l.p,
                           l.significant};
    };
    QVector<qsizetype> widths;
    for (const QString &h : headers)
        widths << h.size();
    for (const ComparisonLine &l : lines)
        if (!l.heading) {
            const QStringList c = cells(l);
            for (int i = 0; i < c.size(); ++i)
                widths[i] = std::max(widths[i], c.at(i).size());
        }
    auto row = [&](const QStringList &c) {
        QString text;
        for (int i = 0; i < c.size(); ++i) {
            if (i > 0)
                text += QStringLiteral("  ");
            text += i == 0 ? c.at(i).leftJustified(widths[i]) : c.at(i).rightJustified(widths[i]);
        }
        while (text.endsWith(u' '))
            text.chop(1);
        return text + u'\n';
    };
    out += row(headers);
    for (const ComparisonLine &l : lines)
        out += l.heading ? QString(u'\n' + l.label + u'\n') : row(cells(l));
    if (!c.notes.isEmpty()) {
        out += QStringLiteral("\nNotes\n");
        for (const QString &note : c.notes)
            out += QStringLiteral("- ") + note + u'\n';
    }
    return out;
}

QJsonObject comparisonJson(const SurveyComparison &c)
{
    QJsonObject o;
    o.insert(QStringLiteral("before"), studyJson(c.before));
    o.insert(QStringLiteral("after"), studyJson(c.after));

    QJsonObject change;
    change.insert(QStringLiteral("mean"), number(c.mean.change));
    change.insert(QStringLiteral("sd"), number(c.sd.change));
    change.insert(QStringLiteral("p50"), number(c.p50.change));
    change.insert(QStringLiteral("p85"), number(c.p85.change));
    change.insert(QStringLiteral("over_limit_points"), number(c.over[0].change));
    change.insert(QStringLiteral("over_5_points"), number(c.over[1].change));
    change.insert(QStringLiteral("over_10_points"), number(c.over[2].change));
    change.insert(QStringLiteral("adt"), number(c.adt.change));
    o.insert(QStringLiteral("change"), change);

    QJsonObject tests;
    QJsonObject significant;
    auto add = [&](const char *key, const ComparisonTest &t, const char *statistic) {
        tests.insert(QLatin1String(key), testJson(t, statistic));
        significant.insert(QLatin1String(key), t.significant());
    };
    add("mean", c.meanTest, "t");
    add("p50", c.p50Test, "z");
    add("p85", c.p85Test, "z");
    for (int k = 0; k < OverSteps; ++k)
        add(OverKeys[k], c.overTests[size_t(k)], "z");
    add("distribution", c.distributionTest, "d");
    o.insert(QStringLiteral("tests"), tests);
    o.insert(QStringLiteral("significant"), significant);

    if (c.net) {
        QJsonObject net;
        net.insert(QStringLiteral("mean"), number(c.net->mean));
        net.insert(QStringLiteral("p85"), number(c.net->p85));
        net.insert(QStringLiteral("over_limit_points"), number(c.net->overLimitPoints));
        net.insert(QStringLiteral("mean_z"), c.net->meanTest.computed
                                                 ? QJsonValue(c.net->meanTest.statistic)
                                                 : QJsonValue(NotAvailable));
        net.insert(QStringLiteral("mean_p"), c.net->meanTest.computed
                                                 ? QJsonValue(c.net->meanTest.p)
                                                 : QJsonValue(NotAvailable));
        o.insert(QStringLiteral("net"), net);
    }
    o.insert(QStringLiteral("notes"), QJsonArray::fromStringList(c.notes));
    return o;
}

} // namespace roadtally
