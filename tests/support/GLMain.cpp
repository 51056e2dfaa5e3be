#include <gtest/gtest.h>

#include "GLEnvironment.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return RUN_ALL_TESTS();
}
