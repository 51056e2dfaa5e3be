#include "Program.h"

int main(int argc, char** argv)
{
    Program program;
    return program.main(argc, argv);
}
