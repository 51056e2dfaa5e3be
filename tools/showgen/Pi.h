#ifndef SHOWGEN_PI_H
#define SHOWGEN_PI_H

const double PI = 3.14159265358979323846;
const double TWO_PI = 2.0 * PI;

#endif
