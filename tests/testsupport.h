#pragma once

#include "ElementRecord.h"
#include "Program.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace testsupport {

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

// Runs `action`, closing each message box it opens; returns their texts, one
// after another ("" when none appeared).
QString messageBoxText(const std::function<void()>& action);

// The base of the window tests: each test function runs in a fresh empty
// folder, with a period.bio of `records` sample records and the program started
// on it; with `records` below zero there is no file and nothing is started.
class ProgramTest : public QObject {
    Q_OBJECT
public:
    explicit ProgramTest(int records) : records_(records) {}

protected:
    QString path() const { return folder_->file("period.bio"); }
    QByteArray file() const { return readFile(path()); }
    orbitra::main* window() const { return program_->mainWindow(); }

    std::unique_ptr<ScratchFolder> folder_;
    std::unique_ptr<orbitra::Program> program_;

protected Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

private:
    const int records_;
};

}  // namespace testsupport
