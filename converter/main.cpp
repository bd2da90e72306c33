#include <csignal>
#include <iostream>

#include "converter/orvik_main.h"

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A write past the file size limit then fails as any other failed write
    // and is reported, instead of the signal ending the program silently.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    return RunOrvik(argc, argv, std::cout);
}
