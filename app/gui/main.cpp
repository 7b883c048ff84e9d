#include "app/gui/StartUp.h"

int main(int argc, char** argv)
{
    return quarvel::startQuarvel(argc, argv);
}
