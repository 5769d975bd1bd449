#pragma once
// Option parsing shared by the commands of roadtally-cli.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace roadtally {

struct OptionSpec
{
    QString name;      // without the leading "--"
    int values;        // how many values follow the option: 0, 1 or 2
    QString valueName; // shown in the help
    QString help;
    bool repeatable = false; // may be given more than once; every value is kept
};

struct ParsedArguments
{
    QMap<QString, QStringList> options;
    QStringList positional;
    bool help = false;
    QString error;

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const
    {
        const QStringList v = options.value(name);
        return v.isEmpty() ? QString() : v.first();
    }
};

// Options are "--name VALUE" or "--name=VALUE"; "--" ends the options. An
// option's value is taken as it stands, so a location may start with "-". A
// two-value option takes "--name LOW HIGH" or "--name LOW,HIGH".
ParsedArguments parseArguments(const QStringList &arguments, const QList<OptionSpec> &specs);

// The options' help lines, "--help" last.
QString optionHelp(const QList<OptionSpec> &specs);

} // namespace roadtally
