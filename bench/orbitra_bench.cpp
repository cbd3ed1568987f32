// Orbitra Table's benchmark suite. Each figure is printed beside its floor,
// measured in the same run and interleaved with it, so that the ratio holds
// on a loaded machine even when the absolute times do not:
//   start-up and memory      the program against a Qt program with one empty
//                            QMainWindow, and against one whose window holds
//                            a label (child processes, offscreen)
//   click to display         a tile click through ShowRecord to the fourteen
//                            boxes, against reading the same 177 bytes
//   save                     an editor Save to disk, WriteRecord with and
//                            without the flush, against pwrite (+ fsync)
//   scale                    ReadRecord and WriteRecord at record 1 and 32767
//                            of a 32767-record file, against record 1 of 110
//   idle                     CPU used over 10 s with all four windows open,
//                            against the empty QMainWindow
// Arguments: the sections to run (startup clicks save scale idle; all when
// none is named), and --quick for far fewer rounds, for a smoke run or for
// profiling under callgrind. Exit status: 0 when every figure was measured
// (targets met or not), 1 on a bad argument, 2 when a measurement could not
// be made, 3 when the run outlasted its time limit.

#include "Child.h"
#include "DataFiles.h"
#include "ElementRecord.h"
#include "Probe.h"
#include "Program.h"
#include "main.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using bench::Clock;
namespace fs = std::filesystem;

struct Rounds {
    int starts = 15;
    int clicks = 10000;
    int saves = 200;
    int scale = 20000;
};
constexpr int kTiles = 110;
constexpr int kLargestRecord = 32767;
constexpr int kTimeLimitSeconds = 280;

double micros(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

class Samples {
public:
    void add(double value) { values_.push_back(value); }
    double median() const { return percentile(50); }
    double percentile(double p) const {
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * sorted.size()));
        return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
    }

private:
    std::vector<double> values_;
};

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string duration(double us) {
    if (us < 1000) {
        return format("%.2f us", us);
    }
    return format(us < 1e6 ? "%.2f ms" : "%.3f s", us < 1e6 ? us / 1e3 : us / 1e6);
}

std::string mebibytes(double kib) {
    return format("%.1f MiB", kib / 1024);
}

std::string times(double ratio) {
    return format(ratio < 10 ? "%.2fx" : "%.0fx", ratio);
}

struct Row {
    std::string figure;
    std::string value;
    std::string floor;
    std::string compared;
    std::string target;
    std::string verdict;  // PASS, MISS or empty for a figure without a target
};

class Table {
public:
    void section(const std::string& title) { rows_.push_back({title, "", "", "", "", "#"}); }
    void add(const Row& row) {
        rows_.push_back(row);
        misses_ += row.verdict == "MISS";
        std::fprintf(stderr, "  %s: %s (%s)\n", row.figure.c_str(), row.value.c_str(),
                     row.floor.c_str());
    }
    int misses() const { return misses_; }

    void print() const {
        const Row header{"Figure", "Measured", "Floor (same run)", "vs floor", "Target", "Result"};
        std::array<std::size_t, 5> width{};
        const auto widen = [&width](const Row& row) {
            const std::array<const std::string*, 5> cells{&row.figure, &row.value, &row.floor,
                                                          &row.compared, &row.target};
            for (std::size_t i = 0; i < cells.size(); ++i) {
                width[i] = std::max(width[i], cells[i]->size());
            }
        };
        widen(header);
        for (const Row& row : rows_) {
            if (row.verdict != "#") {
                widen(row);
            }
        }
        const auto line = [&width](const Row& row) {
            std::printf("%-*s  %*s  %-*s  %*s  %-*s  %s\n", int(width[0]), row.figure.c_str(),
                        int(width[1]), row.value.c_str(), int(width[2]), row.floor.c_str(),
                        int(width[3]), row.compared.c_str(), int(width[4]), row.target.c_str(),
                        row.verdict.c_str());
        };
        line(header);
        for (const Row& row : rows_) {
            if (row.verdict == "#") {
                std::printf("\n-- %s\n", row.figure.c_str());
            } else {
                line(row);
            }
        }
    }

private:
    std::vector<Row> rows_;
    int misses_ = 0;
};

[[noreturn]] void fail(const std::string& what) {
    bench::Child::killAll();
    std::fprintf(stderr, "orbitra-bench: %s\n", what.c_str());
    std::fflush(stdout);
    std::_Exit(2);
}

// A record whose every field is filled to its width with text naming the
// field, the record and a version, so that each write changes the bytes.
orbitra::ElementRecord sampleRecord(int number, int version) {
    orbitra::ElementRecord record;
    for (int i = 0; i < orbitra::kPropertyCount; ++i) {
        std::string text = std::string(orbitra::kFields[i].box) + '-' + std::to_string(number) +
                           '-' + std::to_string(version) + "-";
        while (static_cast<int>(text.size()) < orbitra::kFields[i].width) {
            text += char('a' + (number + version + int(text.size())) % 26);
        }
        record.fields[i] = text;
    }
    return record;
}

// The record as the program shows it after a round trip through the file.
orbitra::ElementRecord asStored(const orbitra::ElementRecord& record) {
    return orbitra::decodeRecord(orbitra::encodeRecord(record));
}

void writeDataFile(const std::string& path, int records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int n = 1; n <= records; ++n) {
        const orbitra::RecordBytes bytes = orbitra::encodeRecord(sampleRecord(n, 1));
        out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    if (!out.flush()) {
        fail("cannot write " + path);
    }
}

off_t offsetOf(int number) {
    return static_cast<off_t>(number - 1) * orbitra::kRecordSize;
}

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::string firstLineWith(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            const std::size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown";
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " (1 min), " + five + " (5 min)";
}

// ---- Start-up and memory -------------------------------------------------

struct StartRun {
    double frameUs = 0;
    long rssKiB = 0;
};

struct Starter {
    std::string name;
    std::string program;
    std::vector<std::string> arguments;
    std::string log;
    Samples frameUs;
    Samples rssKiB;
};

void startOnce(Starter& starter) {
    bench::Child child;
    std::string error;
    if (!child.start(starter.program, starter.arguments, starter.log, error)) {
        fail(error);
    }
    std::string line;
    Clock::time_point arrived;
    if (!child.readLine(line, arrived, 30000) || line != "frame") {
        fail(starter.name + " did not report its first frame; see " + starter.log);
    }
    const double frameUs = micros(child.started(), arrived);
    if (!child.readLine(line, arrived, 30000) || line.rfind("rss ", 0) != 0) {
        fail(starter.name + " did not report its memory; see " + starter.log);
    }
    const long rssKiB = std::stol(line.substr(4));
    if (child.wait() != 0) {
        fail(starter.name + " failed; see " + starter.log);
    }
    starter.frameUs.add(frameUs);
    starter.rssKiB.add(rssKiB);
}

void benchStartup(Table& table, const Rounds& rounds, const fs::path& binaries,
                  const fs::path& scratch) {
    std::fprintf(stderr, "start-up: %d cold starts of each program, in turn\n", rounds.starts);
    const std::string minimal = binaries / "bench-start-empty";
    std::array<Starter, 3> starters{{
        {"the program",
         binaries / "bench-start-program",
         {},
         scratch / "start-program.log",
         {},
         {}},
        {"the empty QMainWindow", minimal, {}, scratch / "start-empty.log", {}, {}},
        {"the QMainWindow with a label", minimal, {"--label"}, scratch / "start-label.log", {}, {}},
    }};
    for (Starter& starter : starters) {
        startOnce(starter);  // brings the binaries, Qt and the fonts into the page cache
        starter.frameUs = {};
        starter.rssKiB = {};
    }
    for (int i = 0; i < rounds.starts; ++i) {
        for (std::size_t k = 0; k < starters.size(); ++k) {
            startOnce(starters[(i + k) % starters.size()]);
        }
    }
    const Starter& program = starters[0];
    const Starter& empty = starters[1];
    const Starter& label = starters[2];
    table.section("Start-up (process start to first painted frame, median of " +
                  std::to_string(rounds.starts) + " cold starts each, offscreen)");
    const double ratio = program.frameUs.median() / empty.frameUs.median();
    table.add({"Start-up to first frame", duration(program.frameUs.median()),
               "empty QMainWindow " + duration(empty.frameUs.median()), times(ratio), "<= 1.30x",
               ratio <= 1.3 ? "PASS" : "MISS"});
    table.add({"Start-up to first frame", duration(program.frameUs.median()),
               "QMainWindow + QLabel " + duration(label.frameUs.median()),
               times(program.frameUs.median() / label.frameUs.median()), "", ""});
    const double extra = program.rssKiB.median() - empty.rssKiB.median();
    table.add({"Resident memory, a record shown", mebibytes(program.rssKiB.median()),
               "empty QMainWindow " + mebibytes(empty.rssKiB.median()),
               (extra >= 0 ? "+" : "") + mebibytes(extra), "<= +10 MiB",
               extra <= 10 * 1024 ? "PASS" : "MISS"});
    const double beyondLabel = program.rssKiB.median() - label.rssKiB.median();
    table.add({"Resident memory, a record shown", mebibytes(program.rssKiB.median()),
               "QMainWindow + QLabel " + mebibytes(label.rssKiB.median()),
               (beyondLabel >= 0 ? "+" : "") + mebibytes(beyondLabel), "", ""});
}

// ---- Click to display ----------------------------------------------------

void benchClicks(Table& table, const Rounds& rounds, orbitra::main* window) {
    std::fprintf(stderr, "click to display: %d clicks over %d tiles\n", rounds.clicks, kTiles);
    const auto boxes = window->detailBoxes();
    for (int z = 1; z <= kTiles; ++z) {
        bench::clickCentre(window->tile(z));
        QCoreApplication::processEvents();
        const orbitra::ElementRecord expected = asStored(sampleRecord(z, 1));
        for (int i = 0; i < orbitra::kPropertyCount; ++i) {
            if (boxes[i]->text().toStdString() != expected.fields[i]) {
                fail("tile " + std::to_string(z) + " did not show its record in " +
                     std::string(orbitra::kFields[i].box));
            }
        }
    }
    const int fd = ::open(orbitra::kDataFileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail("cannot open the data file");
    }
    Samples click, repainted, floor;
    unsigned char bytes[orbitra::kRecordSize];
    for (int i = 0; i < rounds.clicks; ++i) {
        const int z = i % kTiles + 1;
        const Clock::time_point t0 = Clock::now();
        bench::clickCentre(window->tile(z));
        const Clock::time_point t1 = Clock::now();
        QCoreApplication::processEvents();
        const Clock::time_point t2 = Clock::now();
        const ssize_t n = ::pread(fd, bytes, sizeof bytes, offsetOf(z));
        const Clock::time_point t3 = Clock::now();
        if (n != orbitra::kRecordSize) {
            fail("pread of the data file failed");
        }
        click.add(micros(t0, t1));
        repainted.add(micros(t0, t2));
        floor.add(micros(t2, t3));
    }
    ::close(fd);
    table.section("Click to display (" + std::to_string(rounds.clicks) +
                  " clicks cycling over all " + std::to_string(kTiles) + " tiles, offscreen)");
    table.add({"Click to fourteen boxes set, median", duration(click.median()),
               "pread 177 bytes " + duration(floor.median()),
               times(click.median() / floor.median()), "< 100 us",
               click.median() < 100 ? "PASS" : "MISS"});
    table.add({"Click to fourteen boxes set, p99", duration(click.percentile(99)),
               "pread 177 bytes " + duration(floor.percentile(99)),
               times(click.percentile(99) / floor.percentile(99)), "", ""});
    table.add({"Click to panel repainted, median", duration(repainted.median()),
               "boxes set " + duration(click.median()), times(repainted.median() / click.median()),
               "", ""});
}

// ---- Save ----------------------------------------------------------------

template <typename Widget>
Widget* control(QWidget* window, const char* name) {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        fail(std::string("the editor has no control ") + name);
    }
    return widget;
}

void benchSave(Table& table, const Rounds& rounds, orbitra::Program& program) {
    std::fprintf(stderr, "save: %d saves through the editor, in turn with their floors\n",
                 rounds.saves);
    QWidget* editor = program.showEditor();
    settle(100);
    auto* Text1 = control<QLineEdit>(editor, "Text1");
    auto* Command1 = control<QPushButton>(editor, "Command1");
    std::array<QLineEdit*, orbitra::kPropertyCount> fields{};
    for (int i = 0; i < orbitra::kPropertyCount; ++i) {
        fields[i] = control<QLineEdit>(editor, std::string(orbitra::kFields[i].box).c_str());
    }
    const int fd = ::open(orbitra::kDataFileName, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fail("cannot open the data file");
    }
    orbitra::DataFiles& files = program.files();
    const auto timed = [](Samples& samples, auto&& operation) {
        const Clock::time_point t0 = Clock::now();
        const bool ok = operation();
        samples.add(micros(t0, Clock::now()));
        if (!ok) {
            fail("a write of the data file failed");
        }
    };

    // Each flush waits for the journal, so the one that comes first after a
    // pause can be cheaper: the three flushing writes take turns at going first.
    Samples save, rawSync, recordSync;
    for (int i = 0; i < rounds.saves; ++i) {
        const int n = i % kTiles + 1;
        const orbitra::ElementRecord saved = sampleRecord(n, 2 * i + 2);
        const orbitra::RecordBytes savedBytes = orbitra::encodeRecord(saved);
        const orbitra::ElementRecord other = sampleRecord(n, 2 * i + 3);
        const orbitra::RecordBytes otherBytes = orbitra::encodeRecord(other);
        Text1->setText(QString::number(n));
        for (int f = 0; f < orbitra::kPropertyCount; ++f) {
            fields[f]->setText(QString::fromStdString(saved.fields[f]));
        }
        QCoreApplication::processEvents();
        for (int k = 0; k < 3; ++k) {
            switch ((i + k) % 3) {
                case 0: {
                    timed(save, [&] {
                        bench::clickCentre(Command1);
                        return true;
                    });
                    orbitra::RecordBytes onDisk{};
                    if (::pread(fd, onDisk.data(), onDisk.size(), offsetOf(n)) !=
                            orbitra::kRecordSize ||
                        onDisk != savedBytes) {
                        fail("Save did not write record " + std::to_string(n));
                    }
                    break;
                }
                case 1:
                    timed(rawSync, [&] {
                        return ::pwrite(fd, otherBytes.data(), otherBytes.size(), offsetOf(n)) ==
                                   orbitra::kRecordSize &&
                               ::fsync(fd) == 0;
                    });
                    break;
                default:
                    timed(recordSync, [&] {
                        return orbitra::WriteRecord(files, 1, n, other, orbitra::Sync::Yes).ok();
                    });
            }
        }
        QCoreApplication::processEvents();
    }

    Samples recordNoSync, rawNoSync;
    for (int i = 0; i < rounds.saves * 10; ++i) {
        const int n = i % kTiles + 1;
        const orbitra::ElementRecord record = sampleRecord(n, i);
        const orbitra::RecordBytes bytes = orbitra::encodeRecord(record);
        for (int k = 0; k < 2; ++k) {
            if ((i + k) % 2 == 0) {
                timed(recordNoSync, [&] {
                    return orbitra::WriteRecord(files, 1, n, record, orbitra::Sync::No).ok();
                });
            } else {
                timed(rawNoSync, [&] {
                    return ::pwrite(fd, bytes.data(), bytes.size(), offsetOf(n)) ==
                           orbitra::kRecordSize;
                });
            }
        }
    }
    ::fsync(fd);
    ::close(fd);
    editor->close();

    table.section("Save (" + std::to_string(rounds.saves) +
                  " saves cycling over records 1-110, each flushed to disk)");
    const auto row = [&table](const std::string& figure, double value, const std::string& floorName,
                              double floor) {
        table.add(
            {figure, duration(value), floorName + duration(floor), times(value / floor), "", ""});
    };
    row("Editor Save incl. fsync, median", save.median(), "pwrite+fsync ", rawSync.median());
    row("Editor Save incl. fsync, p99", save.percentile(99), "pwrite+fsync ",
        rawSync.percentile(99));
    row("WriteRecord Sync::Yes, median", recordSync.median(), "pwrite+fsync ", rawSync.median());
    row("WriteRecord Sync::Yes, p99", recordSync.percentile(99), "pwrite+fsync ",
        rawSync.percentile(99));
    row("WriteRecord Sync::No, median", recordNoSync.median(), "pwrite ", rawNoSync.median());
    const double flush = recordSync.median() - recordNoSync.median();
    table.add({"Flush cost (Sync::Yes - Sync::No)", duration(flush), "",
               format("%.1f%% of Yes", 100 * flush / recordSync.median()), "", ""});
}

// ---- Scale ---------------------------------------------------------------

void benchScale(Table& table, const Rounds& rounds) {
    std::fprintf(stderr, "scale: %d rounds on a %d-record file\n", rounds.scale, kLargestRecord);
    writeDataFile("big.bio", kLargestRecord);
    orbitra::DataFiles files;
    if (!files.open(1, orbitra::kDataFileName).ok() || !files.open(2, "big.bio").ok()) {
        fail("cannot open the data files");
    }
    const orbitra::ElementRecord small1 = sampleRecord(1, 1);
    const orbitra::ElementRecord big1 = sampleRecord(1, 1);
    const orbitra::ElementRecord bigLast = sampleRecord(kLargestRecord, 1);
    // The small file holds what the save benchmark left there; write its
    // record 1 once so that the reads below can be checked.
    orbitra::WriteRecord(files, 1, 1, small1, orbitra::Sync::No);
    Samples readSmall, readFirst, readLast, writeSmall, writeFirst, writeLast;
    orbitra::ElementRecord out;
    bool ok = true;
    const auto timed = [](Samples& samples, auto&& operation) {
        const Clock::time_point t0 = Clock::now();
        const bool result = operation();
        samples.add(micros(t0, Clock::now()));
        return result;
    };
    for (int i = 0; i < rounds.scale; ++i) {
        ok &= timed(readSmall, [&] { return orbitra::ReadRecord(files, 1, 1, out).ok(); });
        ok &= out == asStored(small1);
        ok &= timed(readFirst, [&] { return orbitra::ReadRecord(files, 2, 1, out).ok(); });
        ok &= out == asStored(big1);
        ok &= timed(readLast,
                    [&] { return orbitra::ReadRecord(files, 2, kLargestRecord, out).ok(); });
        ok &= out == asStored(bigLast);
        ok &= timed(writeSmall, [&] {
            return orbitra::WriteRecord(files, 1, 1, small1, orbitra::Sync::No).ok();
        });
        ok &= timed(writeFirst, [&] {
            return orbitra::WriteRecord(files, 2, 1, big1, orbitra::Sync::No).ok();
        });
        ok &= timed(writeLast, [&] {
            return orbitra::WriteRecord(files, 2, kLargestRecord, bigLast, orbitra::Sync::No).ok();
        });
    }
    if (!ok) {
        fail("a read or write in the scale benchmark failed or read the wrong bytes");
    }
    table.section("Scale (" + std::to_string(rounds.scale) + " rounds, medians; file of " +
                  std::to_string(kLargestRecord) + " records against one of 110)");
    const auto row = [&table](const std::string& figure, const Samples& big, const Samples& small,
                              const std::string& floorName) {
        const double ratio = big.median() / small.median();
        table.add({figure, duration(big.median()), floorName + duration(small.median()),
                   times(ratio), "<= 1.50x", ratio <= 1.5 ? "PASS" : "MISS"});
    };
    row("ReadRecord, record 1 of 32767", readFirst, readSmall, "record 1 of 110 ");
    row("ReadRecord, record 32767 of 32767", readLast, readSmall, "record 1 of 110 ");
    row("WriteRecord (no flush), record 1 of 32767", writeFirst, writeSmall, "record 1 of 110 ");
    row("WriteRecord (no flush), record 32767", writeLast, writeSmall, "record 1 of 110 ");
}

// ---- Idle ----------------------------------------------------------------

struct IdleFigures {
    double cpuPercent = 0;
    double switchesPerSecond = 0;
};

IdleFigures readIdle(bench::Child& child, const std::string& name, const std::string& log) {
    std::string line;
    Clock::time_point arrived;
    while (child.readLine(line, arrived, 60000)) {
        if (line.rfind("idle ", 0) == 0) {
            std::istringstream in(line.substr(5));
            double cpu = 0, wall = 0, switches = 0;
            in >> cpu >> wall >> switches;
            child.wait();
            return {100 * cpu / wall, switches / (wall / 1e6)};
        }
    }
    fail(name + " did not report its idle cost; see " + log);
}

void benchIdle(Table& table, const fs::path& binaries, const fs::path& scratch) {
    std::fprintf(stderr, "idle: 10 s with four windows open, beside an empty QMainWindow\n");
    const std::string programLog = scratch / "idle-program.log";
    const std::string emptyLog = scratch / "idle-empty.log";
    bench::Child program, empty;
    std::string error;
    if (!program.start(binaries / "bench-start-program", {"--idle"}, programLog, error) ||
        !empty.start(binaries / "bench-start-empty", {"--idle"}, emptyLog, error)) {
        fail(error);
    }
    const IdleFigures p = readIdle(program, "the program", programLog);
    const IdleFigures e = readIdle(empty, "the empty QMainWindow", emptyLog);
    table.section("Idle (10 s; main window, editor, help and About open; getrusage)");
    table.add({"Idle CPU, four windows open", format("%.3f%% of a core", p.cpuPercent),
               "empty QMainWindow " + format("%.3f%%", e.cpuPercent),
               format("%+.3f pt", p.cpuPercent - e.cpuPercent), "< 0.5%",
               p.cpuPercent < 0.5 ? "PASS" : "MISS"});
    table.add({"Idle wake-ups (context switches)", format("%.1f /s", p.switchesPerSecond),
               "empty QMainWindow " + format("%.1f /s", e.switchesPerSecond), "", "", ""});
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> known{"startup", "clicks", "save", "scale", "idle"};
    std::vector<std::string> sections;
    Rounds rounds;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--quick") {
            rounds = {3, 500, 20, 1000};
        } else if (std::find(known.begin(), known.end(), argument) != known.end()) {
            sections.push_back(argument);
        } else {
            std::fprintf(stderr,
                         "usage: orbitra-bench [--quick] [startup|clicks|save|scale|idle]...\n");
            return 1;
        }
    }
    const auto runs = [&sections](const char* section) {
        return sections.empty() ||
               std::find(sections.begin(), sections.end(), section) != sections.end();
    };

    // A modal box left open would otherwise hang the run.
    std::signal(SIGALRM, [](int) {
        bench::Child::killAll();
        constexpr char message[] = "orbitra-bench: time limit reached\n";
        (void)!::write(STDERR_FILENO, message, sizeof message - 1);
        std::_Exit(3);
    });
    ::alarm(kTimeLimitSeconds);
    const fs::path binaries = fs::read_symlink("/proc/self/exe").parent_path();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const fs::path scratch = binaries / ("bench-scratch-" + std::to_string(::getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch / "runtime");
    fs::permissions(scratch / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        ::setenv("XDG_RUNTIME_DIR", (scratch / "runtime").c_str(), 1);
    }
    fs::current_path(scratch);
    writeDataFile(orbitra::kDataFileName, kTiles);

    QApplication application(argc, argv);
    bench::quietOffscreenWarnings();
    const std::string loadBefore = loadAverage();
    Table table;

    if (runs("startup")) {
        benchStartup(table, rounds, binaries, scratch);
    }
    if (runs("clicks") || runs("save")) {
        orbitra::Program program;
        if (!program.start()) {
            fail("the program did not start");
        }
        settle(200);
        if (runs("clicks")) {
            benchClicks(table, rounds, program.mainWindow());
        }
        if (runs("save")) {
            benchSave(table, rounds, program);
        }
    }
    if (runs("scale")) {
        benchScale(table, rounds);
    }
    if (runs("idle")) {
        benchIdle(table, binaries, scratch);
    }

    std::printf("\nOrbitra Table benchmarks\n");
    std::printf("Machine: %ld cores (nproc), %s, Qt %s, QT_QPA_PLATFORM=offscreen\n",
                ::sysconf(_SC_NPROCESSORS_ONLN),
                firstLineWith("/proc/cpuinfo", "model name").c_str(), qVersion());
    std::printf("Load average: before %s; after %s\n", loadBefore.c_str(), loadAverage().c_str());
    table.print();
    std::printf("\n%d target(s) missed\n", table.misses());

    fs::current_path(binaries);
    fs::remove_all(scratch);
    return 0;
}
