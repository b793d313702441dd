#pragma once

#include <QByteArray>

// Prints one figure as bench/run reads it: "name value unit", four significant digits.
void printFigure(const char *name, double value, const char *unit);
void printFigure(const QByteArray &name, double value, const char *unit);
