#pragma once

#include "platform/Platform.h"

#include <QStringList>

#include <algorithm>
#include <mutex>
#include <numeric>
#include <vector>

// A platform that answers from plain fields, for tests. Construct a
// TScopedFakePlatform to install one for the scope of a test:
//
//     TScopedFakePlatform platform;
//     platform.keys.ctrl = true;
//     ... click ...
//     EXPECT_EQ(platform.clipboard, "0x00B81AFF");
//
// Locale answers are fixed (country 1, "," every three digits, Unicode case
// mapping, ordinal comparison) so tests do not depend on who runs them.
class TFakePlatform : public Platform::TPlatform {
public:
    Platform::TKeyState keys;
    Platform::TDesktopPicture desktop;
    QString clipboard;
    int clipboardWrites = 0;
    int country = 1;
    quint32 clock = 0;
    QStringList openedUrls;
    QStringList openedFiles;
    bool openUrlResult = true;

    Platform::TKeyState keyState() const override { return keys; }

    QPoint cursorPos() const override {
        std::lock_guard lock(mutex_);
        return cursor_;
    }
    // The mouse snap moves the pointer from a worker thread, so the pointer
    // fields are guarded.
    void setCursorPos(QPoint pos) override {
        std::lock_guard lock(mutex_);
        cursor_ = pos;
        moves_.push_back(pos);
    }
    // Places the pointer without recording a move.
    void placeCursor(QPoint pos) {
        std::lock_guard lock(mutex_);
        cursor_ = pos;
    }
    std::vector<QPoint> cursorMoves() const {
        std::lock_guard lock(mutex_);
        return moves_;
    }

    mutable int grabs = 0;
    Platform::TDesktopPicture grabDesktop() const override {
        ++grabs;
        return desktop;
    }
    bool throughPortal = false;
    bool screenThroughPortal() const override { return throughPortal; }

    QString clipboardText() const override { return clipboard; }
    void setClipboardText(const QString& text) override {
        clipboard = text;
        ++clipboardWrites;
    }

    int countryCode() const override { return country; }
    QString formatThousands(qint64 value) const override {
        const QString text = QString::number(value);
        const qsizetype first = value < 0 ? 1 : 0;
        QString out = text.left(first);
        for (qsizetype i = first; i < text.size(); ++i) {
            if (i > first && (text.size() - i) % 3 == 0) out += QLatin1Char(',');
            out += text[i];
        }
        return out;
    }
    QString toUpper(const QString& text) const override { return text.toUpper(); }
    QString toLower(const QString& text) const override { return text.toLower(); }
    int compareText(const QString& a, const QString& b, Qt::CaseSensitivity cs) const override {
        return QString::compare(a, b, cs);
    }
    std::vector<qsizetype> sortedOrder(const QStringList& texts) const override {
        std::vector<qsizetype> order(std::size_t(texts.size()));
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(),
                         [&texts](qsizetype a, qsizetype b) { return texts[a] < texts[b]; });
        return order;
    }

    quint32 milliseconds() const override { return clock; }

    bool openUrl(const QString& url) override {
        openedUrls.append(url);
        return openUrlResult;
    }
    bool openFile(const QString& path) override {
        openedFiles.append(path);
        return openUrlResult;
    }

private:
    mutable std::mutex mutex_;
    QPoint cursor_;
    std::vector<QPoint> moves_;
};

// A fake that is installed while it lives.
class TScopedFakePlatform : public TFakePlatform {
public:
    TScopedFakePlatform() : override_(*this) {}

private:
    Platform::TPlatformOverride override_;
};
