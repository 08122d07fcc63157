#include "colorsets/ColorSetStore.h"

#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "support/FileOps.h"
#include "support/TextFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace {

const QString kNotInFolder = QStringLiteral("Not a colour set name in the colour set folder");

TColorSetError failed(TColorSetFailure failure, const QString& path, const QString& text) {
    return {failure, path, text};
}

struct TBytes {
    QByteArray bytes;
    QString error;
    bool ok = false;
};

// The file whole, or why not; a set file is small, so a large one is refused
// before anything is read.
TBytes readBytes(const QString& path, qint64 cap = kColorSetFileCap) {
    TBytes result;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.error = QStringLiteral("Not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (result.bytes.size() > cap) {
        result.error = QStringLiteral("File too large (over %1 bytes)").arg(cap);
        return result;
    }
    result.ok = true;
    return result;
}

TColorSetStatus fromParse(const ColorSetFile::TParseResult& parsed, const QString& path) {
    switch (parsed.error) {
    case ColorSetFile::TParseError::None:
        return std::nullopt;
    case ColorSetFile::TParseError::NotAColorSet:
        return failed(TColorSetFailure::NotAColorSet, path, {});
    case ColorSetFile::TParseError::HasErrors:
        break;
    }
    return failed(TColorSetFailure::HasErrors, path, parsed.detail);
}

} // namespace

QString TColorSetError::caption() const {
    switch (failure) {
    case TColorSetFailure::CannotRead:
    case TColorSetFailure::HasErrors:
        return QStringLiteral("File Error!");
    default:
        return QStringLiteral("File Error");
    }
}

QString TColorSetError::text() const {
    const auto system = [this](const char* what) {
        return QString::fromLatin1(what) + QStringLiteral(":\r\n") + path +
               QStringLiteral("\r\nSystem Say:\r\n") + systemText;
    };
    switch (failure) {
    case TColorSetFailure::CannotRead:
        return QStringLiteral("Could not import the file: \r\n") + path + QStringLiteral("\r\n") +
               systemText;
    case TColorSetFailure::NotAColorSet:
        return path + QStringLiteral("\r\nIs not ") + ColorSetFile::HeaderKey +
               QStringLiteral(" !");
    case TColorSetFailure::HasErrors:
        return QStringLiteral("File have errors: \r\n") + path + QStringLiteral("\r\n") +
               systemText;
    case TColorSetFailure::CannotSave:
        return system("Could not save Color Set file");
    case TColorSetFailure::CannotCreate:
        return system("Could not create Color Set file");
    case TColorSetFailure::CannotRename:
        return system("Could not rename Color Set file");
    case TColorSetFailure::CannotCopy:
        return system("Could not Copy Color Set file");
    case TColorSetFailure::CannotDelete:
        return system("Could not Delete Color Set file");
    }
    return {};
}

TColorSetStore::TColorSetStore(QString folder) : m_folder(std::move(folder)) {
    if (!m_folder.isEmpty() && !m_folder.endsWith(u'/')) m_folder += u'/';
}

QString TColorSetStore::pathFor(const QString& name) const {
    return m_folder + name + ColorSetFile::Extension;
}

QString TColorSetStore::NameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("A color set needs a name.");
    const QStringView reserved = FileNames::reservedCharacters();
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return QStringLiteral("A name cannot hold \"/\" or \"\\\": the set would be saved "
                                  "outside the color set folder.");
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("A name cannot hold tabs, line breaks or other control "
                                  "characters.");
        if (reserved.contains(c)) {
            // Listed as "< > : ...".
            QString listed;
            for (QChar r : reserved)
                listed += (listed.isEmpty() ? QString() : QStringLiteral(" ")) + r;
            return QStringLiteral("A name cannot hold any of %1.").arg(listed);
        }
    }
    if (const QString device = FileNames::deviceName(name); !device.isEmpty())
        return QStringLiteral("\"%1\" is a device name of the system.").arg(device);
    if (FileNames::dropsTrailingBlankOrDot() && (name.endsWith(u' ') || name.endsWith(u'.')))
        return QStringLiteral("A name cannot end in a blank or a dot.");
    return {};
}

bool TColorSetStore::IsSafeName(const QString& name) {
    return NameProblem(name).isEmpty();
}

bool TColorSetStore::isInFolder(const QString& path) const {
    const QFileInfo info(path);
    if (info.fileName().isEmpty()) return false;
    const QString folder = QDir(m_folder).canonicalPath();
    return !folder.isEmpty() && QDir(info.absolutePath()).canonicalPath() == folder;
}

bool TColorSetStore::IsBuiltInPath(const QString& path) {
    const QString file = QFileInfo(path).fileName();
    return file == ColorSetFile::SixteenColorsName + ColorSetFile::Extension ||
           file == ColorSetFile::DefaultSetName + ColorSetFile::Extension;
}

QString TColorSetStore::NameOf(const QString& path) {
    const QString file = QFileInfo(path).fileName();
    return file.left(file.size() - ColorSetFile::Extension.size());
}

TColorSetRead TColorSetStore::ReadColorSet(const QString& path, TKeyDecoding decoding) const {
    TColorSetRead result;
    const TBytes bytes = readBytes(path);
    if (!bytes.ok) {
        result.error = failed(TColorSetFailure::CannotRead, path, bytes.error);
        return result;
    }
    const ColorSetFile::TParseResult parsed =
        ColorSetFile::Parse(TextFile::decode(bytes.bytes), decoding);
    result.error = fromParse(parsed, path);
    if (result.ok()) result.entries = parsed.entries;
    return result;
}

QByteArray TColorSetStore::fingerprint(const QString& path) const {
    const TBytes bytes = readBytes(path);
    if (!bytes.ok) return {};
    return QCryptographicHash::hash(bytes.bytes, QCryptographicHash::Sha256);
}

TColorSetStatus TColorSetStore::WriteColorSet(const QString& path,
                                              const TColorSetEntries& entries) const {
    if (!isInFolder(path)) return failed(TColorSetFailure::CannotSave, path, kNotInFolder);
    const TextFile::TWriteResult written = TextFile::write(path, ColorSetFile::Format(entries));
    if (!written.ok) return failed(TColorSetFailure::CannotSave, path, written.error);
    return std::nullopt;
}

TColorSetStatus TColorSetStore::WriteBuiltInColorSet(const QString& path) const {
    const QString file = QFileInfo(path).fileName();
    const TColorSetEntries entries =
        file == ColorSetFile::SixteenColorsName + ColorSetFile::Extension
            ? ColorSetFile::SixteenColors()
            : ColorSetFile::DefaultColors();
    if (!IsBuiltInPath(path))
        return failed(TColorSetFailure::CannotCreate, path, QStringLiteral("Not a built-in set"));
    if (!isInFolder(path)) return failed(TColorSetFailure::CannotCreate, path, kNotInFolder);
    const TextFile::TWriteResult written = TextFile::write(path, ColorSetFile::Format(entries));
    if (!written.ok) return failed(TColorSetFailure::CannotCreate, path, written.error);
    return std::nullopt;
}

TColorSetList TColorSetStore::ListColorSets() const {
    TColorSetList sets{{ColorSetFile::SixteenColorsName, pathFor(ColorSetFile::SixteenColorsName)},
                       {ColorSetFile::DefaultSetName, pathFor(ColorSetFile::DefaultSetName)}};
    // Hidden files too: a set named ".x" must not vanish from the list. The extension is matched
    // here rather than by a name filter, which would build a regular expression at every start.
    const QFileInfoList files = QDir(m_folder).entryInfoList(QDir::Files | QDir::Hidden);
    // The order SortedPlace gives, reached in one sort on collation keys: each name is
    // lower-cased and keyed once, not in every comparison, and equal names keep the folder's
    // order.
    QStringList keys;
    std::vector<TColorSetRef> found;
    keys.reserve(files.size());
    found.reserve(std::size_t(files.size()));
    for (const QFileInfo& info : files) {
        if (!info.fileName().endsWith(ColorSetFile::Extension, Qt::CaseInsensitive)) continue;
        const QString path = m_folder + info.fileName();
        const QString name = NameOf(path);
        // A file named like a built-in (in any case) is that built-in's file.
        bool builtIn = false;
        for (std::size_t i = 0; i < 2; ++i)
            if (sets[i].name.compare(name, Qt::CaseInsensitive) == 0) {
                sets[i].path = path;
                builtIn = true;
            }
        if (builtIn) continue;
        keys.append(Platform::toLower(name));
        found.push_back({name, path});
    }
    sets.reserve(sets.size() + found.size());
    for (const qsizetype at : Platform::sortedOrder(keys))
        sets.push_back(std::move(found[std::size_t(at)]));
    return sets;
}

TColorSetStatus TColorSetStore::NewColorSet(const QString& name) const {
    const QString path = pathFor(name);
    if (!IsSafeName(name) || !isInFolder(path))
        return failed(TColorSetFailure::CannotSave, path, kNotInFolder);
    const QByteArray bytes = TextFile::encode(ColorSetFile::Format(ColorSetFile::BlankColors()));
    // Create-only: a set of that name that is already there stays as it is.
    if (const FileOps::TResult written = FileOps::writeNewFile(path, bytes); !written)
        return failed(TColorSetFailure::CannotSave, path, written.error);
    return std::nullopt;
}

TColorSetStatus TColorSetStore::RenameColorSet(const QString& path, const QString& newName) const {
    const QString target = pathFor(newName);
    if (!isInFolder(path) || !IsSafeName(newName) || !isInFolder(target))
        return failed(TColorSetFailure::CannotRename, path, kNotInFolder);
    QFile file(path);
    if (!file.rename(target))
        return failed(TColorSetFailure::CannotRename, path, file.errorString());
    return std::nullopt;
}

TColorSetStatus TColorSetStore::CopyColorSet(const QString& path, const QString& newName) const {
    const QString target = pathFor(newName);
    if (!isInFolder(path) || !IsSafeName(newName) || !isInFolder(target))
        return failed(TColorSetFailure::CannotCopy, path, kNotInFolder);
    if (const FileOps::TResult copied = FileOps::copyFile(path, target); !copied)
        return failed(TColorSetFailure::CannotCopy, path, copied.error);
    return std::nullopt;
}

TColorSetStatus TColorSetStore::DeleteColorSet(const QString& path) const {
    if (!isInFolder(path)) return failed(TColorSetFailure::CannotDelete, path, kNotInFolder);
    QFile file(path);
    if (!file.remove()) return failed(TColorSetFailure::CannotDelete, path, file.errorString());
    return std::nullopt;
}

TPaletteRead TColorSetStore::ReadPalette(const QString& chosenPath) const {
    TPaletteRead result;
    const TBytes bytes = readBytes(chosenPath, kPaletteFileCap);
    if (!bytes.ok) {
        result.error = failed(TColorSetFailure::CannotRead, chosenPath, bytes.error);
        return result;
    }
    const TPaletteFormat format = PaletteFile::FormatToImport(chosenPath, bytes.bytes);
    if (format == TPaletteFormat::ColorSet) {
        // The set format keeps its own messages, the "Is not" one among them.
        const ColorSetFile::TParseResult parsed =
            ColorSetFile::ValidateImport(TextFile::decode(bytes.bytes));
        result.error = fromParse(parsed, chosenPath);
        if (result.ok()) result.palette = PaletteFile::FromSet({}, parsed.entries);
        return result;
    }
    TSwatchRead read = PaletteFile::Read(format, bytes.bytes);
    if (!read.ok())
        result.error = failed(TColorSetFailure::HasErrors, chosenPath, read.error);
    else
        result.palette = std::move(read.list);
    return result;
}

TColorSetStatus TColorSetStore::ImportColorSets(const std::vector<TNamedSet>& sets) const {
    for (const TNamedSet& set : sets) {
        const QString target = pathFor(set.name);
        if (!IsSafeName(set.name) || !isInFolder(target))
            return failed(TColorSetFailure::CannotSave, target, kNotInFolder);
    }
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const QString target = pathFor(sets[i].name);
        const FileOps::TResult written =
            FileOps::writeNewFile(target, TextFile::encode(ColorSetFile::Format(sets[i].entries)));
        if (!written) {
            // Half an import would leave sets the user did not ask for.
            for (std::size_t j = 0; j < i; ++j)
                FileOps::removeFile(pathFor(sets[j].name));
            return failed(TColorSetFailure::CannotSave, target, written.error);
        }
    }
    return std::nullopt;
}

TColorSetStatus TColorSetStore::ImportColorSet(const QString& chosenPath,
                                               const QString& name) const {
    const TPaletteRead read = ReadPalette(chosenPath);
    if (!read.ok()) return read.error;
    return ImportColorSets({{name, PaletteFile::SplitIntoSets(read.palette.swatches).front()}});
}

TColorSetStatus TColorSetStore::ExportColorSet(const QString& path, const QString& chosenPath,
                                               TPaletteFormat format) const {
    const QString source = QFileInfo(path).canonicalFilePath();
    // The user chose the set's own file: it is already there, and replacing a
    // file by itself must never risk it.
    if (!source.isEmpty() && source == QFileInfo(chosenPath).canonicalFilePath())
        return std::nullopt;
    QByteArray bytes;
    if (format == TPaletteFormat::ColorSet) {
        const TBytes read = readBytes(path);
        if (!read.ok) return failed(TColorSetFailure::CannotCopy, path, read.error);
        bytes = read.bytes;
    } else {
        const TColorSetRead read = ReadColorSet(path, TKeyDecoding::Tiles);
        if (!read.ok()) return failed(TColorSetFailure::CannotCopy, path, read.error->text());
        bytes = PaletteFile::Write(format, PaletteFile::FromSet(NameOf(path), read.entries));
    }
    const FileOps::TResult written = FileOps::writeFile(chosenPath, bytes);
    if (!written) return failed(TColorSetFailure::CannotCopy, path, written.error);
    return std::nullopt;
}

std::size_t TColorSetStore::SortedPlace(const TColorSetList& list, const QString& name) {
    std::size_t i = 0;
    for (; i < list.size(); ++i) {
        const QString& other = list[i].name;
        if (other == ColorSetFile::SixteenColorsName || other == ColorSetFile::DefaultSetName)
            continue;
        if (Platform::compareText(other, name, Qt::CaseInsensitive) > 0) break;
    }
    return i;
}
