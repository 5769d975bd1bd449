#include "core/analysis/SpeedStudyText.h"

#include <QHash>
#include <QJsonArray>

namespace roadtally {

namespace {

constexpr int LabelWidth = 30;
constexpr int ValueWidth = 12;

QString percent(const StudyValue &value)
{
    return value.isNumber() ? value.text + QLatin1Char('%') : value.text;
}

// A label, the value right-aligned in its column, and what follows it.
QString line(const QString &label, const QString &value, const QString &more = QString())
{
    QString out = label.leftJustified(LabelWidth) + value.rightJustified(ValueWidth);
    if (!more.isEmpty())
        out += QStringLiteral("  ") + more;
    return out + QLatin1Char('\n');
}

// A speed figure followed by its unit when it is a number.
QString speedLine(const QString &label, const StudyValue &value, const QString &unit)
{
    return line(label, value.text, value.isNumber() ? unit : QString());
}

QString vehicles(const StudyValue &count)
{
    return count.text +
           (count.number == 1.0 ? QStringLiteral(" vehicle") : QStringLiteral(" vehicles"));
}

QString ordinal(int level)
{
    return QString::number(level) + QStringLiteral("th");
}

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

QVector<StudyRow> speedStudyRows(const SpeedStudy &s)
{
    const QString &u = s.unitText;
    const QString pct = QStringLiteral("%");
    const QString veh = QStringLiteral("vehicles");
    auto text = [](const QString &t) {
        StudyValue v;
        v.text = t;
        return v;
    };
    QVector<StudyRow> rows{
        {QStringLiteral("n"), QStringLiteral("Vehicles"), s.vehicles, veh},
        {QStringLiteral("mean"), QStringLiteral("Mean speed"), s.mean, u},
        {QStringLiteral("sd"), QStringLiteral("Standard deviation"), s.sd, u},
        {QStringLiteral("modal"), QStringLiteral("Modal speed"), s.modal, u},
    };
    for (const PercentileFigure &p : s.percentiles)
        rows.append({QStringLiteral("p%1").arg(p.level),
                     QStringLiteral("%1 percentile (ranked)").arg(ordinal(p.level)), p.ranked, u});
    for (const PercentileFigure &p : s.percentiles)
        rows.append({QStringLiteral("p%1_interpolated").arg(p.level),
                     QStringLiteral("%1 percentile (interpolated)").arg(ordinal(p.level)),
                     p.interpolated, u});
    const QString paceWidthText =
        u.isEmpty() ? QString() : QStringLiteral(" (%1 %2)").arg(paceWidth(s.unit)).arg(u);
    const QString limit = s.limit ? QString::number(*s.limit) : QStringLiteral("L");
    auto over = [&](int plus) {
        return s.limit ? QStringLiteral("Over %1 %2").arg(*s.limit + plus).arg(u)
                       : QStringLiteral("Over L + %1").arg(plus);
    };
    rows += {
        {QStringLiteral("pace"), QStringLiteral("Pace") + paceWidthText, text(s.paceText), u},
        {QStringLiteral("pace_count"), QStringLiteral("Vehicles in pace"), s.paceCount, veh},
        {QStringLiteral("pace_percent"), QStringLiteral("Percent in pace"), s.pacePercent, pct},
        {QStringLiteral("over_limit_percent"),
         s.limit ? QStringLiteral("Over the limit (%1 %2)").arg(limit, u)
                 : QStringLiteral("Over the limit"),
         s.overLimitPercent, pct},
        {QStringLiteral("over_5_percent"), over(5), s.over5Percent, pct},
        {QStringLiteral("over_10_percent"), over(10), s.over10Percent, pct},
        {QStringLiteral("p85_minus_limit"), QStringLiteral("85th percentile - limit"),
         s.p85MinusLimit, u},
        {QStringLiteral("sample_required"),
         s.marginOfError > 0
             ? QStringLiteral("Sample needed (\u00b1%1 %2)").arg(s.marginOfError).arg(u)
             : QStringLiteral("Sample needed"),
         s.sampleRequired, veh},
        {QStringLiteral("sample_adequate"), QStringLiteral("Sample adequate"),
         text(s.sampleAdequateText), QString()},
        {QStringLiteral("adt"), QStringLiteral("Average daily traffic"), s.adt, veh},
        {QStringLiteral("complete_days"), QStringLiteral("Complete days"),
         StudyValue{QString::number(s.completeDays), double(s.completeDays),
                    double(s.completeDays)},
         QString()},
        {QStringLiteral("program_mean"), QStringLiteral("Average Speed (program)"), s.programMean,
         u},
        {QStringLiteral("program_p85"), QStringLiteral("85th Percentile (program)"), s.programP85,
         u},
        {QStringLiteral("program_pace"), QStringLiteral("Pace Range (program)"),
         text(s.programPace), u},
        {QStringLiteral("program_pace_count"), QStringLiteral("Number in Pace (program)"),
         s.programPaceCount, veh},
        {QStringLiteral("program_pace_percent"), QStringLiteral("Percent in Pace (program)"),
         text(s.programPacePercent), QString()},
    };
    return rows;
}

namespace {

// A value with its unit as a table cell shows it: "%" joined to a number,
// vehicles bare, a speed unit after any speed text but "N/A".
QString cellText(const StudyValue &value, const QString &unit)
{
    if (!value.isNumber() && value.text == QLatin1String("N/A"))
        return value.text;
    if (unit == QLatin1String("%"))
        return value.isNumber() ? value.text + QLatin1Char('%') : value.text;
    if (unit.isEmpty() || unit == QLatin1String("vehicles"))
        return value.text;
    return value.text + QLatin1Char(' ') + unit;
}

} // namespace

QVector<StudyTableLine> speedStudyTable(const SpeedStudy &s)
{
    const QVector<StudyRow> rows = speedStudyRows(s);
    QHash<QString, StudyRow> byKey;
    for (const StudyRow &row : rows)
        byKey.insert(row.key, row);
    // The program's figures, beside the study's figure of the same meaning.
    const QHash<QString, QString> beside = {
        {QStringLiteral("mean"), QStringLiteral("program_mean")},
        {QStringLiteral("p85"), QStringLiteral("program_p85")},
        {QStringLiteral("pace"), QStringLiteral("program_pace")},
        {QStringLiteral("pace_count"), QStringLiteral("program_pace_count")},
        {QStringLiteral("pace_percent"), QStringLiteral("program_pace_percent")},
    };
    const QString speeds = s.unitText.isEmpty()
                               ? QStringLiteral("Percentile speeds")
                               : QStringLiteral("Percentile speeds (%1)").arg(s.unitText);
    const QVector<QPair<QString, QStringList>> groups = {
        {QStringLiteral("Vehicles and speeds"),
         {QStringLiteral("n"), QStringLiteral("mean"), QStringLiteral("sd"),
          QStringLiteral("modal")}},
        {speeds,
         {QStringLiteral("p15"), QStringLiteral("p50"), QStringLiteral("p85"),
          QStringLiteral("p95"), QStringLiteral("p15_interpolated"),
          QStringLiteral("p50_interpolated"), QStringLiteral("p85_interpolated"),
          QStringLiteral("p95_interpolated")}},
        {QStringLiteral("Pace"),
         {QStringLiteral("pace"), QStringLiteral("pace_count"), QStringLiteral("pace_percent")}},
        {QStringLiteral("Over the posted limit"),
         {QStringLiteral("over_limit_percent"), QStringLiteral("over_5_percent"),
          QStringLiteral("over_10_percent"), QStringLiteral("p85_minus_limit")}},
        {QStringLiteral("Sample and traffic"),
         {QStringLiteral("sample_required"), QStringLiteral("sample_adequate"),
          QStringLiteral("adt"), QStringLiteral("complete_days")}},
    };
    QVector<StudyTableLine> out;
    for (const auto &group : groups) {
        out.append({group.first, QString(), QString(), true});
        for (const QString &key : group.second) {
            const StudyRow row = byKey.value(key);
            StudyTableLine line{row.label, cellText(row.value, row.unit), QString(), false};
            if (key == QLatin1String("p85_minus_limit") && row.value.isNumber() &&
                *row.value.number > 0)
                line.study.prepend(QLatin1Char('+'));
            if (beside.contains(key)) {
                const StudyRow program = byKey.value(beside.value(key));
                line.program = cellText(program.value, program.unit);
            }
            out.append(line);
        }
    }
    return out;
}

QString speedStudyText(const SpeedStudy &s)
{
    QString out;
    out += QStringLiteral("Speed Zone Study\n");
    QString survey = QStringLiteral("Survey ") + s.batchNumber;
    if (!s.location.trimmed().isEmpty())
        survey += QStringLiteral(", ") + s.location.trimmed();
    out += survey + QLatin1Char('\n');
    QStringList facts;
    facts << (s.direction == SurveyDirection::Both
                  ? QStringLiteral("All vehicles")
                  : capitalized(directionName(s.direction)) + QStringLiteral(" vehicles"));
    if (!s.unit.isEmpty())
        facts << s.unit;
    if (!s.postedLimit.trimmed().isEmpty())
        facts << QStringLiteral("posted limit ") + s.postedLimit.trimmed();
    if (!s.startDate.isEmpty() || !s.stopDate.isEmpty())
        facts << s.startDate + QStringLiteral(" to ") + s.stopDate;
    out += facts.join(QStringLiteral(", ")) + QStringLiteral("\n\n");

    const QString &u = s.unitText;
    out += line(QStringLiteral("Vehicles"), s.vehicles.text);
    out += speedLine(QStringLiteral("Mean speed"), s.mean, u);
    out += speedLine(QStringLiteral("Standard deviation"), s.sd, u);
    out += speedLine(QStringLiteral("Modal speed"), s.modal, u);
    out += QLatin1Char('\n');

    const QString percentiles = u.isEmpty() ? QStringLiteral("Percentile speeds")
                                            : QStringLiteral("Percentile speeds (%1)").arg(u);
    out += percentiles.leftJustified(LabelWidth) +
           QStringLiteral("Ranked").rightJustified(ValueWidth) +
           QStringLiteral("Interpolated").rightJustified(ValueWidth + 3) + QLatin1Char('\n');
    for (const PercentileFigure &p : s.percentiles)
        out += QStringLiteral("  ") + ordinal(p.level).leftJustified(LabelWidth - 2) +
               p.ranked.text.rightJustified(ValueWidth) +
               p.interpolated.text.rightJustified(ValueWidth + 3) + QLatin1Char('\n');
    out += QLatin1Char('\n');

    const QString paceLabel = u.isEmpty()
                                  ? QStringLiteral("Pace")
                                  : QStringLiteral("Pace (%1 %2)").arg(paceWidth(s.unit)).arg(u);
    out += line(paceLabel, s.paceText,
                s.paceCount.isNumber()
                    ? QStringLiteral("%1 (%2)").arg(vehicles(s.paceCount), percent(s.pacePercent))
                    : QString());
    if (s.limit) {
        out += line(QStringLiteral("Over the limit (%1 %2)").arg(*s.limit).arg(u),
                    percent(s.overLimitPercent));
        out += line(QStringLiteral("Over %1 %2").arg(*s.limit + 5).arg(u), percent(s.over5Percent));
        out +=
            line(QStringLiteral("Over %1 %2").arg(*s.limit + 10).arg(u), percent(s.over10Percent));
    } else {
        out += line(QStringLiteral("Over the limit"), percent(s.overLimitPercent));
    }
    QString difference = s.p85MinusLimit.text;
    if (s.p85MinusLimit.isNumber() && *s.p85MinusLimit.number > 0)
        difference.prepend(QLatin1Char('+'));
    out += line(QStringLiteral("85th percentile - limit"), difference,
                s.p85MinusLimit.isNumber() ? u : QString());
    const QString sampleLabel =
        s.marginOfError > 0
            ? QStringLiteral("Sample needed (\u00b1%1 %2)").arg(s.marginOfError).arg(u)
            : QStringLiteral("Sample needed");
    out += line(sampleLabel, s.sampleRequired.text,
                (s.sampleRequired.isNumber() ? QStringLiteral("vehicles; adequate: ")
                                             : QStringLiteral("adequate: ")) +
                    s.sampleAdequateText);
    out += line(QStringLiteral("Average daily traffic"), s.adt.text,
                s.completeDays > 0 ? QStringLiteral("vehicles a day over %1 complete day%2")
                                         .arg(s.completeDays)
                                         .arg(s.completeDays == 1 ? QString() : QStringLiteral("s"))
                                   : QString());
    out += QLatin1Char('\n');

    out += QStringLiteral("The program's own figures\n");
    out += line(QStringLiteral("Average Speed"), s.programMean.text);
    out += line(QStringLiteral("85th Percentile"), s.programP85.text);
    QString paceMore;
    if (s.programPaceCount.isNumber())
        paceMore =
            QStringLiteral("%1 (%2)").arg(vehicles(s.programPaceCount), s.programPacePercent);
    out += line(QStringLiteral("Pace Range"), s.programPace, paceMore);

    if (!s.notes.isEmpty()) {
        out += QStringLiteral("\nNotes\n");
        for (const QString &note : s.notes)
            out += QStringLiteral("- ") + note + QLatin1Char('\n');
    }
    return out;
}

QJsonValue studyJsonValue(const StudyValue &value)
{
    if (value.number)
        return QJsonValue(*value.number);
    return QJsonValue(value.text);
}

QJsonObject speedStudyJson(const SpeedStudy &s)
{
    QJsonObject o;
    o.insert(QStringLiteral("batch"), s.batchNumber);
    o.insert(QStringLiteral("location"), s.location);
    o.insert(QStringLiteral("direction"), directionName(s.direction));
    o.insert(QStringLiteral("unit"), s.unit);
    o.insert(QStringLiteral("posted_limit"), s.postedLimit);
    o.insert(QStringLiteral("start_date"), s.startDate);
    o.insert(QStringLiteral("stop_date"), s.stopDate);
    o.insert(QStringLiteral("n"), double(s.n));
    o.insert(QStringLiteral("mean"), studyJsonValue(s.mean));
    o.insert(QStringLiteral("sd"), studyJsonValue(s.sd));
    for (const PercentileFigure &p : s.percentiles) {
        const QString key = QStringLiteral("p%1").arg(p.level);
        o.insert(key, studyJsonValue(p.ranked));
        o.insert(key + QStringLiteral("_interpolated"), studyJsonValue(p.interpolated));
    }
    QJsonObject pace;
    pace.insert(QStringLiteral("low"), studyJsonValue(s.paceLow));
    pace.insert(QStringLiteral("high"), studyJsonValue(s.paceHigh));
    pace.insert(QStringLiteral("count"), studyJsonValue(s.paceCount));
    pace.insert(QStringLiteral("percent"), studyJsonValue(s.pacePercent));
    o.insert(QStringLiteral("pace"), pace);
    o.insert(QStringLiteral("modal"), studyJsonValue(s.modal));
    o.insert(QStringLiteral("over_limit_percent"), studyJsonValue(s.overLimitPercent));
    o.insert(QStringLiteral("over_5_percent"), studyJsonValue(s.over5Percent));
    o.insert(QStringLiteral("over_10_percent"), studyJsonValue(s.over10Percent));
    o.insert(QStringLiteral("p85_minus_limit"), studyJsonValue(s.p85MinusLimit));
    QJsonObject sample;
    sample.insert(QStringLiteral("required"), studyJsonValue(s.sampleRequired));
    sample.insert(QStringLiteral("adequate"), s.sampleAdequate ? QJsonValue(*s.sampleAdequate)
                                                               : QJsonValue(s.sampleAdequateText));
    o.insert(QStringLiteral("sample"), sample);
    o.insert(QStringLiteral("adt"), studyJsonValue(s.adt));
    o.insert(QStringLiteral("complete_days"), s.completeDays);
    QJsonObject program;
    program.insert(QStringLiteral("mean"), studyJsonValue(s.programMean));
    program.insert(QStringLiteral("p85"), studyJsonValue(s.programP85));
    program.insert(QStringLiteral("pace"), s.programPace);
    program.insert(QStringLiteral("pace_count"), studyJsonValue(s.programPaceCount));
    program.insert(QStringLiteral("pace_percent"), s.programPacePercent);
    o.insert(QStringLiteral("program"), program);
    o.insert(QStringLiteral("notes"), QJsonArray::fromStringList(s.notes));
    return o;
}

} // namespace roadtally
