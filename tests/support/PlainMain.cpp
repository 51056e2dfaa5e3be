#include <gtest/gtest.h>

#include "TestSupport.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return testBinaryStatus(RUN_ALL_TESTS());
}
