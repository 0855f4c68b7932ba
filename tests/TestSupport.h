#pragma once
// Shared test helpers: scripted dialogs, temporary folders, driving modal windows.
#include "dialogs/ScriptedDialogs.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Installs scripted dialogs for the lifetime of the object.
struct ScopedDialogs {
    ScriptedDialogs dialogs;
    ScopedDialogs() { SetDialogAnswerer(&dialogs); }
    ~ScopedDialogs() { SetDialogAnswerer(nullptr); }
    ScriptedDialogs *operator->() { return &dialogs; }
};

// Writes a file's bytes (the test fails if it cannot).
inline void Put(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// A file's bytes, or "<missing>".
inline QByteArray Get(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A folder path with a trailing separator, as the program keeps folder names.
inline QString Slash(const QString &path) {
    return path.endsWith('/') ? path : path + '/';
}

// Runs `action` on the next modal widget that becomes active (polling from the event loop), so a test
// can answer a window that the code under test shows with exec(). Gives up after `timeoutMs`.
inline void WhenModal(std::function<void(QWidget *)> action, int timeoutMs = 5000) {
    auto *timer = new QTimer;
    auto started = std::make_shared<qint64>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action, started, timeoutMs]() {
        *started += 5;
        if (QWidget *w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (*started > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Finds a child by objectName and type; fails the test when it is missing.
template <typename T> T *Child(QObject *parent, const QString &name) {
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << "no child named " << name.toStdString();
    return w;
}
