#include "CliArguments.h"

#include <QCommandLineParser>
#include <QSet>

namespace roadtally {

namespace {

const OptionSpec *findSpec(const QList<OptionSpec> &specs, QStringView name)
{
    for (const OptionSpec &spec : specs)
        if (spec.name == name)
            return &spec;
    return nullptr;
}

// The parser knows options of one value only: "--name LOW HIGH" becomes
// "--name LOW,HIGH". Values of other options are skipped as they stand.
QStringList joinTwoValueOptions(const QStringList &arguments, const QList<OptionSpec> &specs)
{
    QStringList joined;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        joined << argument;
        if (argument == QLatin1String("--")) {
            joined << arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith(QLatin1String("--")) || argument.contains(QLatin1Char('=')))
            continue;
        const OptionSpec *spec = findSpec(specs, argument.mid(2));
        if (!spec || spec->values == 0 || i + 1 >= arguments.size())
            continue;
        QString value = arguments.at(++i);
        if (spec->values == 2 && !value.contains(QLatin1Char(',')) && i + 1 < arguments.size())
            value += QLatin1Char(',') + arguments.at(++i);
        joined << value;
    }
    return joined;
}

// The first problem the parser found, in the program's words, and where: at
// is the index of the argument at fault.
QString parseError(const QCommandLineParser &parser, const QStringList &arguments,
                   const QList<OptionSpec> &specs, qsizetype &at)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        at = i;
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--"))) {
            const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
            if (unknown.contains(name))
                return QStringLiteral("unknown option --%1").arg(name);
            const OptionSpec *spec = findSpec(specs, name);
            const bool inlineValue = argument.contains(QLatin1Char('='));
            if (spec && spec->values == 0 && inlineValue)
                return QStringLiteral("--%1 takes no value").arg(name);
            if (spec && spec->values > 0 && !inlineValue)
                ++i; // its value, whatever it looks like
        } else if (argument.size() > 1 && argument.startsWith(QLatin1Char('-')) &&
                   argument != QLatin1String("-h") && !unknown.isEmpty()) {
            return QStringLiteral("unknown option %1").arg(argument);
        }
    }
    // Otherwise the last option lacks its value.
    at = arguments.size() - 1;
    const QString last = arguments.isEmpty() ? QString() : arguments.last();
    if (const OptionSpec *spec = findSpec(specs, QStringView(last).mid(2)))
        return QStringLiteral("--%1 needs %2").arg(spec->name, spec->valueName);
    return parser.errorText();
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments, const QList<OptionSpec> &specs)
{
    ParsedArguments parsed;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    for (const OptionSpec &spec : specs)
        parser.addOption(
            QCommandLineOption(spec.name, spec.help, spec.values > 0 ? spec.valueName : QString()));

    const QStringList joined = joinTwoValueOptions(arguments, specs);
    // The parser skips the first argument, the program's name.
    const bool understood = parser.parse(QStringList{QStringLiteral("roadtally-cli")} + joined);
    // Asked for help before anything went wrong, the command gives it.
    parsed.help = parser.isSet(help);
    if (!understood) {
        qsizetype at = 0;
        parsed.error = parseError(parser, joined, specs, at);
        const QStringList before = joined.mid(0, at);
        parsed.help = parsed.help && (before.contains(QLatin1String("--help")) ||
                                      before.contains(QLatin1String("-h")));
        return parsed;
    }
    QSet<QString> seen;
    for (const QString &name : parser.optionNames()) {
        if (name == QLatin1String("h") || name == QLatin1String("help"))
            continue;
        const OptionSpec *spec = findSpec(specs, name);
        if (seen.contains(name) && !spec->repeatable) {
            parsed.error = QStringLiteral("--%1 given twice").arg(name);
            return parsed;
        }
        seen.insert(name);
        QStringList values = parser.values(name);
        if (spec->values == 2) {
            values = values.value(0).split(QLatin1Char(','));
            if (values.size() != 2) {
                parsed.error = QStringLiteral("--%1 needs %2").arg(name, spec->valueName);
                return parsed;
            }
        }
        parsed.options.insert(name, values);
    }
    parsed.positional = parser.positionalArguments();
    return parsed;
}

QString optionHelp(const QList<OptionSpec> &specs)
{
    QString text;
    for (const OptionSpec &spec : specs) {
        const QString left = QStringLiteral("  --%1 %2").arg(spec.name, spec.valueName);
        text += left.leftJustified(30) + QLatin1Char(' ') + spec.help + QLatin1Char('\n');
    }
    text += QStringLiteral("  --help").leftJustified(30) + QStringLiteral(" show this help\n");
    return text;
}

} // namespace roadtally
