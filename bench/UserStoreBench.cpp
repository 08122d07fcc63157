#include "platform/UserStore.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A read from a store file holding `state.range(0)` values: its cost must not
// grow with the file, which is parsed once and then only checked for changes.
static void BM_UserStoreReadFromLargeFile(benchmark::State& state) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Vextora")));
    QFile file(dir.filePath(QStringLiteral("Vextora/Huesplinter.conf")));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the store file");
        return;
    }
    file.write("[Software\\\\Vextora\\\\Huesplinter]\n");
    for (qint64 i = 0; i < state.range(0); ++i)
        file.write(QByteArray("V") + QByteArray::number(i) + "=dword:" + QByteArray::number(i) +
                   "\n");
    file.close();
    TUserStore store(dir.path());
    if (!store.openKeyReadOnly(QStringLiteral("Software\\Vextora\\Huesplinter"))) {
        state.SkipWithError("cannot open the key");
        return;
    }
    qint64 i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.readInteger(QStringLiteral("V%1").arg(i)));
        i = (i + 7919) % state.range(0);
    }
}
BENCHMARK(BM_UserStoreReadFromLargeFile)->Arg(100)->Arg(100000);
