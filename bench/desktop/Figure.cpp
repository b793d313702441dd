#include "Figure.h"

#include <cstdio>

void printFigure(const char *name, double value, const char *unit)
{
    std::printf("%s %.4g %s\n", name, value, unit);
    std::fflush(stdout);
}

void printFigure(const QByteArray &name, double value, const char *unit)
{
    printFigure(name.constData(), value, unit);
}
