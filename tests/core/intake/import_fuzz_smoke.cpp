// A short fuzz run that needs no clang: valid raw data files from the test
// builder, mutated at random (a fixed seed, so a failure repeats), each fed to
// the same harness as the libFuzzer target.
//
//   import_fuzz_smoke [--seconds N] [--seed S] [--write-seeds DIR]

#include "ImportHarness.h"
#include "fixtures/RawTextBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

using namespace roadtally;

namespace {

QByteArray seedFile(QRandomGenerator &rng)
{
    QList<test::Record> records;
    const int n = int(rng.bounded(0, 120));
    qint64 o = rng.bounded(0, 100);
    for (int i = 0; i < n; ++i) {
        o += rng.bounded(-5, 400);
        if (rng.bounded(50) == 0)
            o += 60000; // a gap that drops the rest
        records.append({qMax<qint64>(0, o), "+-?+-"[rng.bounded(5)], int(rng.bounded(0, 140))});
    }
    const QString header =
        test::headerFor(int(rng.bounded(0, 14)), int(rng.bounded(0, 33)), int(rng.bounded(0, 100)),
                        int(rng.bounded(0, 26)), int(rng.bounded(0, 62)));
    return test::rawFile(records, header).toLatin1();
}

QByteArray mutate(QByteArray data, QRandomGenerator &rng)
{
    static const char alphabet[] = "0123456789,,,+-?**\r\n x.";
    const int ops = int(rng.bounded(1, 8));
    for (int k = 0; k < ops; ++k) {
        const qsizetype size = data.size();
        const qsizetype at = size ? qsizetype(rng.bounded(quint64(size))) : 0;
        switch (rng.bounded(7)) {
        case 0: // replace a byte with a meaningful one
            if (size)
                data[at] = alphabet[rng.bounded(int(sizeof alphabet - 1))];
            break;
        case 1: // any byte
            if (size)
                data[at] = char(rng.bounded(256));
            break;
        case 2:
            data.insert(at, alphabet[rng.bounded(int(sizeof alphabet - 1))]);
            break;
        case 3:
            data.remove(at, qsizetype(rng.bounded(1, 20)));
            break;
        case 4: // repeat a stretch
            data.insert(at, data.mid(at, qsizetype(rng.bounded(1, 40))));
            break;
        case 5:
            data.truncate(at);
            break;
        case 6: // a long offset
            data.insert(at, QByteArray::number(rng.bounded(quint64(1) << 40)));
            break;
        }
    }
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    double seconds = 10;
    quint32 seed = 20010524;
    QString seedDir;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            seconds = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toUInt();
        else if (args[i] == QLatin1String("--write-seeds") && i + 1 < args.size())
            seedDir = args[++i];
        else {
            std::fprintf(stderr,
                         "usage: import_fuzz_smoke [--seconds N] [--seed S] [--write-seeds DIR]\n");
            return 2;
        }
    }

    QRandomGenerator rng(seed);
    if (!seedDir.isEmpty()) {
        QDir().mkpath(seedDir);
        for (int i = 0; i < 8; ++i) {
            QFile f(QDir(seedDir).filePath(QStringLiteral("seed%1").arg(i)));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(1, char(rng.bounded(256))) + seedFile(rng));
        }
        return 0;
    }

    QElapsedTimer timer;
    timer.start();
    qint64 runs = 0;
    while (timer.elapsed() < qint64(seconds * 1000)) {
        QByteArray input = QByteArray(1, char(rng.bounded(256))) + seedFile(rng);
        if (rng.bounded(8) != 0)
            input = mutate(input, rng);
        fuzz::runOne(reinterpret_cast<const std::uint8_t *>(input.constData()),
                     std::size_t(input.size()));
        ++runs;
    }
    std::printf("%lld inputs imported without a broken promise\n", static_cast<long long>(runs));
    return 0;
}
