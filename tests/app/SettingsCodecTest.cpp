#include "app/SettingsCodec.h"

#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <climits>
#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("Software\\Vextora\\Huesplinter");

class SettingsCodecTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TUserStore store{dir.path()};
    QStringList reports;
    TSettingsCodec::TReport report = [this](const QString& text) { reports << text; };

    TStoredSettings load() { return TSettingsCodec::load(store, report); }

    void writeRecord(const QString& name, std::initializer_list<quint32> fields) {
        QByteArray bytes(int(fields.size()) * 4, 0);
        int i = 0;
        for (quint32 field : fields)
            qToLittleEndian(field, bytes.data() + 4 * i++);
        writeBinary(name, bytes);
    }
    void writeBinary(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(store.openKey(Key, true));
        ASSERT_TRUE(store.writeBinary(name, bytes).ok);
        store.closeKey();
    }
    void writeInteger(const QString& name, qint32 value) {
        ASSERT_TRUE(store.openKey(Key, true));
        ASSERT_TRUE(store.writeInteger(name, value).ok);
        store.closeKey();
    }
    void writeString(const QString& name, const QString& value) {
        ASSERT_TRUE(store.openKey(Key, true));
        ASSERT_TRUE(store.writeString(name, value).ok);
        store.closeKey();
    }
};

TStoredSettings everythingChanged() {
    TStoredSettings s;
    s.hasPlacement = true;
    s.mainWindow = {-1500, 40, 1111, 622};
    s.windowState = 2;
    s.sampleWindow = {300, 200, 254, 239};
    s.rgbOrder = false;
    s.pastel = 77;
    s.clickAction = CopyStyle::Custom;
    s.sampleTextColor = 0x123456;
    s.sampleBkgColor = 0xABCDEF;
    s.bold = true;
    s.italic = true;
    s.fontSize = 255;
    s.showText = false;
    s.transparent = false;
    s.textColorLocked = false;
    s.bkgColorLocked = true;
    s.hotTrack = true;
    s.tunePanelShown = false;
    s.hideOnPicking = true;
    s.saveSampleAfterPaste = true;
    s.pickerHintHidden = false;
    s.pickerShowsHsl = true;
    s.hasHistory = true;
    for (int i = 0; i < TStoredSettings::HistoryCount; ++i)
        s.history[i] = MakeColor(i, 2 * i, 255 - i);
    s.formats.customTemplate = QStringLiteral("R=RR G=GG B=BB \u00e9");
    s.formats.customHex = false;
    s.formats.hslTemplate = QStringLiteral("HH/SS/LL");
    s.formats.hslHex = false;
    s.formats.hueMax = 240;
    s.formats.satMax = -5;
    s.formats.lumMax = 1000;
    s.fontName = QStringLiteral("DejaVu Sans");
    s.mumbleFile = QStringLiteral("/tmp/a b/sample.txt");
    s.pasteColor = QStringLiteral("#ff00aa");
    s.colorSetFile = QStringLiteral("/home/u/.local/share/Vextora/Huesplinter/Web.Hspl");
    return s;
}

TEST_F(SettingsCodecTest, EveryValueSurvivesASaveAndTheNextLoad) {
    const TStoredSettings saved = everythingChanged();
    TSettingsCodec::save(store, saved, report);
    TStoredSettings loaded = load();
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'|').toStdString();
    EXPECT_FALSE(loaded.firstRun);
    EXPECT_EQ(loaded, saved);

    // And the defaults survive too (the first-run mark is not stored).
    TStoredSettings defaults;
    TSettingsCodec::save(store, defaults, report);
    loaded = load();
    defaults.hasPlacement = true;
    defaults.hasHistory = true;
    EXPECT_EQ(loaded, defaults);
}

TEST_F(SettingsCodecTest, NoKeyIsAFirstRunAndAnEmptyKeyIsNot) {
    TStoredSettings s = load();
    EXPECT_TRUE(s.firstRun);
    EXPECT_EQ(s.clickAction, CopyStyle::Html);
    EXPECT_EQ(FormatCustom(MakeColor(255, 26, 184), s.formats),
              QStringLiteral("rgb( FF, 1A, B8 );"));
    EXPECT_TRUE(reports.isEmpty());

    ASSERT_TRUE(store.openKey(Key, true));
    store.closeKey();
    s = load();
    EXPECT_FALSE(s.firstRun);
    EXPECT_FALSE(s.hasPlacement);
    EXPECT_FALSE(s.hasHistory);
    EXPECT_TRUE(s.tunePanelShown);
    EXPECT_EQ(s.fontName, QStringLiteral("Arial"));
}

TEST_F(SettingsCodecTest, AnEightByteSettingsRecordLeavesTheRestZeroButUsable) {
    writeRecord(QStringLiteral("Settings"), {40, 3});
    const TStoredSettings s = load();
    EXPECT_EQ(s.pastel, 40);
    EXPECT_EQ(s.clickAction, CopyStyle::RgbValues);
    EXPECT_TRUE(s.formats.customHex);
    EXPECT_TRUE(s.formats.hslHex);
    EXPECT_EQ(s.sampleTextColor, kBlack);
    EXPECT_EQ(s.sampleBkgColor, kBlack);
    EXPECT_FALSE(s.tunePanelShown);
    EXPECT_FALSE(s.hotTrack);
    // Zero bytes read as "on", but a font size of 0 and two locked colours
    // would leave the sample unusable.
    EXPECT_TRUE(s.showText);
    EXPECT_TRUE(s.transparent);
    EXPECT_TRUE(s.textColorLocked);
    EXPECT_FALSE(s.bkgColorLocked);
    EXPECT_EQ(s.fontSize, 9);
    EXPECT_FALSE(s.pickerHintHidden);
}

TEST_F(SettingsCodecTest, OutOfRangeFieldsTakeTheirDefaultOrBound) {
    struct Case {
        const char* what;
        quint32 pastel, action, font;
        int expectPastel;
        CopyStyle expectAction;
        bool expectBold;
        int expectSize;
    };
    const Case cases[] = {
        {"pastel INT_MIN", 0x80000000u, 1, 0x00090000u, 0, CopyStyle::Html, false, 9},
        {"pastel above 255", 300, 0, 0x00090001u, 255, CopyStyle::All, true, 9},
        {"action 10", 0, 10, 0x000C0000u, 0, CopyStyle::Html, false, 12},
        {"action -1", 0, 0xFFFFFFFFu, 0x00090000u, 0, CopyStyle::Html, false, 9},
        {"style byte 7", 0, 5, 0x00090007u, 0, CopyStyle::Custom, false, 9},
        {"size 65535", 0, 2, 0xFFFF0001u, 0, CopyStyle::BgrHex, true, 255},
        {"size 256", 0, 4, 0x01000000u, 0, CopyStyle::Hsl, false, 255},
    };
    for (const Case& c : cases) {
        writeRecord(QStringLiteral("Settings"), {c.pastel, c.action, 0, 0, 0, c.font});
        const TStoredSettings s = load();
        EXPECT_EQ(s.pastel, c.expectPastel) << c.what;
        EXPECT_EQ(s.clickAction, c.expectAction) << c.what;
        EXPECT_EQ(s.bold, c.expectBold) << c.what;
        EXPECT_EQ(s.fontSize, c.expectSize) << c.what;
        // What was read is saved back inside the record's ranges.
        const auto record = TSettingsCodec::settingsRecord(s);
        EXPECT_LE(qFromLittleEndian<qint32>(record.data()), 255) << c.what;
    }
    writeRecord(QStringLiteral("FormSizePos"), {0, 0, 800, 600, 9});
    EXPECT_EQ(load().windowState, 0);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(SettingsCodecTest, OldAndNewClickActionsBothLoadAndSaveBack) {
    // A record from before the style-sheet formats (Custom, the last of its day) and records
    // holding each of the new ones.
    for (const CopyStyle style : {CopyStyle::Custom, CopyStyle::CssRgb, CopyStyle::CssHsl,
                                  CopyStyle::OkLch, CopyStyle::ShortHex}) {
        writeRecord(QStringLiteral("Settings"), {40, quint32(style), 0, 0, 0, 0x00090000u});
        TStoredSettings s = load();
        EXPECT_EQ(s.clickAction, style) << int(style);
        EXPECT_EQ(s.pastel, 40) << int(style);
        TSettingsCodec::save(store, s, report);
        EXPECT_EQ(load().clickAction, style) << int(style);
    }
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(SettingsCodecTest, AFailedReadIsReportedAndKeepsWhatTheValueHeld) {
    writeRecord(QStringLiteral("Settings"), {90, 3});
    writeBinary(QStringLiteral("FormSizePos"), QByteArray(65, '\1'));
    writeBinary(QStringLiteral("Settings"), QByteArray(65, '\1'));
    writeBinary(QStringLiteral("HistoryColors"), QByteArray(41, '\1'));
    const TStoredSettings s = load();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("FormSizePos\r\n")));
    EXPECT_TRUE(reports[1].startsWith(QStringLiteral("Settings\r\n")));
    EXPECT_TRUE(reports[2].startsWith(QStringLiteral("Colors\r\n")));
    EXPECT_GT(reports[1].size(), QStringLiteral("Settings\r\n").size());
    EXPECT_FALSE(s.hasPlacement);
    EXPECT_EQ(s.pastel, 0);
    EXPECT_EQ(s.clickAction, CopyStyle::Html);
    EXPECT_FALSE(s.hasHistory);
}

TEST_F(SettingsCodecTest, TheFirstUnreadableStringEndsTheStringsButNotTheHslValues) {
    writeString(QStringLiteral("TemplateStr"), QStringLiteral("RR-GG-BB"));
    writeInteger(QStringLiteral("FontName"), 5);
    writeString(QStringLiteral("MumbleFile"), QStringLiteral("/x.txt"));
    writeInteger(QStringLiteral("HSL_Sat"), 240);
    const TStoredSettings s = load();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("Strings\r\n")));
    EXPECT_EQ(s.formats.customTemplate, QStringLiteral("RR-GG-BB"));
    EXPECT_EQ(s.fontName, QStringLiteral("Arial"));
    EXPECT_TRUE(s.mumbleFile.isEmpty());
    EXPECT_EQ(s.formats.satMax, 240);
    EXPECT_EQ(s.formats.hueMax, 360);
}

TEST_F(SettingsCodecTest, AStringTooLongToUseIsSaidNotDroppedSilently) {
    writeString(QStringLiteral("TemplateStr"), QString(4097, u'R'));
    writeString(QStringLiteral("FontName"), QStringLiteral("Serif"));
    writeString(QStringLiteral("HSLTemplateStr"), QString(5000, u'H'));
    const TStoredSettings s = load();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("TemplateStr is longer than 4096")));
    EXPECT_TRUE(reports[1].contains(QStringLiteral("HSLTemplateStr is longer than 4096")));
    EXPECT_EQ(s.formats.customTemplate, TStoredSettings().formats.customTemplate);
    EXPECT_EQ(s.formats.hslTemplate, TStoredSettings().formats.hslTemplate);
    // The strings after the long one are still read.
    EXPECT_EQ(s.fontName, QStringLiteral("Serif"));
    reports.clear();
    writeString(QStringLiteral("TemplateStr"), QString(4096, u'R'));
    writeString(QStringLiteral("HSLTemplateStr"), QStringLiteral("HH SS LL"));
    EXPECT_EQ(load().formats.customTemplate.size(), 4096);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(SettingsCodecTest, HistoryEntriesArePlainColoursWhateverWasStored) {
    writeRecord(QStringLiteral("HistoryColors"), {0x80000005u, 0xFF112233u});
    const TStoredSettings s = load();
    ASSERT_TRUE(s.hasHistory);
    // The top bit names a system colour: window (5) is the palette's, 0x33 names none.
    EXPECT_EQ(s.history[0], ResolveColor(0x80000005u));
    EXPECT_EQ(s.history[1], kBlack);
    // Entries a short record leaves out are the no-colour value, which names no colour either.
    EXPECT_EQ(s.history[9], kBlack);
    for (ColorValue c : s.history)
        EXPECT_EQ(c & ~kColorMask, 0u);
}

TEST_F(SettingsCodecTest, ACloseKeepsWhatASecondCopySavedAndThisRunLeftAlone) {
    TStoredSettings first = everythingChanged();
    TSettingsCodec::save(store, first, report);
    TStoredSettings running = load();
    // The second copy (another process) closes first, with another font and sample file.
    {
        QFile file(store.fileName());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        file.close();
        text.replace(QRegularExpression(QStringLiteral("(?m)^FontName=.*$")),
                     QStringLiteral("FontName=sz:Tahoma"));
        text.replace(QRegularExpression(QStringLiteral("(?m)^MumbleFile=.*$")),
                     QStringLiteral("MumbleFile=sz:/b.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }
    // This run changed only the HSL hue scale.
    running.formats.hueMax = 1000;
    TSettingsCodec::save(store, running, report);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'|').toStdString();
    const TStoredSettings after = load();
    EXPECT_EQ(after.fontName, QStringLiteral("Tahoma"));
    EXPECT_EQ(after.mumbleFile, QStringLiteral("/b.txt"));
    EXPECT_EQ(after.formats.hueMax, 1000);
    EXPECT_EQ(after.pastel, first.pastel);
}

TEST_F(SettingsCodecTest, AFileThatCannotBeReadIsSaidOnceWithWhereItsCopyIs) {
    static constexpr char kJunk[] = "\x00\x01garbage that is no settings file\r\xff\xfe\n";
    const QByteArray junk(kJunk, sizeof kJunk - 1);
    {
        QDir().mkpath(QFileInfo(store.fileName()).absolutePath());
        QFile file(store.fileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(junk);
    }
    TStoredSettings s = load();
    EXPECT_TRUE(s.firstRun);
    ASSERT_EQ(reports.size(), 1) << reports.join(u'|').toStdString();
    EXPECT_TRUE(reports[0].contains(store.fileName() + QStringLiteral(".damaged")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("default settings")));
    QFile copy(store.fileName() + QStringLiteral(".damaged"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), junk);
    // The close then writes sound settings, and says nothing more.
    reports.clear();
    TSettingsCodec::save(store, s, report);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'|').toStdString();
    EXPECT_FALSE(load().firstRun);
}

TEST_F(SettingsCodecTest, AFileThatCannotBeCopiedIsNeverReplacedAndSaidOnce) {
    // A folder in the file's place can be neither read nor kept as a copy.
    ASSERT_TRUE(QDir().mkpath(store.fileName() + QStringLiteral("/inside")));
    TStoredSettings s = load();
    EXPECT_TRUE(s.firstRun);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("it is a folder")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("will not keep changes")));
    reports.clear();
    s.formats.hueMax = 1000;
    TSettingsCodec::save(store, s, report);
    EXPECT_TRUE(reports.isEmpty()) << "said once, at start";
    EXPECT_TRUE(QFileInfo(store.fileName() + QStringLiteral("/inside")).isDir());
}

#ifndef _WIN32
// Takes a variable out of the environment for as long as it lives.
class TUnsetEnv {
public:
    explicit TUnsetEnv(const char* name)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qunsetenv(name);
    }
    ~TUnsetEnv() {
        if (m_had) qputenv(m_name, m_old);
    }
    TUnsetEnv(const TUnsetEnv&) = delete;
    TUnsetEnv& operator=(const TUnsetEnv&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

TEST(SettingsCodecWithoutHome, SaysOnceAtStartThatNothingWillBeKeptAndNeverWrites) {
    const TUnsetEnv config("HUESPLINTER_CONFIG_DIR"), home("HOME"), xdg("XDG_CONFIG_HOME");
    TUserStore homeless;
    EXPECT_TRUE(homeless.fileName().isEmpty());
    QStringList reports;
    const TSettingsCodec::TReport report = [&reports](const QString& text) { reports << text; };
    TStoredSettings s = TSettingsCodec::load(homeless, report);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("HOME")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("will not be kept")));
    reports.clear();
    s.formats.hueMax = 1000;
    TSettingsCodec::save(homeless, s, report);
    EXPECT_TRUE(reports.isEmpty()) << "said once, at start";
}
#endif

TEST(FitToScreens, KeepsAVisibleRectangleAndRescuesTheRest) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(-1280, -200, 1280, 1024)};
    const QSize minimum(500, 300);
    // On the left monitor, at negative coordinates: kept.
    EXPECT_EQ(FitToScreens({-1200, -150, 800, 500}, screens, minimum),
              QRect(-1200, -150, 800, 500));
    // Hanging mostly off the right edge but with a corner to grab: kept.
    EXPECT_EQ(FitToScreens({1880, 100, 800, 500}, screens, minimum), QRect(1880, 100, 800, 500));
    // On a monitor that is gone: centred on the primary.
    EXPECT_EQ(FitToScreens({5000, 3000, 800, 500}, screens, minimum), QRect(560, 270, 800, 500));
    // Zero, negative and absurd sizes.
    EXPECT_EQ(FitToScreens({10, 10, 0, -7}, screens, minimum), QRect(10, 10, 500, 300));
    const QRect huge = FitToScreens({0, 0, INT_MAX, INT_MAX}, screens, minimum);
    EXPECT_LE(huge.width(), 3200);
    EXPECT_LE(huge.height(), 1240);
    // Sums that overflow 32 bits must not wrap onto a screen.
    const QRect far = FitToScreens({INT_MAX - 10, INT_MAX - 10, 800, 500}, screens, minimum);
    EXPECT_EQ(far, QRect(560, 270, 800, 500));
    const QRect nowhere = FitToScreens({INT_MAX - 10, 0, 800, 500}, {}, minimum);
    EXPECT_EQ(nowhere.width(), 800);
    EXPECT_GE(nowhere.left(), 0);
}

} // namespace
