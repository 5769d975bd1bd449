#include "core/analysis/DisplayScheme.h"

#include "core/text/TextPatterns.h"

namespace roadtally {

namespace {

// A scheme of a catch-all bin up to first-1, classes of width step from first,
// and an open bin from the last class on. wideBins get the pattern "##.#".
DisplayScheme makeScheme(const char *name, const char *procedure, const char *unit, int first,
                         int step, const QVector<int> &oneDecimalLows = {})
{
    DisplayScheme s;
    s.name = QString::fromLatin1(name);
    s.procedure = QString::fromLatin1(procedure);
    s.unit = QString::fromLatin1(unit);
    SpeedBin low;
    low.label = QStringLiteral("1 - %1").arg(first - 1);
    low.high = first - 1;
    s.bins.append(low);
    for (int i = 0; i < 11; ++i) {
        SpeedBin bin;
        bin.low = first + i * step;
        bin.high = bin.low + step - 1;
        bin.label = QStringLiteral("%1 - %2").arg(bin.low).arg(bin.high);
        if (oneDecimalLows.contains(bin.low))
            bin.pattern = QStringLiteral("##.#");
        s.bins.append(bin);
    }
    SpeedBin top;
    top.low = first + 11 * step;
    top.label = QStringLiteral("%1 - 999").arg(top.low);
    s.bins.append(top);
    return s;
}

QVector<DisplayScheme> buildSchemes()
{
    QVector<DisplayScheme> out;
    // "1 to 25 by 2": the first bin is "1 - 2", so it starts at 3 with a catch-all up to 2.
    out.append(makeScheme("1 to 25 by 2 MPH", "schemeAA", "MPH", 3, 2));
    out.append(makeScheme("15 to 70 by 5 MPH", "schemeA", "MPH", 15, 5));
    out.append(makeScheme("20 to 42 by 2 MPH", "SchemeB", "MPH", 20, 2, {36, 38, 40}));
    out.append(makeScheme("30 to 52 by 2 MPH", "SchemeC", "MPH", 30, 2, {36}));
    out.append(makeScheme("35 to 90 by 5 KPH", "schemeK", "KPH", 35, 5));
    out.append(makeScheme("65 to 120 by 5 KPH", "schemeK2", "KPH", 65, 5));
    return out;
}

} // namespace

const QVector<DisplayScheme> &displaySchemes()
{
    static const QVector<DisplayScheme> schemes = buildSchemes();
    return schemes;
}

const DisplayScheme *findDisplayScheme(const QString &name)
{
    for (const DisplayScheme &s : displaySchemes())
        if (s.name == name)
            return &s;
    return nullptr;
}

QStringList displaySchemeNames(const QString &radarMode)
{
    QStringList names;
    if (radarMode != QLatin1String("MPH") && radarMode != QLatin1String("KPH"))
        return names;
    for (const DisplayScheme &s : displaySchemes())
        if (s.unit == radarMode)
            names << s.name;
    return names;
}

SchemeResult computeScheme(DatabaseSession &session, const QString &batch,
                           const DisplayScheme &scheme, SurveyDirection direction,
                           const QString &totalText)
{
    session.requireOpen();
    const QString column = speedColumn(direction);
    const QString head =
        QStringLiteral("SELECT Sum([%1]) AS aTotal FROM [Speed] WHERE [batch_number] = ? AND ")
            .arg(column);
    const double total = numericValue(totalText);
    SchemeResult result;
    const int last = int(scheme.bins.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const SpeedBin &bin = scheme.bins.at(i);
        QSqlQuery q;
        if (i == 0)
            q = session.exec(head + QStringLiteral("[speed] <= ?"), {batch, bin.high});
        else if (i == last)
            q = session.exec(head + QStringLiteral("[speed] >= ?"), {batch, bin.low});
        else
            q = session.exec(head + QStringLiteral("[speed] >= ? AND [speed] <= ?"),
                             {batch, bin.low, bin.high});
        qint64 v = 0;
        if (q.next() && !q.value(0).isNull())
            v = q.value(0).toLongLong();
        q.finish();
        result.labels << bin.label;
        result.volumes << v;
        result.volumeTexts << QString::number(v);
        result.percentTexts << percentText(double(v), total, bin.pattern);
    }
    return result;
}

} // namespace roadtally
