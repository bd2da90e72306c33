#include <iostream>

#include "converter/orvik_main.h"

int main(int argc, char** argv)
{
    return RunOrvik(argc, argv, std::cout);
}
