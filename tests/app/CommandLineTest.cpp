#include "app/CommandLine.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct TRun {
    std::optional<int> exitCode;
    QString out;
    QString err;
};

TRun run(const QStringList& options, const QString& storeFile = {}) {
    TRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = RunCommandLine(QStringList{"huesplinter"} + options, storeFile, out, err);
    return result;
}

} // namespace

TEST(CommandLine, NoOptionsStartsTheProgram) {
    const TRun r = run({});
    EXPECT_FALSE(r.exitCode.has_value());
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CommandLine, HelpAndVersionPrintAndQuit) {
    const QString savedName = QCoreApplication::applicationName();
    const QString savedVersion = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationName("Huesplinter");
    QCoreApplication::setApplicationVersion("1.2.3");

    for (const char* option : {"--version", "-v"}) {
        const TRun r = run({QString::fromLatin1(option)});
        EXPECT_EQ(r.exitCode, 0) << option;
        EXPECT_EQ(r.out, "Huesplinter 1.2.3\n");
    }
    for (const char* option : {"--help", "-h"}) {
        const TRun r = run({QString::fromLatin1(option)});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.contains("--reset-settings"));
        EXPECT_TRUE(r.out.contains("--version"));
    }

    QCoreApplication::setApplicationName(savedName);
    QCoreApplication::setApplicationVersion(savedVersion);
}

TEST(CommandLine, UnknownOptionsAndArgumentsFailWithoutStarting) {
    for (const QStringList& args : {QStringList{"--colour=red"}, QStringList{"stray"}}) {
        const TRun r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
}

TEST(CommandLine, ResetMovesTheStoreAsideAndStarts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString store = dir.filePath("Huesplinter.conf");
    PutFile(store, "[Software\\Vextora\\Huesplinter]\nSettings=1\n");

    const TRun r = run({"--reset-settings"}, store);
    EXPECT_FALSE(r.exitCode.has_value());
    EXPECT_FALSE(QFile::exists(store));
    const QStringList backups = QDir(dir.path()).entryList({"Huesplinter.conf.*.bak"}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(FileBytes(dir.filePath(backups.first())),
              "[Software\\Vextora\\Huesplinter]\nSettings=1\n");
    EXPECT_TRUE(r.out.contains(backups.first()));

    // Nothing to reset is no failure.
    const TRun again = run({"--reset-settings"}, store);
    EXPECT_FALSE(again.exitCode.has_value());
    EXPECT_TRUE(again.err.isEmpty());
}

TEST(CommandLine, BackupsOfTheSameSecondNeverOverwriteEachOther) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString store = dir.filePath("Huesplinter.conf");
    const QDateTime now(QDate(2026, 1, 31), QTime(14, 5, 9));

    QStringList backups;
    for (const QByteArray content : {"first", "second", "third"}) {
        PutFile(store, content);
        const TSettingsReset reset = MoveSettingsAside(store, now);
        ASSERT_TRUE(reset.ok) << reset.error.toStdString();
        backups << reset.backup;
    }
    EXPECT_EQ(backups,
              QStringList({store + ".2026-01-31_14-05-09.bak", store + ".2026-01-31_14-05-09-2.bak",
                           store + ".2026-01-31_14-05-09-3.bak"}));
    EXPECT_EQ(FileBytes(backups[0]), "first");
    EXPECT_EQ(FileBytes(backups[2]), "third");
}

TEST(CommandLine, AFailedResetIsReportedAndTheProgramDoesNotStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A store name at the file system's length limit leaves no room for the
    // backup's date, which fails the rename even for the superuser.
    const QString store = dir.filePath(QString(250, QLatin1Char('s')));
    PutFile(store, "kept");

    const TRun r = run({"--reset-settings"}, store);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("could not be moved aside")) << r.err.toStdString();
    EXPECT_EQ(FileBytes(store), "kept");
}
