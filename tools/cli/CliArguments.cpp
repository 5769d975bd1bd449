#include "CliArguments.h"

#include "core/store/SharedState.h"

#include <QDir>

#include <optional>

namespace roadtally {

ParsedArguments parseArguments(const QStringList &arguments, const QVector<OptionSpec> &specs)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || argument == QLatin1String("-") ||
            !argument.startsWith(QLatin1Char('-'))) {
            parsed.positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            parsed.help = true;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            parsed.error = QStringLiteral("unknown option %1").arg(argument);
            return parsed;
        }
        QString name = argument.mid(2);
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        const auto spec = std::find_if(specs.begin(), specs.end(),
                                       [&name](const OptionSpec &s) { return s.name == name; });
        if (spec == specs.end()) {
            parsed.error = QStringLiteral("unknown option --%1").arg(name);
            return parsed;
        }
        if (parsed.options.contains(name)) {
            parsed.error = QStringLiteral("--%1 given twice").arg(name);
            return parsed;
        }
        QStringList values;
        if (inlineValue) {
            if (spec->values != 1) {
                parsed.error = spec->values == 0
                                   ? QStringLiteral("--%1 takes no value").arg(name)
                                   : QStringLiteral("--%1 takes %2 as separate arguments")
                                         .arg(name, spec->valueName);
                return parsed;
            }
            values << *inlineValue;
        } else {
            if (i + spec->values >= arguments.size()) {
                parsed.error = QStringLiteral("--%1 needs %2").arg(name, spec->valueName);
                return parsed;
            }
            for (int v = 0; v < spec->values; ++v)
                values << arguments.at(++i);
        }
        parsed.options.insert(name, values);
    }
    return parsed;
}

QString optionHelp(const QVector<OptionSpec> &specs)
{
    QString text;
    for (const OptionSpec &spec : specs) {
        const QString left = QStringLiteral("  --%1 %2").arg(spec.name, spec.valueName);
        text += left.leftJustified(30) + QLatin1Char(' ') + spec.help + QLatin1Char('\n');
    }
    text += QStringLiteral("  --help").leftJustified(30) + QStringLiteral(" show this help\n");
    return text;
}

QString existingDatabase(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.compare(QLatin1String(DatabaseFileName), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return {};
}

} // namespace roadtally
