#pragma once
// Option parsing and small helpers shared by the commands of roadtally-cli.

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct OptionSpec
{
    QString name;      // without the leading "--"
    int values;        // how many values follow the option
    QString valueName; // shown in the help
    QString help;
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

// Options are "--name VALUE..." or "--name=VALUE"; "--" ends the options. An
// option's values are taken as they stand, so a location may start with "-".
ParsedArguments parseArguments(const QStringList &arguments, const QVector<OptionSpec> &specs);

// The options' help lines, "--help" last.
QString optionHelp(const QVector<OptionSpec> &specs);

// An OV97.mdb in the folder, whatever the case of its name ("" when none).
QString existingDatabase(const QString &folder);

} // namespace roadtally
