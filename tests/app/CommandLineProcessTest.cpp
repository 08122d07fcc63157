#include "app/CommandLine.h"
#include "app/Version.h"
#include "colour/NamedFormat.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The program run as a script runs it: no display, no Qt platform chosen, no runtime folder (as
// over ssh), settings in a folder of the test's own.
namespace {

struct TProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class CommandLineProcess : public ::testing::Test {
protected:
    QTemporaryDir config;

    void SetUp() override { ASSERT_TRUE(config.isValid()); }

    // On Windows there is always a desktop, so a run that would open a window waits for its user
    // there; and a console program's lines end in CR LF, as the C runtime's text mode writes them.
    static bool onWindows() {
#ifdef Q_OS_WIN
        return true;
#else
        return false;
#endif
    }

    TProcessRun run(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR",
                                 "XDG_SESSION_TYPE"})
            env.remove(QLatin1String(name));
        env.insert("HUESPLINTER_CONFIG_DIR", config.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(HUESPLINTER_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
        TProcessRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        if (onWindows()) {
            result.out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            result.err.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        }
        return result;
    }

    // --convert INPUT --format FORMAT: exit 0, exactly `expected` and a newline, nothing on
    // standard error.
    void expectConversion(const char* input, const char* format, const char* expected) {
        const TProcessRun r = run({"--convert", input, "--format", format});
        EXPECT_EQ(r.exitCode, kExitOk) << input << " " << format;
        EXPECT_EQ(r.out, QString::fromUtf8(expected) + '\n') << input << " " << format;
        EXPECT_EQ(r.err, "") << input;
    }
};

} // namespace

TEST_F(CommandLineProcess, HelpAndVersionNeedNoDisplay) {
    TProcessRun r = run({"--version"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_EQ(r.out, "Huesplinter " + Version::versionText() + '\n');
    EXPECT_EQ(r.err, "");

    r = run({"--help"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_TRUE(r.out.startsWith("Usage: huesplinter")) << r.out.toStdString();
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLineProcess, ConvertReadsEveryValueFieldNotation) {
    for (const char* input : {"#FFAA77", "FFAA77", "ffaa77", "0xFFAA77", "0XFFAA77", "$FFAA77"})
        expectConversion(input, "html", "#FFAA77");
    expectConversion("rgb(119,170,255);", "html", "#77AAFF");
    expectConversion("$00AAFF77", "html", "#AAFF77");
    expectConversion("0x80AAFF77", "bgr", "0x0077FFAA");
    expectConversion("255 0 125", "rgb-values", "R:255 G:000 B:125");
    expectConversion("112233", "rgb-values", "R:017 G:034 B:051");
    // With no settings stored: the first run's templates, hexadecimal.
    expectConversion("255,26,184", "hsl", "hsl( 13E, 64%, 37% );");
    expectConversion("255,26,184", "custom", "rgb( FF, 1A, B8 );");
    expectConversion("#FF1AB8", "css-rgb", "rgb(255 26 184)");
    // sRGB red in OKLCH, as CSS Color 4 gives it.
    expectConversion("#FF0000", "css-hsl", "hsl(0 100% 50%)");
    expectConversion("#FF0000", "oklch", "oklch(0.628 0.2577 29.23)");
    expectConversion("#FF11BB", "short-hex", "#F1B");
    expectConversion("hotpink", "html", "#FF69B4");
    expectConversion("0,0,0", "combined",
                     "#000000 0x00000000 R:000 G:000 B:000 hsl( 0F0, 00%, 00% ); "
                     "rgb( 00, 00, 00 );");
}

TEST_F(CommandLineProcess, HtmlRoundTripsThroughConvert) {
    for (const char* html : {"#000000", "#FFFFFF", "#FF1AB8", "#007400", "#0A0B0C"}) {
        const TProcessRun once = run({"--convert", html, "--format", "html"});
        const TProcessRun twice = run({"--convert", once.out.trimmed(), "--format", "html"});
        EXPECT_EQ(twice.out, QString::fromLatin1(html) + '\n');
    }
}

TEST_F(CommandLineProcess, AllPrintsEveryFormatByName) {
    const TProcessRun r = run({"--convert", "#FF1AB8", "--format", "all"});
    EXPECT_EQ(r.exitCode, kExitOk);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), qsizetype(NamedFormats().size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = QString::fromLatin1(NamedFormats()[size_t(i)].name.data());
        EXPECT_TRUE(lines[i].startsWith(name + ' ')) << lines[i].toStdString();
    }
    EXPECT_EQ(r.err, "");
}

TEST_F(CommandLineProcess, TroubleIsSaidOnStandardErrorWithExitTwo) {
    TProcessRun r = run({"--convert", "#FFAA7"});
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.startsWith("huesplinter: '#FFAA7' is no colour")) << r.err.toStdString();

    r = run({"--convert", "#FFAA77", "--format", "hex"});
    EXPECT_EQ(r.exitCode, kExitTrouble);
    EXPECT_TRUE(r.err.contains("html, bgr")) << r.err.toStdString();
}

TEST_F(CommandLineProcess, RunsThatNeedAWindowSayWhyThereIsNone) {
    if (onWindows())
        GTEST_SKIP() << "Windows has no display variable to take away: a program there always has "
                        "a desktop; the native test run proves what a run without one says";
    for (const QStringList& args : {QStringList{"--pick"}, QStringList{}}) {
        const TProcessRun r = run(args);
        EXPECT_EQ(r.exitCode, kExitTrouble);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.contains("no display")) << r.err.toStdString();
    }
}

TEST_F(CommandLineProcess, ResetWithoutADisplayMovesTheSettingsAndEnds) {
    if (onWindows())
        GTEST_SKIP() << "Windows has no display variable to take away: a program there always has "
                        "a desktop; the native test run proves what a run without one says";
    ASSERT_TRUE(QDir(config.path()).mkpath("Vextora"));
    QFile file(config.filePath("Vextora/Huesplinter.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Software\\Vextora\\Huesplinter]\n");
    file.close();

    const TProcessRun r = run({"--reset-settings"});
    EXPECT_EQ(r.exitCode, kExitOk);
    EXPECT_TRUE(r.out.startsWith("The previous settings are kept in ")) << r.out.toStdString();
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(file.exists());
}
