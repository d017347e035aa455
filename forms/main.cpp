// VELK-Simulator: the runtime shows the disclaimer and runs the program.
#include "velkprogram.h"

int main(int argc, char *argv[])
{
    return runtime::run(argc, argv, velkProgram());
}
