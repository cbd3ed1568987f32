// periodbio build TABLE.csv period.bio | periodbio dump period.bio
#include "Platform.h"
#include "periodbio.h"

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
    std::cerr
        << "usage: periodbio build TABLE.csv DATAFILE   write DATAFILE afresh from the table\n"
           "       periodbio dump DATAFILE              print DATAFILE as CSV\n";
    return 2;
}
