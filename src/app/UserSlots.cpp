#include "app/UserSlots.h"

#include "app/ColorHub.h"
#include "app/Extra.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"
#include "colorsets/Clsetnamefrm.h"
#include "colorsets/Colorsetfrm.h"
#include "colour/CopyFormats.h"
#include "controls/KxPanel.h"
#include "dialogs/Hintfrm.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "support/Kxglobals.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

namespace {

constexpr std::array<const char*, TUserSlots::UserCount> kUserCaptions = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
constexpr std::array<const char*, TUserSlots::HistoryCount> kHistoryCaptions = {
    "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
constexpr int kStoreMenuTagBase = 10;
constexpr int kDesignRowHeight = 36;

const QString kQuestionCaption = QStringLiteral("Question for You");

// A colour as a slot may hold it: plain 24 bits, never the no-colour value.
ColorValue plainColor(ColorValue c) {
    if (c == kNoColor) return kBlack;
    return ResolveColor(c);
}

void setTag(QObject* control, int tag) {
    control->setProperty("Tag", tag);
}

} // namespace

TUserSlots::TUserSlots(TColorHub& hub, TForm1Ui& ui) : QObject(&hub), m_hub(hub), m_ui(ui) {
    AskName = [this](const QStringList& taken) { return TClSetNameForm::Ask(&m_hub, taken); };
    RunManager = [](TColorSetForm& manager) { return manager.exec(); };
    createSlots();
}

TUserSlots::~TUserSlots() = default;

// ---------------------------------------------------------------------------------------------
// The row

void TUserSlots::createSlots() {
    QWidget* row = m_ui.PnlLabels;
    const bool wasHidden = row->isHidden();
    row->hide();
    for (int i = 0; i < UserCount; ++i) {
        auto* slot = new TColorLabel(QString::fromLatin1(kUserCaptions[i]), row);
        setTag(slot, TagUserSlot);
        slot->setShowName(true);
        m_user[i] = slot;
    }
    m_separator = new QLabel(QStringLiteral(" - "), row);
    QFont bold = m_separator->font();
    bold.setBold(true);
    m_separator->setFont(bold);
    m_separator->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < HistoryCount; ++i) {
        auto* slot = new TColorLabel(QString::fromLatin1(kHistoryCaptions[i]), row);
        setTag(slot, TagHistorySlot);
        m_history[i] = slot;
    }
    for (TColorLabel* slot : m_user) {
        connect(slot, &TColorLabel::pressed, this, &TUserSlots::ColorLabelsMouseDown);
        connect(slot, &TColorLabel::moved, this, &TUserSlots::ColorLabelsMouseMove);
    }
    for (TColorLabel* slot : m_history) {
        connect(slot, &TColorLabel::pressed, this, &TUserSlots::ColorLabelsMouseDown);
        connect(slot, &TColorLabel::moved, this, &TUserSlots::ColorLabelsMouseMove);
    }
    row->installEventFilter(this);
    layoutSlots();
    row->setHidden(wasHidden);
    const int separatorWidth = QFontMetrics(bold).horizontalAdvance(m_separator->text());
    // The row's height as the window lays it out: its design height, never below 24 pixels.
    const int rowHeight = std::max(m_ui.scaled(kDesignRowHeight), 24);
    m_minimumWidth = rowHeight * (UserCount + HistoryCount) + separatorWidth + 60;
}

bool TUserSlots::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.PnlLabels && event->type() == QEvent::Resize) layoutSlots();
    return QObject::eventFilter(watched, event);
}

void TUserSlots::layoutSlots() {
    // Slots are almost square: their width follows the row's height.
    const int h = m_ui.PnlLabels->height();
    const int w = h + 2;
    int x = 0;
    for (TColorLabel* slot : m_user) {
        slot->setGeometry(x, 0, w, h);
        x += w;
    }
    const int separatorWidth =
        QFontMetrics(m_separator->font()).horizontalAdvance(m_separator->text());
    m_separator->setGeometry(x, 0, separatorWidth, h);
    x += separatorWidth;
    for (TColorLabel* slot : m_history) {
        slot->setGeometry(x, 0, w, h);
        x += w;
    }
}

TColorLabel* TUserSlots::userSlot(int index) const {
    return m_user.at(static_cast<std::size_t>(index));
}

TColorLabel* TUserSlots::historySlot(int index) const {
    return m_history.at(static_cast<std::size_t>(index));
}

int TUserSlots::userIndexOf(const QObject* label) const {
    const auto found = std::find(m_user.begin(), m_user.end(), label);
    return found == m_user.end() ? -1 : static_cast<int>(found - m_user.begin());
}

// ---------------------------------------------------------------------------------------------
// Slots

void TUserSlots::SelectLabel(TColorLabel* label) {
    if (m_selected == label) return;
    if (m_selected) m_selected->setSelected(false);
    m_selected = label;
    if (label) label->setSelected(true);
}

void TUserSlots::StoreIntoSlot(int index, ColorValue color) {
    if (index < 0 || index >= UserCount) return;
    m_user[index]->setColor(plainColor(color));
    MarkSetChanged(true);
}

void TUserSlots::SelectUserColor(int index) {
    if (index < 0 || index >= UserCount) return;
    const ColorValue c = plainColor(m_user[index]->color());
    m_hub.ApplyCurrentColor(c);
    if (const std::optional<QString> text = FormatByStyle(
            c, static_cast<int>(m_hub.options().clickAction()), m_hub.options().formats()))
        Platform::setClipboardText(*text);
    SelectLabel(m_user[index]);
}

void TUserSlots::PushHistory(ColorValue color) {
    for (int i = 0; i + 1 < HistoryCount; ++i)
        m_history[i]->setColor(m_history[i + 1]->color());
    m_history.back()->setColor(plainColor(color));
}

void TUserSlots::FillRandomHistory() {
    const ColorValue first = m_history.front()->color();
    if (!std::all_of(m_history.begin(), m_history.end(),
                     [first](const TColorLabel* slot) { return slot->color() == first; }))
        return;
    std::mt19937 random(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> channel(0, 219);
    for (TColorLabel* slot : m_history) {
        std::array<int, 3> rgb{30 + channel(random), 30 + channel(random), 30 + channel(random)};
        // The first of the smallest channels goes to 0, so every colour is vivid.
        *std::min_element(rgb.begin(), rgb.end()) = 0;
        slot->setColor(MakeColor(rgb[0], rgb[1], rgb[2]));
    }
}

TUserSlots::THistory TUserSlots::history() const {
    THistory colors{};
    for (int i = 0; i < HistoryCount; ++i)
        colors[i] = m_history[i]->color();
    return colors;
}

void TUserSlots::setHistory(const THistory& colors) {
    for (int i = 0; i < HistoryCount; ++i)
        m_history[i]->setColor(plainColor(colors[i]));
}

bool TUserSlots::EditColorName(TColorLabel* slot) {
    if (!slot || userIndexOf(slot) < 0) return false;
    auto editor = std::make_unique<THintForm>(&m_hub);
    editor->setColor(slot->color(), slot->text());
    editor->setHint(slot->name());
    editor->placeOn(QRect(slot->mapToGlobal(QPoint(0, 0)), slot->size()));
    if (editor->exec() != QDialog::Accepted) return false;
    slot->setName(editor->hint());
    MarkSetChanged(true);
    return true;
}

void TUserSlots::ColorLabelsMouseDown(TColorLabel* slot, Qt::MouseButton button) {
    if (!slot || button == Qt::RightButton) return;
    if (button == Qt::LeftButton) SelectLabel(slot);
    const ColorValue c = plainColor(slot->color());
    m_hub.ApplyCurrentColor(c);
    m_hub.CopyOnClick(c);
}

void TUserSlots::ColorLabelsMouseMove(TColorLabel* slot) {
    if (!slot || !(m_hub.options().hotTrack() || Platform::ctrlDown())) return;
    m_hub.ApplyCurrentColor(plainColor(slot->color()));
}

void TUserSlots::BuildStoreColorMenu(QMenu* menu) {
    for (int i = 0; i < UserCount; ++i) {
        const QString k = QString::fromLatin1(kUserCaptions[i]);
        auto* action = menu->addAction(QStringLiteral("Color %1  [ Alt + %1 ]").arg(k));
        const int tag = kStoreMenuTagBase + i;
        action->setProperty("Tag", tag);
        connect(action, &QAction::triggered, this,
                [this, tag] { MenuColorClick(tag, PopupColor ? PopupColor() : std::nullopt); });
    }
}

void TUserSlots::MenuColorClick(int tag, std::optional<ColorValue> popupColor) {
    const int index = tag - kStoreMenuTagBase;
    if (index < 0 || index >= UserCount) return;
    StoreIntoSlot(index, popupColor ? *popupColor : m_hub.currentColor());
}

// ---------------------------------------------------------------------------------------------
// Colour sets

void TUserSlots::setDataFolder(const QString& folder, bool writable) {
    m_store = TColorSetStore(folder);
    m_folderWritable = writable;
    m_sets = m_store.ListColorSets();
}

int TUserSlots::chosenSet() const {
    if (m_currentPath.isEmpty()) return -1;
    for (std::size_t i = 0; i < m_sets.size(); ++i)
        if (FileNames::samePath(m_sets[i].path, m_currentPath)) return static_cast<int>(i);
    return -1;
}

void TUserSlots::MarkSetChanged(bool value) {
    if (m_currentPath.isEmpty() || m_changed == value) return;
    m_changed = value;
    emit setStateChanged();
}

TColorSetEntries TUserSlots::userEntries() const {
    TColorSetEntries entries;
    for (int i = 0; i < UserCount; ++i)
        entries[i] = {m_user[i]->color(), m_user[i]->name()};
    return entries;
}

void TUserSlots::showEntries(const TColorSetEntries& entries) {
    for (int i = 0; i < UserCount; ++i) {
        m_user[i]->setColor(plainColor(entries[i].color));
        m_user[i]->setName(entries[i].name);
    }
}

void TUserSlots::setCurrent(const QString& path) {
    m_currentPath = path;
    m_diskVersion = m_store.fingerprint(path);
    m_changed = false;
    emit setStateChanged();
}

void TUserSlots::showError(const TColorSetError& error) {
    ShowErrorBox(error.caption(), error.text(), &m_hub);
}

// The file is read and checked whole before a slot changes.
bool TUserSlots::readIntoSlots(const QString& path) {
    const TColorSetRead read = m_store.ReadColorSet(path, TKeyDecoding::Slots);
    if (!read.ok()) {
        showError(*read.error);
        return false;
    }
    showEntries(read.entries);
    setCurrent(path);
    return true;
}

bool TUserSlots::writeSlots(const QString& path) {
    if (const TColorSetStatus error = m_store.WriteColorSet(path, userEntries())) {
        showError(*error);
        return false;
    }
    setCurrent(path);
    return true;
}

bool TUserSlots::AskSaveChangedSet() {
    if (!m_changed) return true;
    switch (AskYesNoCancel(
        kQuestionCaption,
        QStringLiteral("The Color Set have changed do you want to save the changes ?"), &m_hub)) {
    case kMsgYes:
        return SaveSet();
    case kMsgNo:
        return true;
    default:
        return false;
    }
}

bool TUserSlots::AskSaveBeforeClose() {
    if (!m_changed) return true;
    switch (AskYesNoCancel(
        QStringLiteral("Question for you"),
        QStringLiteral(
            "There have been changes to the user color set. \r\nDo you want to save them ?"),
        &m_hub)) {
    case kMsgYes:
        // A save that failed keeps the window open with the edits.
        return SaveSet();
    case kMsgNo:
        return true;
    default:
        return false;
    }
}

bool TUserSlots::SaveSet() {
    if (m_currentPath.isEmpty()) {
        // Only when the data folder could not be used (said at start) or no set
        // could be opened in it.
        ShowErrorBox(QStringLiteral("File Error"),
                     QStringLiteral("The colors cannot be saved: no color set file is open.\r\n"
                                    "Make sure the data folder \"%1\" exists and can be written, "
                                    "then create or open a color set from the popup menu.")
                         .arg(QDir::toNativeSeparators(m_store.folder())),
                     &m_hub);
        return false;
    }
    // Another program (a second copy of this one) may have saved the set since
    // it was read here: ask before either side's colours are lost.
    const QByteArray onDisk = m_store.fingerprint(m_currentPath);
    if (!onDisk.isEmpty() && onDisk != m_diskVersion) {
        switch (AskYesNoCancel(
            kQuestionCaption,
            QStringLiteral("The Color Set \"%1\" was saved by another program (perhaps a second "
                           "%2) after it was loaded here.\r\nOverwrite it with the "
                           "colours shown here, or load the colours saved there and lose the "
                           "changes made here ?")
                .arg(TColorSetStore::NameOf(m_currentPath), Kxglobals::ProgramName),
            QStringLiteral("&Overwrite"), QStringLiteral("&Load Theirs"), &m_hub)) {
        case kMsgYes:
            break;
        case kMsgNo:
            return readIntoSlots(m_currentPath);
        default:
            return false;
        }
    }
    return writeSlots(m_currentPath);
}

bool TUserSlots::OpenSet(const QString& path) {
    if (!AskSaveChangedSet()) return false;
    return readIntoSlots(path);
}

bool TUserSlots::OpenBuiltInSet(const QString& name) {
    if (!AskSaveChangedSet()) return false;
    const QString path = m_store.pathFor(name);
    if (QFileInfo::exists(path)) return readIntoSlots(path);
    // The standard content is written first; the slots change only once it is on disk.
    if (const TColorSetStatus error = m_store.WriteBuiltInColorSet(path)) {
        showError(*error);
        return false;
    }
    showEntries(name == ColorSetFile::SixteenColorsName ? ColorSetFile::SixteenColors()
                                                        : ColorSetFile::DefaultColors());
    setCurrent(path);
    return true;
}

bool TUserSlots::NewSet() {
    QStringList taken;
    for (const TColorSetRef& ref : m_sets)
        taken.append(ref.name);
    const std::optional<QString> name = AskName ? AskName(taken) : std::nullopt;
    if (!name || !AskSaveChangedSet()) return false;
    // Created on disk first (never over an existing file); the slots follow.
    if (const TColorSetStatus error = m_store.NewColorSet(*name)) {
        showError(*error);
        return false;
    }
    const QString path = m_store.pathFor(*name);
    showEntries(ColorSetFile::BlankColors());
    setCurrent(path);
    m_sets.insert(m_sets.begin() +
                      static_cast<std::ptrdiff_t>(TColorSetStore::SortedPlace(m_sets, *name)),
                  {*name, path});
    return true;
}

void TUserSlots::openDefaultFallback() {
    const QString path = m_store.pathFor(ColorSetFile::DefaultSetName);
    if (QFileInfo::exists(path)) {
        readIntoSlots(path);
    } else if (!m_folderWritable) {
        // The start already said the folder cannot be written; a second box about the one file
        // would add nothing. The colours still show, and a save says why it fails.
        showEntries(ColorSetFile::DefaultColors());
        setCurrent(path);
    } else if (const TColorSetStatus error = m_store.WriteBuiltInColorSet(path)) {
        showError(*error);
    } else {
        showEntries(ColorSetFile::DefaultColors());
        setCurrent(path);
    }
    FillRandomHistory();
}

void TUserSlots::OpenStartSet(const QString& storedPath) {
    if (!storedPath.isEmpty() && QFileInfo::exists(storedPath)) {
        // A set elsewhere could never be saved, and would hold up every close asking to.
        if (!m_store.isInFolder(storedPath)) {
            ShowMessageBox(
                QStringLiteral("Color Set"),
                QStringLiteral("The color set \"%1\" of the last session is not in the color set "
                               "folder \"%2\", so the default set is used.\r\nTo use it again, "
                               "import it with Manage Color Sets.")
                    .arg(QDir::toNativeSeparators(storedPath),
                         QDir::toNativeSeparators(m_store.folder())),
                kMsgIconInfo, &m_hub);
        } else if (readIntoSlots(storedPath)) {
            return;
        }
    }
    openDefaultFallback();
}

bool TUserSlots::confirmDelete(const QString& path) {
    if (!FileNames::samePath(path, m_currentPath) || !m_changed) return true;
    return AskYesNoCancel(kQuestionCaption,
                          QStringLiteral("The Color Set \"%1\" has changes in the main window that "
                                         "are not saved.\r\nDelete it all the same ?")
                              .arg(TColorSetStore::NameOf(path)),
                          &m_hub) == kMsgYes;
}

void TUserSlots::ManageSets() {
    bool currentSaved = false;
    auto manager = std::make_unique<TColorSetForm>(m_store, m_sets, &m_hub);
    manager->ConfirmDelete = [this](const QString& path) { return confirmDelete(path); };
    connect(manager.get(), &TColorSetForm::colorSetRenamed, this,
            [this](const QString& oldPath, const QString& newPath) {
                // The slots follow their set to its new name.
                if (FileNames::samePath(oldPath, m_currentPath)) {
                    m_currentPath = newPath;
                    emit setStateChanged();
                }
            });
    connect(manager.get(), &TColorSetForm::colorSetSaved, this,
            [this, &currentSaved](const QString& path) {
                if (FileNames::samePath(path, m_currentPath)) currentSaved = true;
            });
    if (RunManager) RunManager(*manager);
    manager.reset();

    m_sets = m_store.ListColorSets();
    if (!m_currentPath.isEmpty() && QFileInfo::exists(m_currentPath)) {
        // Names the manager saved into the current set would otherwise be
        // overwritten by the next save of the slots.
        if (currentSaved && !m_changed) readIntoSlots(m_currentPath);
        return;
    }
    openDefaultFallback();
}
