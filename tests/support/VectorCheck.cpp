#include "VectorCheck.h"

#include <gtest/gtest.h>

#include "Vector.h"

void expectVector(const Vector& actual, const Vector& expected, const std::string& what, double tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}
