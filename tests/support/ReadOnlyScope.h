#pragma once

// Keeps a file from being replaced for as long as it lives, the way a user's
// read-only file or folder does. Windows refuses to replace a file marked
// read-only but ignores the mark on folders; elsewhere a rename needs a
// writable folder whatever the file's mark. binds() is false when the system
// does not hold to the mark (the superuser writes anywhere).

#include <QFile>
#include <QFileInfo>
#include <QString>

class TReadOnlyScope {
public:
    explicit TReadOnlyScope(const QString& file)
#ifdef _WIN32
        : target_(file) {
        saved_ = QFile::permissions(target_);
        QFile::setPermissions(target_, QFileDevice::ReadOwner);
        QFile probe(target_);
        binds_ = !probe.open(QIODevice::WriteOnly | QIODevice::Append);
    }
#else
        : target_(QFileInfo(file).absolutePath()) {
        saved_ = QFile::permissions(target_);
        QFile::setPermissions(target_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile probe(target_ + QStringLiteral("/.probe"));
        binds_ = !probe.open(QIODevice::NewOnly);
        if (!binds_) probe.remove();
    }
#endif
    ~TReadOnlyScope() {
        QFile::setPermissions(target_, saved_);
    }
    TReadOnlyScope(const TReadOnlyScope&) = delete;
    TReadOnlyScope& operator=(const TReadOnlyScope&) = delete;

    bool binds() const {
        return binds_;
    }

private:
    QString target_;
    QFileDevice::Permissions saved_;
    bool binds_ = false;
};
