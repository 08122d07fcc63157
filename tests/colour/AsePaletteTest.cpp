#include "colour/AsePalette.h"

#include "colour/PaletteGolden.h"

#include <gtest/gtest.h>

#include <QDataStream>

#include <cmath>

namespace {

TEST(AsePalette, ReadsGroupsEveryColourModelAndSkipsUnknownBlocks) {
    const TSwatchRead read = AsePalette::Read(GoldenHexFile("import.ase.hex"));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.list.name, "Brand");
    // 0.75 x 255 = 191.25; naive CMYK; L* 50 is sRGB 119.
    const std::vector<TSwatch> expected{{MakeColor(128, 191, 255), "Sky"},
                                        {MakeColor(255, 0, 0), "Ink"},
                                        {MakeColor(64, 128, 128), ""},
                                        {MakeColor(128, 128, 128), "Mid"},
                                        {kWhite, "Paper"},
                                        {MakeColor(119, 119, 119), "Ночь"}};
    EXPECT_EQ(read.list.swatches, expected);
}

TEST(AsePalette, WritesTheGoldenFileAndReadsItBack) {
    const QByteArray written = AsePalette::Write(ExportPalette());
    EXPECT_EQ(written.toHex(' '), GoldenHexFile("export.ase.hex").toHex(' '));
    const TSwatchRead read = AsePalette::Read(written);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.list, ExportPalette());
}

// A reader of its own, from the published layout alone, so that the writer
// is not only checked by the code that shares its mistakes.
struct TIndependentSwatch {
    QString name;
    QByteArray model;
    std::vector<float> values;
    quint16 type = 0;
};

std::vector<TIndependentSwatch> independentRead(const QByteArray& bytes, QString& group) {
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::BigEndian);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    char magic[4];
    in.readRawData(magic, 4);
    EXPECT_EQ(QByteArray(magic, 4), "ASEF");
    quint16 major = 0, minor = 0;
    quint32 blocks = 0;
    in >> major >> minor >> blocks;
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    const auto readName = [&in] {
        quint16 units = 0;
        in >> units;
        QString name;
        for (quint16 i = 0; i < units; ++i) {
            quint16 unit = 0;
            in >> unit;
            if (unit != 0) name += QChar(unit);
        }
        return name;
    };
    std::vector<TIndependentSwatch> swatches;
    int depth = 0;
    for (quint32 b = 0; b < blocks; ++b) {
        quint16 type = 0;
        quint32 length = 0;
        in >> type >> length;
        const qint64 end = in.device()->pos() + length;
        if (type == 0xC001) {
            group = readName();
            ++depth;
        } else if (type == 0xC002) {
            --depth;
        } else if (type == 0x0001) {
            EXPECT_EQ(depth, 1) << "every colour is in the group";
            TIndependentSwatch s;
            s.name = readName();
            char model[4];
            in.readRawData(model, 4);
            s.model = QByteArray(model, 4);
            s.values.resize(3);
            for (float& v : s.values)
                in >> v;
            in >> s.type;
            swatches.push_back(s);
        }
        EXPECT_EQ(in.device()->pos(), end) << "block " << b << " has the length it claims";
        in.device()->seek(end);
    }
    EXPECT_EQ(depth, 0);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.status(), QDataStream::Ok);
    return swatches;
}

TEST(AsePalette, AnIndependentReaderGetsTheSameValues) {
    TSwatchList list{"Σ set", {}};
    for (int i = 0; i < 20; ++i)
        list.swatches.push_back({MakeColor(i * 13, 255 - i * 7, i * i % 256),
                                 i % 3 ? QStringLiteral("Tile %1 ü").arg(i) : QString()});
    QString group;
    const std::vector<TIndependentSwatch> read = independentRead(AsePalette::Write(list), group);
    EXPECT_EQ(group, "Σ set");
    ASSERT_EQ(read.size(), list.swatches.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        const ColorValue c = list.swatches[i].color;
        EXPECT_EQ(read[i].name, list.swatches[i].name);
        EXPECT_EQ(read[i].model, "RGB ");
        EXPECT_EQ(read[i].type, 2);
        EXPECT_EQ(std::lround(read[i].values[0] * 255), RedOf(c));
        EXPECT_EQ(std::lround(read[i].values[1] * 255), GreenOf(c));
        EXPECT_EQ(std::lround(read[i].values[2] * 255), BlueOf(c));
    }
}

QByteArray header(quint32 blocks) {
    QByteArray bytes("ASEF\0\1\0\0", 8);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += char((blocks >> shift) & 0xFF);
    return bytes;
}

std::string errorOf(const QByteArray& bytes) {
    const TSwatchRead read = AsePalette::Read(bytes);
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.list.swatches.empty() || !read.ok());
    return read.error.toStdString();
}

TEST(AsePalette, ClaimedSizesAreNeverTrustedBeyondTheBytesThere) {
    const QByteArray good = GoldenHexFile("import.ase.hex");
    // Every cut of a good file is refused (the header's count asks for more).
    for (qsizetype size = 0; size < good.size(); ++size)
        EXPECT_FALSE(AsePalette::Read(good.first(size)).ok()) << size;

    EXPECT_EQ(errorOf("GIMP Palette"), "Byte 0: this is not a swatch exchange file; it must "
                                       "begin with \"ASEF\".");
    EXPECT_EQ(errorOf(QByteArray("ASEF\0\2\0\0\0\0\0\0", 12)),
              "Byte 4: version 2.0 is not known; only 1.x is.");
    // A count of 2^32-1 over one block ends where the bytes end.
    EXPECT_EQ(errorOf(header(0xFFFFFFFF) + QByteArray("\xC0\x02\0\0\0\0", 6)),
              "Byte 18: the file ends before block 2 of the 4294967295 its header counts.");
    // A block length of 4 GB.
    EXPECT_EQ(errorOf(header(1) + QByteArray("\0\1\xFF\xFF\xFF\xFF\0\1\0\0", 10)),
              "Byte 14: block 1 claims 4294967295 bytes, but only 4 are left in the file.");
    // A name of 65535 units inside a block of 8 bytes.
    EXPECT_EQ(errorOf(header(1) + QByteArray("\0\1\0\0\0\x08\xFF\xFF\0A\0B\0C", 14)),
              "Byte 18: the name's length (65535 characters) runs past the end of its block.");
    EXPECT_EQ(errorOf(header(1) + QByteArray("\0\1\0\0\0\x08\0\1\0\0HSV ", 14)),
              "Byte 22: unknown colour model \"HSV \"; known are RGB, CMYK, Gray and LAB.");
    EXPECT_EQ(errorOf(header(1) + QByteArray("\0\1\0\0\0\x0A\0\1\0\0RGB \0\0", 16)),
              "Byte 26: the colour block ends inside its values.");
}

TEST(AsePalette, BrokenUtf16AndOddValuesStillGiveAPlainColour) {
    // A lone high surrogate in the name, a NaN red and an infinite green.
    const QByteArray block = QByteArray("\0\2\xD8\x00\0\0RGB ", 10) +
                             QByteArray("\x7F\xC0\0\0\x7F\x80\0\0\x3F\x80\0\0\0\2", 14);
    const QByteArray bytes = header(1) + QByteArray("\0\1\0\0\0", 5) + char(block.size()) + block;
    const TSwatchRead read = AsePalette::Read(bytes);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    ASSERT_EQ(read.list.swatches.size(), 1u);
    EXPECT_EQ(read.list.swatches[0].name, QString(QChar(0xFFFD)));
    EXPECT_EQ(read.list.swatches[0].color, MakeColor(0, 255, 255));
}

} // namespace
