// The main of the benchmarks that draw: text and pictures need a QGuiApplication, which lives on
// main's stack (one kept in a static outlived Qt's own at exit, and the program crashed there).
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
#ifdef TESSALY_BENCH_EACH_CASE_ALONE
constexpr char OneCase[] = "TESSALY_BENCH_ONE_CASE";

// A benchmark of peak memory runs each case in a process of its own: in one process every case
// after the first reused the memory the ones before had freed, and reported nothing added.
int runEachCaseAlone(int argc, char **argv)
{
    const QString self = QString::fromLocal8Bit(argv[0]);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(OneCase), QStringLiteral("1"));
    QProcess list;
    list.setProcessEnvironment(env);
    list.start(self, QStringList(args) << QStringLiteral("--benchmark_list_tests=true"));
    if (!list.waitForFinished(-1) || list.exitCode() != 0) {
        std::fprintf(stderr, "could not list the cases of %s\n", argv[0]);
        return 1;
    }
    int failed = 0;
    for (const QByteArray &name : list.readAllStandardOutput().split('\n')) {
        if (name.trimmed().isEmpty())
            continue;
        QStringList one = args;
        one.removeIf([](const QString &a) { return a.startsWith(QLatin1String("--benchmark_filter")); });
        // The benchmark library's expressions take no escaped "/" or ":": escape only what is special.
        QString exact = QString::fromUtf8(name.trimmed());
        exact.replace(QRegularExpression(QStringLiteral(R"(([][().*+?^$|\{}]))")), QStringLiteral(R"(\\\1)"));
        one << QStringLiteral("--benchmark_filter=^%1$").arg(exact);
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.setProcessEnvironment(env);
        run.start(self, one);
        if (!run.waitForFinished(-1) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            ++failed;
    }
    return failed ? 1 : 0;
}
#endif
} // namespace

int main(int argc, char **argv)
{
#ifdef TESSALY_BENCH_EACH_CASE_ALONE
    if (qEnvironmentVariableIsEmpty(OneCase))
        return runEachCaseAlone(argc, argv);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
