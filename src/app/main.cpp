#include "app/Korvane.h"

int main(int argc, char **argv)
{
    return RunKorvane(argc, argv);
}
