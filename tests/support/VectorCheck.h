#ifndef KELVO_VECTORCHECK_H
#define KELVO_VECTORCHECK_H

#include <string>

class Vector;

// Expects actual within tolerance of expected in every component, naming what when not.
void expectVector(const Vector& actual, const Vector& expected, const std::string& what, double tolerance = 1e-5);

#endif
