// periodbio build TABLE.csv period.bio | periodbio dump period.bio [TABLE.csv]
#include "Periodbio.h"
#include "Platform.h"

#include <iostream>

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments = orbitra::commandLineArguments(argc, argv);
    orbitra::useBinaryStandardOutput();
    if (arguments.size() == 4 && arguments[1] == "build") {
        return orbitra::periodbio::build(arguments[2], arguments[3], std::cerr);
    }
    if (arguments.size() == 3 && arguments[1] == "dump") {
        return orbitra::periodbio::dump(arguments[2], std::cout, std::cerr);
    }
    if (arguments.size() == 4 && arguments[1] == "dump") {
        return orbitra::periodbio::dump(arguments[2], arguments[3], std::cerr);
    }
    std::cerr
        << "usage: periodbio build TABLE.csv DATAFILE   write DATAFILE afresh from the table\n"
           "       periodbio dump DATAFILE [TABLE.csv]  write DATAFILE as CSV (UTF-8) to\n"
           "                                            TABLE.csv, or print it\n";
    return 2;
}
