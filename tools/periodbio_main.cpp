// periodbio build TABLE.csv period.bio | periodbio dump period.bio
#include "periodbio.h"

#include <cstring>
#include <iostream>

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "build") == 0) {
        return orbitra::periodbio::build(argv[2], argv[3], std::cerr);
    }
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) {
        return orbitra::periodbio::dump(argv[2], std::cout, std::cerr);
    }
    std::cerr
        << "usage: periodbio build TABLE.csv DATAFILE   write DATAFILE afresh from the table\n"
           "       periodbio dump DATAFILE              print DATAFILE as CSV\n";
    return 2;
}
