#include "picker/PickerValues.h"

#include "platform/UserStore.h"
#include "support/Kxglobals.h"

namespace {

const QString kSizeName = QStringLiteral("PickerWindowSize");
const QString kGridName = QStringLiteral("PickerGridLines");
const QString kPickName = QStringLiteral("PickerPickLines");
const QString kFrozenName = QStringLiteral("PickerFrozen");

} // namespace

bool ReadPickerValues(TUserStore& store, TPickerValues& values) {
    if (!store.openKeyReadOnly(QString(Kxglobals::ProgramKey))) return false;
    const bool all = store.valueExists(kSizeName) && store.valueExists(kGridName) &&
                     store.valueExists(kPickName);
    bool ok = false;
    if (all) {
        const TStoreResult<qint32> size = store.readInteger(kSizeName);
        if (size) {
            values.windowSize = size.value;
            const TStoreResult<qint32> grid = store.readInteger(kGridName);
            if (grid) {
                values.gridLines = grid.value != 0;
                const TStoreResult<qint32> pick = store.readInteger(kPickName);
                if (pick) {
                    values.pickLines = pick.value != 0;
                    ok = true;
                }
            }
        }
    }
    store.closeKey();
    if (!ok) values.windowSize = 0;
    return ok;
}

bool WritePickerValues(TUserStore& store, const TPickerValues& values) {
    // The three values reach the file together.
    store.beginBatch();
    bool ok = store.openKey(QString(Kxglobals::ProgramKey), true);
    if (ok) {
        store.writeInteger(kSizeName, values.windowSize);
        store.writeInteger(kGridName, values.gridLines ? 1 : 0);
        store.writeInteger(kPickName, values.pickLines ? 1 : 0);
        store.closeKey();
    }
    return store.commitBatch().ok && ok;
}

bool ReadPickerFrozen(TUserStore& store) {
    if (!store.openKeyReadOnly(QString(Kxglobals::ProgramKey))) return false;
    const TStoreResult<qint32> frozen = store.readInteger(kFrozenName);
    store.closeKey();
    return frozen && frozen.value != 0;
}
