#include <gtest/gtest.h>

#include "GLEnvironment.h"
#include "TestSupport.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return testBinaryStatus(RUN_ALL_TESTS());
}
