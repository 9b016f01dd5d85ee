#include "app/TvStartup.h"

int main(int argc, char *argv[])
{
    return TvStartup::run(argc, argv);
}
