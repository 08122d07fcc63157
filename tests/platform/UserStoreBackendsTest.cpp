#include "platform/Registry.h"
#include "platform/UserStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What the program relies on from either place the settings can live: the
// file everywhere, the registry on Windows.
namespace {

enum class TBackend { File, Registry };

const QString Key = QStringLiteral("Software\\Vextora\\Huesplinter");

class UserStoreBackends : public ::testing::TestWithParam<TBackend> {
protected:
    QTemporaryDir dir;
    // Every registry key of a run lies below one key of its own, removed afterwards.
    const QString root = QStringLiteral("Software\\Vextora\\HuesplinterTests\\%1")
                             .arg(QCoreApplication::applicationPid());

    void SetUp() override {
        if (GetParam() == TBackend::Registry && !Registry::available())
            GTEST_SKIP() << "the registry exists on Windows only";
        if (GetParam() == TBackend::Registry) {
            ASSERT_TRUE(Registry::deleteKey(root));
        }
    }
    void TearDown() override {
        if (GetParam() == TBackend::Registry) Registry::deleteKey(root);
    }

    TUserStore store() const {
        return GetParam() == TBackend::Registry ? TUserStore::inRegistry(root)
                                                : TUserStore(dir.path());
    }

    // Stores a value the program never writes itself: a 32-bit integer of
    // three bytes.
    void damage(const QString& name) {
        if (GetParam() == TBackend::Registry) {
            ASSERT_EQ(Registry::writeRaw(root + QLatin1Char('\\') + Key, name, 4 /* REG_DWORD */,
                                         QByteArray("\x01\x02\x03", 3)),
                      QString());
            return;
        }
        QFile file(store().fileName());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(name.toUtf8() + "=dword:99999999999\n");
    }
};

TEST_P(UserStoreBackends, EachKindReadsBackInAnotherStoreAndKindsStayApart) {
    {
        TUserStore writer = store();
        ASSERT_TRUE(writer.openKey(Key, true)) << writer.lastError().toStdString();
        EXPECT_TRUE(writer.writeString(QStringLiteral("FontName"), QStringLiteral("Caf\u00e9")));
        EXPECT_TRUE(writer.writeString(QStringLiteral("Empty"), QString()));
        EXPECT_TRUE(writer.writeInteger(QStringLiteral("Min"), INT32_MIN));
        EXPECT_TRUE(writer.writeInteger(QStringLiteral("HSL_Hue"), 360));
        EXPECT_TRUE(writer.writeBinary(QStringLiteral("History"), QByteArray("\x00\xff\x10", 3)));
    }
    TUserStore reader = store();
    ASSERT_TRUE(reader.openKeyReadOnly(Key));
    EXPECT_EQ(reader.readString(QStringLiteral("fontname")).value, QStringLiteral("Caf\u00e9"));
    EXPECT_TRUE(reader.readString(QStringLiteral("Empty")).ok);
    EXPECT_EQ(reader.readInteger(QStringLiteral("Min")).value, INT32_MIN);
    EXPECT_EQ(reader.readInteger(QStringLiteral("HSL_Hue")).value, 360);
    EXPECT_EQ(reader.readBinary(QStringLiteral("History")).value, QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(reader.valueKind(QStringLiteral("HSL_Hue")), TStoreKind::Integer);
    EXPECT_EQ(reader.valueNames().size(), 5);

    const TStoreResult<QString> wrongKind = reader.readString(QStringLiteral("HSL_Hue"));
    EXPECT_FALSE(wrongKind.ok);
    EXPECT_TRUE(wrongKind.error.contains(QStringLiteral("HSL_Hue")));
    const TStoreResult<qint32> missing = reader.readInteger(QStringLiteral("Nothing"));
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(reader.writeInteger(QStringLiteral("HSL_Hue"), 1).ok)
        << "a key opened for reading takes no writes";
}

TEST_P(UserStoreBackends, AMissingKeyIsNeverCreatedByReading) {
    TUserStore reader = store();
    EXPECT_FALSE(reader.keyExists(Key));
    EXPECT_FALSE(reader.openKeyReadOnly(Key));
    EXPECT_TRUE(reader.lastError().contains(Key));
    EXPECT_FALSE(reader.openKey(Key, false));
    EXPECT_FALSE(reader.keyExists(Key));
    EXPECT_FALSE(reader.readString(QStringLiteral("FontName")).ok);
}

TEST_P(UserStoreBackends, ADamagedValueFailsAloneAndCanBeWrittenAgain) {
    TUserStore writer = store();
    ASSERT_TRUE(writer.openKey(Key, true));
    ASSERT_TRUE(writer.writeInteger(QStringLiteral("HSL_Lum"), 100));
    damage(QStringLiteral("HSL_Hue"));

    TUserStore reader = store();
    ASSERT_TRUE(reader.openKeyReadOnly(Key));
    EXPECT_TRUE(reader.valueExists(QStringLiteral("HSL_Hue")));
    const TStoreResult<qint32> hue = reader.readInteger(QStringLiteral("HSL_Hue"));
    EXPECT_FALSE(hue.ok);
    EXPECT_TRUE(hue.error.contains(QStringLiteral("HSL_Hue")));
    EXPECT_EQ(reader.readInteger(QStringLiteral("HSL_Lum")).value, 100);

    ASSERT_TRUE(writer.writeInteger(QStringLiteral("HSL_Hue"), 7));
    EXPECT_EQ(reader.readInteger(QStringLiteral("HSL_Hue")).value, 7);
}

TEST_P(UserStoreBackends, DeletingValuesAndKeys) {
    TUserStore writer = store();
    ASSERT_TRUE(writer.openKey(Key, true));
    ASSERT_TRUE(writer.writeInteger(QStringLiteral("A"), 1));
    ASSERT_TRUE(writer.writeInteger(QStringLiteral("B"), 2));
    EXPECT_TRUE(writer.deleteValue(QStringLiteral("a")));
    EXPECT_FALSE(writer.deleteValue(QStringLiteral("A")).ok) << "already gone";
    EXPECT_EQ(writer.valueNames(), QStringList{QStringLiteral("B")});
    EXPECT_TRUE(writer.deleteKey(Key));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(store().keyExists(Key));
}

INSTANTIATE_TEST_SUITE_P(, UserStoreBackends, ::testing::Values(TBackend::File, TBackend::Registry),
                         [](const ::testing::TestParamInfo<TBackend>& info) {
                             return info.param == TBackend::File ? "File" : "Registry";
                         });

} // namespace
