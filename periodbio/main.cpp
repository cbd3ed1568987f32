// periodbio build TABLE.csv DATAFILE | dump DATAFILE [TABLE.csv] | diff A B |
// upgrade SHIPPED DATAFILE BASE [FIRST]
#include "Periodbio.h"
#include "Platform.h"

#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "usage: periodbio build TABLE.csv DATAFILE  write DATAFILE afresh from the table\n"
    "       periodbio dump DATAFILE [TABLE.csv] write DATAFILE as CSV (UTF-8) to\n"
    "                                           TABLE.csv, or print it\n"
    "       periodbio diff DATAFILE OTHER       list the records and fields in which\n"
    "                                           two data files differ\n"
    "       periodbio upgrade SHIPPED DATAFILE BASE [FIRST]\n"
    "                                           bring a release's corrections into\n"
    "                                           DATAFILE, keeping the records changed\n"
    "                                           since BASE (or FIRST while BASE is missing)\n"
    "       periodbio --help | --version\n"
    "A file named - is standard input or output.\n";

// A command, the file names it takes at least and at most.
struct Command {
    std::string_view name;
    std::size_t least, most;
    std::string_view missing;
};

constexpr Command kCommands[] = {
    {"build", 2, 2, "TABLE.csv and DATAFILE"},
    {"dump", 1, 2, "DATAFILE"},
    {"diff", 2, 2, "two data files"},
    {"upgrade", 3, 4, "SHIPPED, DATAFILE and BASE"},
};

int usageError(const std::string& what) {
    std::cerr << "periodbio: " << what << '\n' << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments = orbitra::commandLineArguments(argc, argv);
    orbitra::useBinaryStandardOutput();
    namespace periodbio = orbitra::periodbio;
    if (arguments.size() < 2) {
        return usageError("no command given");
    }
    const std::string& name = arguments[1];
    if (name == "--help" || name == "-h") {
        std::cout << kUsage;
        return std::cout.flush() ? 0 : 1;
    }
    if (name == "--version") {
        std::cout << "periodbio (Orbitra Table) " << ORBITRA_VERSION << '\n';
        return std::cout.flush() ? 0 : 1;
    }
    const Command* command = nullptr;
    for (const Command& candidate : kCommands) {
        command = candidate.name == name ? &candidate : command;
    }
    if (!command) {
        return usageError("unknown command \"" + name + "\"");
    }
    const std::vector<std::string> files(arguments.begin() + 2, arguments.end());
    if (files.size() < command->least) {
        return usageError(name + " needs " + std::string(command->missing));
    }
    if (files.size() > command->most) {
        return usageError(name + " takes at most " + std::to_string(command->most) +
                          " file names; \"" + files[command->most] + "\" is one too many");
    }
    if (name == "build") {
        return periodbio::build(files[0], files[1], std::cerr);
    }
    if (name == "dump") {
        return files.size() == 1 ? periodbio::dump(files[0], std::cout, std::cerr)
                                 : periodbio::dump(files[0], files[1], std::cerr);
    }
    if (name == "diff") {
        return periodbio::diff(files[0], files[1], std::cout, std::cerr);
    }
    return periodbio::upgrade(files[0], files[1], files[2], files.size() > 3 ? files[3] : "",
                              std::cout, std::cerr);
}
