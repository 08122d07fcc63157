#include "app/CommandLine.h"
#include "colour/NamedFormat.h"
#include "platform/Registry.h"
#include "platform/UserStore.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <optional>

#ifdef _WIN32
#include "support/LockedFile.h"
#endif

namespace {

struct TRun {
    std::optional<int> exitCode;
    QString out;
    QString err;
};

struct CommandLineTest : ::testing::Test {
    QTemporaryDir dir;
    TUserStore store{dir.path()};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(store.fileName()).path()));
    }

    TRun run(const QStringList& options) {
        TRun result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        const TCommandOutcome outcome =
            RunCommandLine(QStringList{"huesplinter"} + options, store, out, err);
        result.exitCode = outcome.exitCode;
        pick = outcome.pick;
        return result;
    }

    std::optional<TPickRequest> pick;
};

constexpr ColorValue kExample = MakeColor(255, 26, 184);

TStoredSettings decimalSettings() {
    TStoredSettings settings;
    settings.formats.customHex = settings.formats.hslHex = false;
    return settings;
}

} // namespace

TEST_F(CommandLineTest, NoOptionsStartsTheProgram) {
    const TRun r = run({});
    EXPECT_FALSE(r.exitCode.has_value());
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CommandLineTest, HelpAndVersionPrintAndQuit) {
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
        for (const char* documented : {"--reset-settings", "--version", "--pick", "--average",
                                       "--copy", "--convert COLOUR", "--format NAME", "  all "})
            EXPECT_TRUE(r.out.contains(QLatin1String(documented))) << documented;
        for (const TNamedFormat& format : NamedFormats())
            EXPECT_TRUE(r.out.contains(QLatin1String("  ") + QLatin1String(format.name) + ' '))
                << format.name;
        EXPECT_TRUE(r.err.isEmpty());
    }

    QCoreApplication::setApplicationName(savedName);
    QCoreApplication::setApplicationVersion(savedVersion);
}

TEST_F(CommandLineTest, UnknownOptionsAndArgumentsFailWithoutStarting) {
    for (const QStringList& args : {QStringList{"--colour=red"}, QStringList{"stray"}}) {
        const TRun r = run(args);
        EXPECT_EQ(r.exitCode, kExitTrouble);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
}

TEST_F(CommandLineTest, ResetMovesTheStoreAsideAndStarts) {
    const QString file = store.fileName();
    const QDir folder = QFileInfo(file).dir();
    PutFile(file, "[Software\\Vextora\\Huesplinter]\nSettings=1\n");

    const TRun r = run({"--reset-settings"});
    EXPECT_FALSE(r.exitCode.has_value());
    EXPECT_FALSE(QFile::exists(file));
    const QStringList backups = folder.entryList({"Huesplinter.conf.*.bak"}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(FileBytes(folder.filePath(backups.first())),
              "[Software\\Vextora\\Huesplinter]\nSettings=1\n");
    EXPECT_TRUE(r.out.contains(backups.first()));

    // Nothing to reset is no failure.
    const TRun again = run({"--reset-settings"});
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

TEST(CommandLine, ResetInTheRegistryMovesTheKeyAsideWithItsValues) {
    if (!Registry::available()) GTEST_SKIP() << "the registry exists on Windows only";
    const QString root = QStringLiteral("Software\\Vextora\\HuesplinterTests\\reset%1")
                             .arg(QCoreApplication::applicationPid());
    const QString key = QStringLiteral("Software\\Vextora\\Huesplinter");
    ASSERT_TRUE(Registry::deleteKey(root));
    TUserStore store = TUserStore::inRegistry(root);
    const QDateTime now(QDate(2026, 1, 31), QTime(14, 5, 9));

    QStringList backups;
    for (const qint32 value : {1, 2}) {
        ASSERT_TRUE(store.openKey(key + "\\Picker", true));
        ASSERT_TRUE(store.writeInteger("Size", value));
        ASSERT_TRUE(store.openKey(key, true));
        ASSERT_TRUE(store.writeString("Template", QString::number(value)));
        const TSettingsReset reset = MoveRegistrySettingsAside(store, now);
        ASSERT_TRUE(reset.ok) << reset.error.toStdString();
        backups << reset.backup;
        EXPECT_FALSE(store.keyExists(key));
    }
    // The second reset of the same second gets a key of its own; each keeps its values and
    // subkeys.
    EXPECT_EQ(backups, QStringList({store.place(key + ".2026-01-31_14-05-09.bak"),
                                    store.place(key + ".2026-01-31_14-05-09-2.bak")}));
    for (const auto& [backup, value] : {std::pair{QString(".2026-01-31_14-05-09.bak"), 1},
                                        std::pair{QString(".2026-01-31_14-05-09-2.bak"), 2}}) {
        ASSERT_TRUE(store.openKeyReadOnly(key + backup));
        EXPECT_EQ(store.readString("Template").value, QString::number(value));
        ASSERT_TRUE(store.openKeyReadOnly(key + backup + "\\Picker"));
        EXPECT_EQ(store.readInteger("Size").value, value);
    }
    // Nothing to move is no failure.
    EXPECT_TRUE(MoveRegistrySettingsAside(store, now).ok);
    EXPECT_TRUE(Registry::deleteKey(root));
}

TEST_F(CommandLineTest, AFailedResetIsReportedAndTheProgramDoesNotStart) {
#ifdef _WIN32
    // Another program holds the settings file open and shares it with nobody: it can be neither
    // renamed nor copied.
    TUserStore deep(dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkpath("Vextora"));
    PutFile(deep.fileName(), "kept");
    std::optional<TLockedFile> locked(std::in_place, deep.fileName());
    ASSERT_TRUE(locked->held());
#else
    // A store whose path is a few characters short of the system's path limit leaves no room for
    // the backup's date, which fails the rename even for the superuser.
    QString folder = dir.path();
    constexpr qsizetype kFolderLength = 4096 - 40;
    while (folder.size() < kFolderLength)
        folder += '/' + QString(std::min<qsizetype>(200, kFolderLength - folder.size() - 1), 'd');
    if (!QDir().mkpath(folder + "/Vextora")) GTEST_SKIP() << "no paths this long here";
    TUserStore deep(folder);
    PutFile(deep.fileName(), "kept");
#endif

    TRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.exitCode = RunCommandLine({"huesplinter", "--reset-settings"}, deep, out, err).exitCode;
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_TRUE(r.err.contains("could not be moved aside")) << r.err.toStdString();
#ifdef _WIN32
    locked.reset();
    EXPECT_EQ(QDir(dir.path() + "/Vextora").entryList(QDir::Files),
              QStringList{"Huesplinter.conf"});
#endif
    EXPECT_EQ(FileBytes(deep.fileName()), "kept");
}

TEST(CommandLine, FormatLinesFollowTheNamesAndTheClickAction) {
    TStoredSettings settings = decimalSettings();
    EXPECT_EQ(FormatLines(kExample, {}, settings), "#FF1AB8\n");
    settings.clickAction = CopyStyle::All;
    EXPECT_EQ(FormatLines(kExample, {}, settings),
              "#FF1AB8 0x00B81AFF R:255 G:026 B:184 hsl( 318, 100%, 55% ); rgb( 255, 26, 184 );\n");
    // In the order asked, repeats included; byte 3 of a read value never shows.
    EXPECT_EQ(FormatLines(0x80000000u | kExample, {"bgr", "rgb-values", "hsl", "bgr"}, settings),
              "0x00B81AFF\nR:255 G:026 B:184\nhsl( 318, 100%, 55% );\n0x00B81AFF\n");
    settings.formats.customTemplate = "RR/GG/BB";
    settings.formats.customHex = true;
    EXPECT_EQ(FormatLines(kExample, {"custom"}, settings), "FF/1A/B8\n");

    const QStringList all = FormatLines(kExample, {"all"}, settings).split('\n');
    ASSERT_EQ(all.size(), qsizetype(NamedFormats().size()) + 1);
    EXPECT_EQ(all[0], "html        #FF1AB8");
    EXPECT_EQ(all[2], "rgb-values  R:255 G:026 B:184");
    EXPECT_EQ(all.last(), "");
}

TEST_F(CommandLineTest, ConvertReadsTheStoredFormatsAndPrintsNothingElse) {
    TStoredSettings stored = decimalSettings();
    stored.clickAction = CopyStyle::BgrHex;
    stored.formats.hslTemplate = "HH LL SS";
    TSettingsCodec::save(store, stored, [](const QString& text) { FAIL() << text.toStdString(); });

    TRun r = run({"--convert", "rgb(255,26,184);"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.out, "0x00B81AFF\n");
    EXPECT_EQ(r.err, "");
    r = run({"--convert=#ff1ab8", "--format", "hsl", "--format=html"});
    EXPECT_EQ(r.out, "318 55 100\n#FF1AB8\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLineTest, UnreadableInputAndWrongOptionsSayWhatToDo) {
    TRun r = run({"--convert", "rgb(1,2)"});
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.contains("'rgb(1,2)'")) << r.err.toStdString();

    r = run({"--convert", "#FFAA77", "--format", "HTML"});
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.contains("'HTML'")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(NamedFormatList())) << r.err.toStdString();

    for (const QStringList& args :
         {QStringList{"--copy"}, QStringList{"--average", "--convert", "1,2,3"},
          QStringList{"--format", "html"}, QStringList{"--pick", "--convert", "1,2,3"},
          QStringList{"--convert"}}) {
        r = run(args);
        EXPECT_EQ(r.exitCode, kExitTrouble) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
}

TEST_F(CommandLineTest, PickIsHandedOnWithItsFormatsAndSettings) {
    TStoredSettings stored;
    stored.clickAction = CopyStyle::RgbValues;
    TSettingsCodec::save(store, stored, [](const QString& text) { FAIL() << text.toStdString(); });

    const TRun r = run({"-platform", "offscreen", "--pick", "--average", "--format=all",
                        "-style=fusion", "--copy"});
    EXPECT_FALSE(r.exitCode.has_value());
    EXPECT_EQ(r.out, "");
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(pick->formats, QStringList{"all"});
    EXPECT_TRUE(pick->average);
    EXPECT_TRUE(pick->copy);
    EXPECT_EQ(pick->settings.clickAction, CopyStyle::RgbValues);
}

TEST(CommandLine, QtWindowSystemOptionsArePassedOver) {
    EXPECT_EQ(WithoutQtOptions({"huesplinter", "-platform", "xcb", "--pick", "-reverse",
                                "--style=fusion", "-display", ":1", "--format", "html"}),
              QStringList({"huesplinter", "--pick", "--format", "html"}));
    // Only Qt's own names, and the program's name is never taken for an option.
    EXPECT_EQ(WithoutQtOptions({"-platform", "--platformx", "-reverse=1"}),
              QStringList({"-platform", "--platformx", "-reverse=1"}));
}

TEST(CommandLine, EveryNotationNameIsDocumentedWhereUsersLook) {
    for (const char* file :
         {"docs/help.html", "data/huesplinter.1", "data/completion/huesplinter.bash"}) {
        const QString text =
            QString::fromUtf8(FileBytes(QStringLiteral(HUESPLINTER_SOURCE_DIR "/") + file));
        ASSERT_FALSE(text.isEmpty()) << file;
        // The manual page escapes its hyphens.
        const QString plain = QString(text).replace("\\-", "-");
        for (const TNamedFormat& format : NamedFormats())
            EXPECT_TRUE(plain.contains(QLatin1String(format.name))) << file << ": " << format.name;
        for (const char* option :
             {"--pick", "--average", "--copy", "--convert", "--contrast", "--format", "--frozen"})
            EXPECT_TRUE(plain.contains(QLatin1String(option))) << file << ": " << option;
    }
}

TEST_F(CommandLineTest, ContrastPrintsTheRatioAndEachVerdict) {
    TRun r = run({"--contrast", "#777777", "white"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.out, "4.47:1\nAA normal text: fail\nAA large text: pass\n"
                     "AAA normal text: fail\nAAA large text: fail\n");
    EXPECT_EQ(r.err, "");
    // The same whichever colour is the text.
    r = run({"--contrast", "#FFFFFF", "rgb(119 119 119)"});
    EXPECT_TRUE(r.out.startsWith("4.47:1\n")) << r.out.toStdString();
    r = run({"--contrast", "black", "#FFF"});
    EXPECT_EQ(r.out, "21.00:1\nAA normal text: pass\nAA large text: pass\n"
                     "AAA normal text: pass\nAAA large text: pass\n");

    for (const QStringList& args :
         {QStringList{"--contrast", "#000"}, QStringList{"--contrast", "#000", "#FFF", "#777"},
          QStringList{"--contrast", "#000", "#FFF", "--format", "html"}}) {
        r = run(args);
        EXPECT_EQ(r.exitCode, kExitTrouble) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
    r = run({"--contrast", "#000", "nocolour"});
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.contains("'nocolour'")) << r.err.toStdString();
}

TEST_F(CommandLineTest, EveryReadableFormatRoundTripsThroughConvert) {
    // bgr, hsl, custom and combined are written for other programs and are not read back.
    const QStringList readable{"html", "rgb-values", "css-rgb", "css-hsl", "oklch", "short-hex"};
    for (const char* html :
         {"#000000", "#FFFFFF", "#FF1AB8", "#007400", "#0A0B0C", "#FF11BB", "#808080", "#123456"}) {
        for (const QString& format : readable) {
            const TRun written = run({"--convert", html, "--format", format});
            ASSERT_EQ(written.exitCode, kExitOk) << html << " " << format.toStdString();
            const TRun back = run({"--convert", written.out.trimmed(), "--format", "html"});
            EXPECT_EQ(back.out, QString::fromLatin1(html) + '\n')
                << format.toStdString() << ": " << written.out.toStdString();
        }
    }
}
