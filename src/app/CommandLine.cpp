#include "app/CommandLine.h"

#include "colour/ColorContrast.h"
#include "colour/ColorParser.h"
#include "colour/NamedFormat.h"
#include "platform/UserStore.h"
#include "support/Kxglobals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <array>
#include <string_view>

namespace {

// Several resets within one second each keep their backup.
constexpr int MaxBackupNumber = 999;

// The format name that asks for every format, each after its name.
const QString AllFormats = QStringLiteral("all");

// Qt's options for the window system and the widget style, which the application object takes
// out of the arguments. `value`: the option takes the next argument unless written -name=value.
struct TQtOption {
    std::string_view name;
    bool value;
};
constexpr std::array<TQtOption, 18> kQtOptions{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"display", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"style", true},
    {"stylesheet", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
}};

// Our options; a value is given as "--name VALUE" or "--name=VALUE".
struct TOptionHelp {
    std::string_view names;
    std::string_view text;
};
constexpr std::array<TOptionHelp, 10> kOptionHelp{{
    {"-h, --help", "Show this help and quit."},
    {"-v, --version", "Show the version and quit."},
    {"    --reset-settings",
     "Move the settings aside as a dated backup and start as on the first run."},
    {"    --frozen", "Pick on Screen, and --pick, over a frozen picture of the desktop in "
                     "full-screen windows, as on Wayland."},
    {"    --pick", "Pick a colour from the screen, without the main window, and print it."},
    {"    --average", "With --pick: take the average of the magnified view."},
    {"    --copy", "With --pick: copy the printed text to the clipboard too."},
    {"    --convert COLOUR",
     "Print COLOUR, written in any notation the value field reads: #RRGGBB, #RGB, 0xRRGGBB, "
     "$RRGGBB, RRGGBB, \"r,g,b\", \"r g b\", R:rrr G:ggg B:bbb, the style sheets' rgb(), "
     "hsl(), hwb(), lab(), lch(), oklab(), oklch(), color() and colour names."},
    {"    --contrast TEXT BACKGROUND",
     "Print the contrast ratio of a text colour on a background colour (each written as for "
     "--convert) and whether it meets the accessibility guidelines' levels AA and AAA, for "
     "normal and for large text."},
    {"    --format NAME",
     "The notation --pick and --convert print, one line each time it is given; \"all\" prints "
     "every notation after its name. Without it: the click action's notation."},
}};

QLatin1StringView latin(std::string_view text) {
    return QLatin1StringView(text.data(), qsizetype(text.size()));
}

// Lines of `width` characters at most, the first after `lead`, the rest indented as far.
QString wrapped(const QString& lead, const QString& text, int width = 79) {
    QString result = lead;
    const QString indent(lead.size(), QLatin1Char(' '));
    qsizetype lineLength = lead.size();
    bool first = true;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!first && lineLength + 1 + word.size() > width) {
            result += QLatin1Char('\n') + indent;
            lineLength = indent.size();
        } else if (!first) {
            result += QLatin1Char(' ');
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
        first = false;
    }
    return result + QLatin1Char('\n');
}

QString helpText() {
    QString text = QStringLiteral("Usage: huesplinter [OPTION]...\n"
                                  "       huesplinter --pick [--average] [--copy] [--format "
                                  "NAME]...\n"
                                  "       huesplinter --convert COLOUR [--format NAME]...\n"
                                  "       huesplinter --contrast TEXT BACKGROUND\n"
                                  "A colour picker: choose a colour and copy it in the notation "
                                  "you need.\n"
                                  "Without options the main window opens.\n\nOptions:\n");
    constexpr int column = 24;
    for (const TOptionHelp& option : kOptionHelp) {
        if (option.names.empty()) continue;
        QString lead = QStringLiteral("  ") + latin(option.names);
        lead = lead.size() + 2 > column
                   ? lead + QLatin1Char('\n') + QString(column, QLatin1Char(' '))
                   : lead.leftJustified(column);
        // A name too long for its column goes on a line of its own.
        const qsizetype newline = lead.lastIndexOf(QLatin1Char('\n'));
        text += lead.left(newline + 1) + wrapped(lead.mid(newline + 1), latin(option.text));
    }
    text += QStringLiteral("\nNotations for --format:\n");
    for (const TNamedFormat& format : NamedFormats())
        text += wrapped((QStringLiteral("  ") + latin(format.name)).leftJustified(column),
                        latin(format.summary));
    text += wrapped(QStringLiteral("  all").leftJustified(column),
                    QStringLiteral("every notation above, each after its name"));
    text += QStringLiteral(
        "\nExit status: 0 when done, 1 when the pick was cancelled (Esc), 2 on trouble\n"
        "(a colour that cannot be read, no picture of the screen, a wrong option).\n");
    return text;
}

// Says what went wrong with the arguments, and where to look.
int usageError(QTextStream& err, const QString& text) {
    err << "huesplinter: " << text << '\n' << "Try 'huesplinter --help' for the options.\n";
    err.flush();
    return kExitTrouble;
}

TStoredSettings loadSettings(TUserStore& store, QTextStream& err) {
    return TSettingsCodec::load(store, [&err](const QString& text) {
        // The store's texts separate the value's name from the reason with CR LF.
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(": "));
        err << "huesplinter: a stored setting could not be read, its default is used: " << line
            << '\n';
        err.flush();
    });
}

// A colour given on the command line, or a message naming it.
std::optional<ColorValue> readColor(const QString& input, QTextStream& err) {
    const std::optional<ColorValue> color = ParseColorText(input);
    if (!color) {
        err << "huesplinter: '" << input
            << "' is no colour notation that Huesplinter reads; write it as #RRGGBB, rgb(r g b), "
               "r,g,b or a colour name.\n";
        err.flush();
    }
    return color;
}

// --contrast TEXT BACKGROUND: the ratio, then one verdict a line.
int runContrast(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const QStringList colors = parser.positionalArguments();
    if (colors.size() != 2)
        return usageError(err, QStringLiteral("--contrast takes two colours, the text's and the "
                                              "background's."));
    for (const char* other : {"pick", "convert", "format", "average", "copy"}) {
        if (parser.isSet(QLatin1String(other)))
            return usageError(
                err, QStringLiteral("--%1 does not go with --contrast.").arg(QLatin1String(other)));
    }
    const std::optional<ColorValue> text = readColor(colors[0], err);
    if (!text) return kExitTrouble;
    const std::optional<ColorValue> background = readColor(colors[1], err);
    if (!background) return kExitTrouble;

    using ColorContrast::TLevel;
    out << ColorContrast::FormatRatio(ColorContrast::Ratio(*text, *background)) << '\n';
    for (const TLevel level : {TLevel::AA, TLevel::AAA}) {
        for (const bool large : {false, true}) {
            const ColorContrast::TVerdict verdict = ColorContrast::Judge(*text, *background, large);
            out << (level == TLevel::AA ? "AA " : "AAA ")
                << (large ? "large text: " : "normal text: ")
                << (verdict.passes(level) ? "pass" : "fail") << '\n';
        }
    }
    out.flush();
    return kExitOk;
}

} // namespace

QStringList WithoutQtOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool isQt = false;
        if (i > 0 && argument.startsWith(QLatin1Char('-'))) {
            // Qt takes one or two dashes alike.
            QStringView name = QStringView(argument).mid(argument.startsWith(u"--") ? 2 : 1);
            const qsizetype equals = name.indexOf(QLatin1Char('='));
            const bool inlineValue = equals >= 0;
            if (inlineValue) name = name.left(equals);
            for (const TQtOption& option : kQtOptions) {
                if (name != latin(option.name)) continue;
                if (option.value && !inlineValue && i + 1 < arguments.size()) ++i;
                isQt = option.value || !inlineValue;
                break;
            }
        }
        if (!isQt) kept << argument;
    }
    return kept;
}

QString FormatLines(ColorValue color, const QStringList& formats, const TStoredSettings& settings) {
    QString lines;
    if (formats.isEmpty())
        return NamedFormatOf(settings.clickAction).text(color, settings.formats) +
               QLatin1Char('\n');
    for (const QString& name : formats) {
        if (name == AllFormats) {
            for (const TNamedFormat& format : NamedFormats()) {
                lines += QString(latin(format.name)).leftJustified(12) +
                         format.text(color, settings.formats) + QLatin1Char('\n');
            }
        } else if (const TNamedFormat* format = FindNamedFormat(name)) {
            lines += format->text(color, settings.formats) + QLatin1Char('\n');
        }
    }
    return lines;
}

// The n-th backup name of `original` for the second `now`.
QString backupName(const QString& original, const QDateTime& now, int n) {
    const QString stem =
        original + QLatin1Char('.') + now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    return n == 1 ? stem + QStringLiteral(".bak") : stem + QStringLiteral("-%1.bak").arg(n);
}

TSettingsReset MoveSettingsAside(const QString& storeFile, const QDateTime& now) {
    TSettingsReset result;
    if (!QFileInfo::exists(storeFile)) {
        result.ok = true;
        return result;
    }
    for (int n = 1; n <= MaxBackupNumber; ++n) {
        const QString backup = backupName(storeFile, now, n);
        if (QFileInfo::exists(backup)) continue;
        // QFile::rename refuses an existing target, so no earlier backup is
        // ever overwritten, even one made between the check and the rename.
        QFile file(storeFile);
        if (file.rename(backup)) {
            result.ok = true;
            result.backup = backup;
            return result;
        }
        result.error = file.errorString();
        if (QFileInfo::exists(backup)) continue;
        return result;
    }
    result.error = QStringLiteral("every backup name for this second is taken.");
    return result;
}

TSettingsReset MoveRegistrySettingsAside(TUserStore& store, const QDateTime& now) {
    TSettingsReset result;
    const QString key = Kxglobals::ProgramKey;
    if (!store.keyExists(key)) {
        result.ok = true;
        return result;
    }
    for (int n = 1; n <= MaxBackupNumber; ++n) {
        const QString backup = backupName(key, now, n);
        if (store.keyExists(backup)) continue;
        // The move refuses an existing key, so a backup made since the check is never mixed in.
        const TStoreStatus moved = store.moveKey(key, backup);
        if (moved) {
            result.ok = true;
            result.backup = store.place(backup);
            return result;
        }
        result.error = moved.error;
        if (store.keyExists(backup)) continue;
        return result;
    }
    result.error = QStringLiteral("every backup name for this second is taken.");
    return result;
}

TCommandOutcome RunCommandLine(const QStringList& arguments, TUserStore& store, QTextStream& out,
                               QTextStream& err) {
    TCommandOutcome outcome;
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption reset(QStringLiteral("reset-settings"));
    const QCommandLineOption frozen(QStringLiteral("frozen"));
    const QCommandLineOption pick(QStringLiteral("pick"));
    const QCommandLineOption average(QStringLiteral("average"));
    const QCommandLineOption copy(QStringLiteral("copy"));
    const QCommandLineOption convert(QStringLiteral("convert"), {}, QStringLiteral("COLOUR"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("NAME"));
    const QCommandLineOption contrast(QStringLiteral("contrast"));
    // A --pick --copy hands its text to a copy of the program started with this option, which
    // keeps it on the clipboard for as long as the window system asks the owner for it.
    const QCommandLineOption keepClipboard(QStringLiteral("keep-clipboard"), {},
                                           QStringLiteral("TEXT"));
    parser.addOptions({help, version, reset, frozen, pick, average, copy, convert, contrast, format,
                       keepClipboard});

    if (!parser.parse(WithoutQtOptions(arguments))) {
        outcome.exitCode = usageError(err, parser.errorText());
        return outcome;
    }
    if (parser.isSet(help)) {
        out << helpText();
        out.flush();
        outcome.exitCode = kExitOk;
        return outcome;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        out.flush();
        outcome.exitCode = kExitOk;
        return outcome;
    }
    if (parser.isSet(contrast)) {
        outcome.exitCode = runContrast(parser, out, err);
        return outcome;
    }
    if (!parser.positionalArguments().isEmpty()) {
        outcome.exitCode = usageError(
            err, QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments()[0]));
        return outcome;
    }
    if (parser.isSet(keepClipboard)) {
        outcome.clipboardText = parser.value(keepClipboard);
        return outcome;
    }
    if (parser.isSet(pick) && parser.isSet(convert)) {
        outcome.exitCode =
            usageError(err, QStringLiteral("--pick and --convert are two runs; give one of them."));
        return outcome;
    }
    for (const QCommandLineOption* pickOnly : {&average, &copy}) {
        if (parser.isSet(*pickOnly) && !parser.isSet(pick)) {
            outcome.exitCode = usageError(
                err, QStringLiteral("--%1 goes with --pick.").arg(pickOnly->names().constFirst()));
            return outcome;
        }
    }
    const QStringList formats = parser.values(format);
    if (!formats.isEmpty() && !parser.isSet(pick) && !parser.isSet(convert)) {
        outcome.exitCode =
            usageError(err, QStringLiteral("--format goes with --pick or --convert."));
        return outcome;
    }
    for (const QString& name : formats) {
        if (name != AllFormats && !FindNamedFormat(name)) {
            outcome.exitCode = usageError(
                err,
                QStringLiteral("there is no notation named '%1'; the notations are %2 and all.")
                    .arg(name, NamedFormatList()));
            return outcome;
        }
    }

    if (parser.isSet(convert)) {
        const std::optional<ColorValue> color = readColor(parser.value(convert), err);
        if (!color) {
            outcome.exitCode = kExitTrouble;
            return outcome;
        }
        out << FormatLines(*color, formats, loadSettings(store, err));
        out.flush();
        outcome.exitCode = kExitOk;
        return outcome;
    }

    if (parser.isSet(reset)) {
        const QDateTime now = QDateTime::currentDateTime();
        const TSettingsReset moved = store.usesRegistry()
                                         ? MoveRegistrySettingsAside(store, now)
                                         : MoveSettingsAside(store.fileName(), now);
        if (!moved.ok) {
            err << "huesplinter: the settings in " << store.place(Kxglobals::ProgramKey)
                << " could not be moved aside: " << moved.error << '\n';
            err.flush();
            outcome.exitCode = kExitTrouble;
            return outcome;
        }
        outcome.settingsReset = true;
        if (!moved.backup.isEmpty()) {
            out << "The previous settings are kept in " << moved.backup << '\n';
            out.flush();
        }
    }
    if (parser.isSet(pick)) {
        TPickRequest request;
        request.formats = formats;
        request.average = parser.isSet(average);
        request.copy = parser.isSet(copy);
        request.frozen = parser.isSet(frozen);
        request.settings = loadSettings(store, err);
        outcome.pick = request;
    }
    return outcome;
}
