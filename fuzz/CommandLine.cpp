// Any arguments, split at NUL bytes: the command line answers with a known exit code or a run to
// start, never prints an answer beside a complaint, and hands a pick only formats it knows.
#include "FuzzSupport.h"
#include "app/CommandLine.h"
#include "colour/NamedFormat.h"
#include "platform/UserStore.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // No settings stored: a reset has nothing to move, and nothing of the host is read.
    static QTemporaryDir config;
    static TUserStore store(config.path());

    QStringList arguments{QStringLiteral("huesplinter")};
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromLocal8Bit(argument);

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const TCommandOutcome outcome = RunCommandLine(arguments, store, outStream, errStream);
    if (outcome.exitCode) {
        const int code = *outcome.exitCode;
        FuzzCheck(code == kExitOk || code == kExitTrouble);
        FuzzCheck(code == kExitOk ? !out.isEmpty() : out.isEmpty() && !err.isEmpty());
        FuzzCheck(!outcome.pick && !outcome.clipboardText);
    }
    if (outcome.pick) {
        for (const QString& name : outcome.pick->formats)
            FuzzCheck(name == QLatin1String("all") || FindNamedFormat(name));
    }
    return 0;
}
