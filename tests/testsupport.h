#pragma once

#include "ElementRecord.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace testsupport {

// Drops the offscreen platform's warnings that it cannot pass on size hints or
// raise a window. Call it from initTestCase(), after QtTest set up its log.
void quietOffscreenWarnings();

// Moves the process into a fresh empty folder for the life of the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Record N of the sample data: "Name<N>" (or `name`) as its chemical name, N as
// its atomic number and "Fusion<N>" as its heat of fusion.
orbitra::ElementRecord sampleRecord(int n, const char* name = nullptr);

// The 177 bytes of `record` on disk.
QByteArray recordBytes(const orbitra::ElementRecord& record);

// A data file of the sample records 1..count.
QByteArray sampleDataFile(int count);

// Writes `bytes` to `path`, replacing it.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Runs `action`, which is expected to open a modal message box, closes that box
// and returns its text ("" when none appeared within a second).
QString messageBoxText(const std::function<void()>& action);

}  // namespace testsupport
