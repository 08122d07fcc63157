#pragma once

// Whole-file reads and writes for tests that set up or check what is on disk.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// The file's bytes; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file's content; a test whose file cannot be written fails here.
inline void PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}
