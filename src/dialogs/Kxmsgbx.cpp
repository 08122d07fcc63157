#include "dialogs/Kxmsgbx.h"

#include <QMessageBox>
#include <QPushButton>

// First cut on the standard box; the owner-drawn TKxMsgBox replaces it.

namespace {

TMsgBoxAnswerer& answerer() {
    static TMsgBoxAnswerer current;
    return current;
}

int ask(const TMsgBoxSeen& seen, QWidget* reference) {
    if (answerer()) return answerer()(seen);
    QMessageBox box(reference);
    box.setWindowTitle(seen.caption);
    box.setText(seen.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(seen.iconKind == kMsgIconQuestion      ? QMessageBox::Question
                : seen.iconKind == kMsgIconExclamation ? QMessageBox::Warning
                : seen.iconKind == kMsgIconError       ? QMessageBox::Critical
                                                       : QMessageBox::Information);
    if (seen.buttons.size() == 1) {
        box.addButton(QMessageBox::Ok);
        box.exec();
        return kMsgOk;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes) return kMsgYes;
    if (box.clickedButton() == no) return kMsgNo;
    return kMsgCancel;
}

} // namespace

TMsgBoxAnswererScope::TMsgBoxAnswererScope(TMsgBoxAnswerer answerer_)
    : previous_(std::move(answerer())) {
    answerer() = std::move(answerer_);
}

TMsgBoxAnswererScope::~TMsgBoxAnswererScope() {
    answerer() = std::move(previous_);
}

void ShowMessageBox(const QString& caption, const QString& text, int iconKind,
                    QWidget* reference) {
    ask({caption, text, iconKind, {QStringLiteral("&Ok")}}, reference);
}

void ShowErrorBox(const QString& caption, const QString& text, QWidget* reference) {
    ShowMessageBox(caption, text, kMsgIconError, reference);
}

int AskYesNoCancel(const QString& caption, const QString& text, QWidget* reference) {
    return ask({caption,
                text,
                kMsgIconQuestion,
                {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")}},
               reference);
}
