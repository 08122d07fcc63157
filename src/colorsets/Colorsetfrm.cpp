#include "colorsets/Colorsetfrm.h"

#include "colorsets/Clpnl.h"
#include "colorsets/Clsetnamefrm.h"
#include "colorsets/PaletteFile.h"
#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "dialogs/Kxmsgbx.h"
#include "platform/Platform.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// Design sizes at 144 pixels per inch.
constexpr int kDesignClientWidth = 550;
constexpr int kDesignClientHeight = 558;
constexpr int kDesignFontHeight = 18;
constexpr int kDesignTitleFontHeight = 20;
constexpr int kDesignTitleHeight = 25;
constexpr int kDesignItemHeight = 21;
constexpr int kDesignColumnWidth = 100;
constexpr int kDesignButtonHeight = 29;
constexpr int kDesignButtonStep = 35;
constexpr int kDesignBottomHeight = 49;
constexpr int kDesignOkWidth = 83;

constexpr ColorValue kGradientTop = 0xFFEBDE;
constexpr ColorValue kGradientBottom = 0xD8B4A3;

constexpr int kPathRole = Qt::UserRole;
constexpr int kWheelNotch = 120;

constexpr std::array<const char*, kColorSetSize> kCaptions = {"0", "1", "2", "3", "4", "5", "6",
                                                              "7", "8", "9", "A", "B", "C", "D",
                                                              "E", "F", "G", "H", "I", "J"};

QColor toQColor(ColorValue c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QString askOpenFile(QWidget* parent) {
    QStringList filters;
    QString patterns;
    for (const TPaletteFormatInfo& info : PaletteFile::kFormats) {
        if (!info.canImport) continue;
        filters.append(info.filter);
        patterns +=
            (patterns.isEmpty() ? QStringLiteral("*") : QStringLiteral(" *")) + info.extension;
    }
    filters.prepend(QStringLiteral("Color sets and palettes (%1)").arg(patterns));
    filters.append(QStringLiteral("All files (*)"));
    QFileDialog dialog(parent, QString(), QDir::homePath());
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

TExportChoice askSaveFile(QWidget* parent, const QString& proposed) {
    QStringList filters;
    for (const TPaletteFormatInfo& info : PaletteFile::kFormats)
        filters.append(info.filter);
    QFileDialog dialog(parent, QString(), QDir::homePath());
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The manager asks before a file is replaced, once the name has its
    // extension; the dialog would ask about the name as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    TExportChoice choice{dialog.selectedFiles().front(), TPaletteFormat::ColorSet};
    for (const TPaletteFormatInfo& info : PaletteFile::kFormats)
        if (dialog.selectedNameFilter() == info.filter) choice.format = info.format;
    return choice;
}

} // namespace

TColorSetForm::TColorSetForm(TColorSetStore store, const TColorSetList& sets, QWidget* owner)
    : TKxDialog(owner), m_store(std::move(store)) {
    AskName = [this](const QStringList& taken) { return TClSetNameForm::Ask(this, taken); };
    AskOpenFile = [this] { return askOpenFile(this); };
    AskSaveFile = [this](const QString& proposed) { return askSaveFile(this, proposed); };
    createControls();
    createActions();
    for (const TColorSetRef& ref : sets)
        addEntry(ListBox->count(), ref);
    enableSelectionButtons();
}

TColorSetForm::~TColorSetForm() = default;

int TColorSetForm::scaled(int designPixels) const {
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return (designPixels * dpi + 72) / 144;
}

TKxButton* TColorSetForm::addButton(QWidget* parent, const QString& caption, const QString& hint) {
    auto* button = new TKxButton(parent);
    button->setCaption(caption);
    button->setHint(hint);
    button->setClDimmedDark(14862272);
    button->setClDimmedLight(15921635);
    button->setFocusStyle(tfsColorRect);
    return button;
}

void TColorSetForm::createControls() {
    setWindowTitle(QStringLiteral("Manage Color Sets"));
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(scaled(kDesignFontHeight));
    setFont(font);
    resize(scaled(kDesignClientWidth), scaled(kDesignClientHeight));

    createTopPanel(font);
    createTileBox();
    QWidget* bottom = createBottomRow();

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(scaled(10), scaled(10), scaled(10), 0);
    layout->addWidget(PnlTop);
    layout->addSpacing(scaled(5));
    layout->addWidget(ScrollBox, 1);
    layout->addWidget(bottom);
}

void TColorSetForm::createTopPanel(const QFont& font) {
    PnlTop = new TKxPanel(this);
    PnlTop->setNoPaint(true);
    createSetList(font);
    QWidget* column = createButtonColumn();

    auto* topLayout = new QVBoxLayout(PnlTop);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(LbSets);
    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(scaled(10));
    listRow->addWidget(ListBox, 1);
    listRow->addWidget(column, 0, Qt::AlignTop);
    topLayout->addLayout(listRow);
    // As high as the button column under the title.
    PnlTop->setFixedHeight(LbSets->height() + column->height());
}

void TColorSetForm::createSetList(const QFont& font) {
    LbSets = new QLabel(QStringLiteral("ColorSets:"), PnlTop);
    QFont title = font;
    title.setBold(true);
    title.setPixelSize(scaled(kDesignTitleFontHeight));
    LbSets->setFont(title);
    LbSets->setFixedHeight(scaled(kDesignTitleHeight));
    ListBox = new QListWidget(PnlTop);
    ListBox->setUniformItemSizes(true);
    ListBox->setStyleSheet(
        QStringLiteral("QListWidget::item { height: %1px; }").arg(scaled(kDesignItemHeight)));
    connect(ListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClick(); });
}

QWidget* TColorSetForm::createButtonColumn() {
    auto* column = new QWidget(PnlTop);
    column->setFixedWidth(scaled(kDesignColumnWidth));
    ButNew = addButton(column, QStringLiteral("New"),
                       QStringLiteral("Create a  New Color Set [Ctrl+N]"));
    ButRename = addButton(column, QStringLiteral("Rename"),
                          QStringLiteral("Rename Selected Color Set [Ctrl+R]"));
    ButCopy = addButton(column, QStringLiteral("Copy"),
                        QStringLiteral("Copy Selected Color Set [Ctrl+P]"));
    ButImport =
        addButton(column, QStringLiteral("Import"), QStringLiteral("Import Color Set [Ctrl+i]"));
    ButExport = addButton(column, QStringLiteral("Export"),
                          QStringLiteral("Export Selected Color Set [Ctrl+E]"));
    ButDelete = addButton(column, QStringLiteral("Delete"),
                          QStringLiteral("Delete Selected Color Set [Del]"));
    int top = 0;
    for (TKxButton* b : {ButNew, ButRename, ButCopy, ButImport, ButExport, ButDelete}) {
        b->setGeometry(0, scaled(top), scaled(kDesignColumnWidth), scaled(kDesignButtonHeight));
        top += kDesignButtonStep;
    }
    column->setFixedHeight(ButDelete->geometry().bottom() + 1);
    connect(ButNew, &TKxButton::clicked, this, &TColorSetForm::ButNewClick);
    connect(ButRename, &TKxButton::clicked, this, &TColorSetForm::ButRenameClick);
    connect(ButCopy, &TKxButton::clicked, this, &TColorSetForm::ButCopyClick);
    connect(ButImport, &TKxButton::clicked, this, &TColorSetForm::ButImportClick);
    connect(ButExport, &TKxButton::clicked, this, &TColorSetForm::ButExportClick);
    connect(ButDelete, &TKxButton::clicked, this, &TColorSetForm::ButDeleteClick);
    return column;
}

void TColorSetForm::createTileBox() {
    ScrollBox = new QScrollArea(this);
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setWidgetResizable(true);
    ScrollBox->viewport()->setAutoFillBackground(false);
    auto* tiles = new QWidget;
    tiles->setAutoFillBackground(false);
    auto* tileLayout = new QVBoxLayout(tiles);
    tileLayout->setContentsMargins(0, 0, 0, 0);
    tileLayout->setSpacing(0);
    const int tileHeight = scaled(kDesignButtonHeight);
    for (int i = 0; i < kColorSetSize; ++i) {
        auto* tile = new TColorPnl(QString::fromLatin1(kCaptions[i]), tiles);
        tile->setFixedHeight(tileHeight);
        tileLayout->addWidget(tile);
        connect(tile, &TColorPnl::changed, this, [this] { ChangesMade(); });
        tile->edit()->installEventFilter(this);
        tile->label()->installEventFilter(this);
        m_tiles[i] = tile;
    }
    ScrollBox->setWidget(tiles);
    ScrollBox->viewport()->installEventFilter(this);
    ScrollBox->verticalScrollBar()->setSingleStep(tileHeight);
}

QWidget* TColorSetForm::createBottomRow() {
    // The OK and Cancel buttons are as high as a tile.
    const int tileHeight = scaled(kDesignButtonHeight);
    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(scaled(kDesignBottomHeight));
    ButOk = addButton(bottom, QStringLiteral("OK"), {});
    ButOk->setDefault(true);
    ButCancel = addButton(bottom, QStringLiteral("Cancel"), {});
    ButCancel->setCancel(true);
    ButCancel->setModalResult(tmrCancel);
    connect(ButOk, &TKxButton::clicked, this, &TColorSetForm::ButOkClick);
    auto* bottomRow = new QHBoxLayout(bottom);
    bottomRow->setContentsMargins(0, scaled(10), 0, bottom->height() - scaled(10) - tileHeight);
    bottomRow->setSpacing(scaled(10));
    bottomRow->addStretch(1);
    for (TKxButton* b : {ButOk, ButCancel}) {
        b->setFixedSize(scaled(kDesignOkWidth), tileHeight);
        bottomRow->addWidget(b);
    }
    return bottom;
}

void TColorSetForm::createActions() {
    struct TCommand {
        const char* text;
        QKeySequence key;
        void (TColorSetForm::*handler)();
    };
    const std::array<TCommand, 6> commands{{
        {"New", QKeySequence(Qt::CTRL | Qt::Key_N), &TColorSetForm::ButNewClick},
        {"Rename", QKeySequence(Qt::CTRL | Qt::Key_R), &TColorSetForm::ButRenameClick},
        {"Copy", QKeySequence(Qt::CTRL | Qt::Key_P), &TColorSetForm::ButCopyClick},
        {"Import", QKeySequence(Qt::CTRL | Qt::Key_O), &TColorSetForm::ButImportClick},
        {"Export", QKeySequence(Qt::CTRL | Qt::Key_E), &TColorSetForm::ButExportClick},
        {"Delete", QKeySequence(Qt::Key_Delete), &TColorSetForm::ButDeleteClick},
    }};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        auto* action = new QAction(QString::fromLatin1(commands[i].text), this);
        action->setShortcut(commands[i].key);
        connect(action, &QAction::triggered, this, commands[i].handler);
        m_actions[i] = action;
    }
    // Del edits text in a tile's name field; it deletes a set only from the
    // list and the buttons.
    QAction* del = m_actions.back();
    del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    PnlTop->addAction(del);
    for (std::size_t i = 0; i + 1 < m_actions.size(); ++i)
        addAction(m_actions[i]);
}

void TColorSetForm::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (QAction* action : m_actions)
        menu.addAction(action);
    menu.exec(event->globalPos());
}

void TColorSetForm::showEvent(QShowEvent* event) {
    TKxDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    FormShow();
}

void TColorSetForm::FormShow() {
    if (ListBox->count() == 0) return;
    if (ListBox->currentRow() == 0)
        ListBoxClick();
    else
        ListBox->setCurrentRow(0);
}

void TColorSetForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, toQColor(kGradientTop));
    gradient.setColorAt(1, toQColor(kGradientBottom));
    painter.fillRect(rect(), gradient);
}

bool TColorSetForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        // Whole tiles per notch, wherever over the tiles the wheel turns.
        auto* wheel = static_cast<QWheelEvent*>(event);
        m_wheelDelta += wheel->angleDelta().y();
        const int notches = m_wheelDelta / kWheelNotch;
        m_wheelDelta -= notches * kWheelNotch;
        if (notches != 0) scrollTiles(-notches);
        return true;
    }
    return TKxDialog::eventFilter(watched, event);
}

void TColorSetForm::scrollTiles(int notches) {
    QScrollBar* bar = ScrollBox->verticalScrollBar();
    bar->setValue(bar->value() + notches * bar->singleStep());
}

void TColorSetForm::ChangesMade() {
    m_changed = true;
}

QString TColorSetForm::pathAt(int row) const {
    return ListBox->item(row)->data(kPathRole).toString();
}

QStringList TColorSetForm::names() const {
    QStringList list;
    for (int i = 0; i < ListBox->count(); ++i)
        list.append(ListBox->item(i)->text());
    return list;
}

TColorSetList TColorSetForm::sets() const {
    TColorSetList list;
    for (int i = 0; i < ListBox->count(); ++i)
        list.push_back({ListBox->item(i)->text(), pathAt(i)});
    return list;
}

void TColorSetForm::addEntry(int row, const TColorSetRef& ref) {
    auto* item = new QListWidgetItem(ref.name);
    item->setData(kPathRole, ref.path);
    ListBox->insertItem(row, item);
}

std::optional<QString> TColorSetForm::askName() const {
    if (!AskName) return std::nullopt;
    return AskName(names());
}

void TColorSetForm::showError(const TColorSetError& error) {
    ShowErrorBox(error.caption(), error.text(), this);
}

void TColorSetForm::enableSelectionButtons() {
    const bool selected = ListBox->currentRow() >= 0;
    for (TKxButton* b : {ButRename, ButCopy, ButDelete, ButExport})
        b->setEnabled(selected);
}

bool TColorSetForm::saveTiles() {
    TColorSetEntries entries;
    for (int i = 0; i < kColorSetSize; ++i)
        entries[i] = {m_tiles[i]->color(), m_tiles[i]->name()};
    if (const TColorSetStatus error = m_store.WriteColorSet(m_loadedPath, entries)) {
        showError(*error);
        return false;
    }
    m_changed = false;
    emit colorSetSaved(m_loadedPath);
    return true;
}

void TColorSetForm::showTiles(const TColorSetEntries& entries) {
    for (int i = 0; i < kColorSetSize; ++i) {
        m_tiles[i]->setColor(entries[i].color);
        m_tiles[i]->setName(entries[i].name);
    }
}

void TColorSetForm::ListBoxClick() {
    enableSelectionButtons();
    const int row = ListBox->currentRow();
    if (row < 0) return;
    const QString path = pathAt(row);
    if (path == m_loadedPath && !m_loadedPath.isEmpty()) return;
    if (m_changed && !m_loadedPath.isEmpty() && !saveTiles()) {
        // The edits could not be written: keep them on screen, with the list
        // back on the set they belong to, rather than replace them.
        for (int i = 0; i < ListBox->count(); ++i)
            if (pathAt(i) == m_loadedPath) {
                const QSignalBlocker block(ListBox);
                ListBox->setCurrentRow(i);
            }
        return;
    }
    if (!QFileInfo::exists(path) && TColorSetStore::IsBuiltInPath(path))
        if (const TColorSetStatus error = m_store.WriteBuiltInColorSet(path)) showError(*error);
    if (!QFileInfo::exists(path)) return;
    const TColorSetRead read = m_store.ReadColorSet(path, TKeyDecoding::Tiles);
    if (!read.ok()) {
        showError(*read.error);
        return;
    }
    showTiles(read.entries);
    m_loadedPath = path;
    // Filling the name fields raised the flag; the tiles now match the file.
    m_changed = false;
}

void TColorSetForm::ButNewClick() {
    const std::optional<QString> name = askName();
    if (!name) return;
    if (const TColorSetStatus error = m_store.NewColorSet(*name)) {
        showError(*error);
        return;
    }
    addEntry(ListBox->count(), {*name, m_store.pathFor(*name)});
    ListBox->setCurrentRow(ListBox->count() - 1);
}

void TColorSetForm::ButRenameClick() {
    const int row = ListBox->currentRow();
    if (row < 0) return;
    const std::optional<QString> name = askName();
    if (!name) return;
    const QString oldPath = pathAt(row);
    if (const TColorSetStatus error = m_store.RenameColorSet(oldPath, *name)) {
        showError(*error);
        return;
    }
    const QString newPath = m_store.pathFor(*name);
    ListBox->item(row)->setText(*name);
    ListBox->item(row)->setData(kPathRole, newPath);
    // Pending edits belong to the set under its new name.
    if (m_loadedPath == oldPath) m_loadedPath = newPath;
    emit colorSetRenamed(oldPath, newPath);
}

bool TColorSetForm::commitEditsOf(const QString& path) {
    if (!m_changed || m_loadedPath.isEmpty() || path != m_loadedPath) return true;
    return saveTiles();
}

void TColorSetForm::ButCopyClick() {
    const int row = ListBox->currentRow();
    if (row < 0) return;
    const std::optional<QString> name = askName();
    if (!name) return;
    // The copy is of the set as the user sees it.
    if (!commitEditsOf(pathAt(row))) return;
    if (const TColorSetStatus error = m_store.CopyColorSet(pathAt(row), *name)) {
        showError(*error);
        return;
    }
    const QSignalBlocker block(ListBox);
    addEntry(ListBox->count(), {*name, m_store.pathFor(*name)});
}

std::optional<std::vector<TNamedSet>> TColorSetForm::namedSets(const QString& chosenPath,
                                                               const TSwatchList& palette) {
    std::vector<TColorSetEntries> parts = PaletteFile::SplitIntoSets(palette.swatches);
    const int count = static_cast<int>(palette.swatches.size());
    QString base = QFileInfo(chosenPath).completeBaseName();
    if (parts.size() > 1) {
        const int answer = AskYesNoCancel(
            QStringLiteral("Question for You"),
            QStringLiteral("The file holds %1 colours, more than the %2 of a colour set.\r\n\r\n"
                           "Yes: import the first %2 colours as one set.\r\n"
                           "No: import all %1 as %3 sets, \"%4 1\" to \"%4 %3\".\r\n"
                           "Cancel: import nothing.")
                .arg(count)
                .arg(kColorSetSize)
                .arg(parts.size())
                .arg(base),
            this);
        if (answer == kMsgYes)
            parts.resize(1);
        else if (answer != kMsgNo)
            return std::nullopt;
    }
    const QStringList listed = names();
    // The name dialog refuses only the names of the list: with several sets
    // the numbered names are checked again, until they are all free.
    for (;;) {
        std::vector<TNamedSet> sets;
        bool taken = false;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const QString name = parts.size() == 1 ? base : base + QStringLiteral(" %1").arg(i + 1);
            const QString lower = Platform::toLower(name);
            taken = taken || !TColorSetStore::IsSafeName(name);
            for (const QString& other : listed)
                if (Platform::toLower(other) == lower) taken = true;
            sets.push_back({name, parts[i]});
        }
        if (!taken) return sets;
        const std::optional<QString> typed = askName();
        if (!typed) return std::nullopt;
        base = *typed;
    }
}

void TColorSetForm::ButImportClick() {
    const QString chosen = AskOpenFile ? AskOpenFile() : QString();
    if (chosen.isEmpty()) return;
    // The whole file is read and checked before any question is asked.
    const TPaletteRead read = m_store.ReadPalette(chosen);
    if (!read.ok()) {
        showError(*read.error);
        return;
    }
    const std::optional<std::vector<TNamedSet>> sets = namedSets(chosen, read.palette);
    if (!sets) return;
    if (const TColorSetStatus error = m_store.ImportColorSets(*sets)) {
        showError(*error);
        return;
    }
    {
        const QSignalBlocker block(ListBox);
        for (const TNamedSet& set : *sets)
            addEntry(static_cast<int>(TColorSetStore::SortedPlace(this->sets(), set.name)),
                     {set.name, m_store.pathFor(set.name)});
    }
    // The first of them is shown, wherever the others went.
    const QString shown = m_store.pathFor(sets->front().name);
    for (int i = 0; i < ListBox->count(); ++i)
        if (pathAt(i) == shown) ListBox->setCurrentRow(i);
}

void TColorSetForm::ButExportClick() {
    const int row = ListBox->currentRow();
    if (row < 0 || !AskSaveFile) return;
    const TExportChoice choice = AskSaveFile(ListBox->item(row)->text() + ColorSetFile::Extension);
    if (choice.path.isEmpty()) return;
    const QString target = PaletteFile::WithExtension(choice.path, choice.format);
    if (QFileInfo::exists(target) &&
        AskYesNoCancel(QStringLiteral("Question for You"),
                       target + QStringLiteral("\r\nalready exists. Do you want to replace it ?"),
                       this) != kMsgYes)
        return;
    // The exported file is the set as the user sees it.
    if (!commitEditsOf(pathAt(row))) return;
    if (const TColorSetStatus error = m_store.ExportColorSet(pathAt(row), target, choice.format))
        showError(*error);
}

void TColorSetForm::ButDeleteClick() {
    const int row = ListBox->currentRow();
    if (row < 0) return;
    const QString path = pathAt(row);
    if (ConfirmDelete && !ConfirmDelete(path)) return;
    if (const TColorSetStatus error = m_store.DeleteColorSet(path)) {
        showError(*error);
        return;
    }
    // Edits of a deleted set go with it; saving them would bring it back.
    if (m_loadedPath == path) {
        m_loadedPath.clear();
        m_changed = false;
    }
    emit colorSetDeleted(path);
    {
        const QSignalBlocker block(ListBox);
        delete ListBox->takeItem(row);
        ListBox->setCurrentRow(std::min(row, ListBox->count() - 1));
    }
    ListBoxClick();
}

void TColorSetForm::ButOkClick() {
    // A failed save keeps the dialog open, so the edits are not lost unseen;
    // Cancel still leaves without them.
    if (m_changed && !m_loadedPath.isEmpty() && !saveTiles()) return;
    accept();
}
