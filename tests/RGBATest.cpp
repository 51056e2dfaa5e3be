#include "RGBA.h"

#include <gtest/gtest.h>

TEST(RGBA, DefaultIsOpaqueBlack)
{
    RGBA c;
    EXPECT_EQ(c.get(0), 0.0f);
    EXPECT_EQ(c.get(3), 1.0f);
}

TEST(RGBA, ParsesColourTexts)
{
    struct Case {
        const char* text;
        float r, g, b, a;
    } cases[] = {
        {"#FF8000", 1.0f, 0.502f, 0.0f, 1.0f},
        {"#00000080", 0, 0, 0, 0.502f},
        {"#00000000", 0, 0, 0, 0},
        {"#000000ff", 0, 0, 0, 1},
        {"#aBcDeF", 0xab / 255.0f, 0xcd / 255.0f, 0xef / 255.0f, 1},
    };
    for (const Case& c : cases) {
        RGBA colour(c.text);
        EXPECT_NEAR(colour.r, c.r, 0.001) << c.text;
        EXPECT_NEAR(colour.g, c.g, 0.001) << c.text;
        EXPECT_NEAR(colour.b, c.b, 0.001) << c.text;
        EXPECT_NEAR(colour.a, c.a, 0.001) << c.text;
    }
    EXPECT_EQ(RGBA("#ffffff").r, 1.0f);
}

TEST(RGBA, RejectsBadTextsWithTheFirstFailingCheck)
{
    const std::string prefix = "KelvoEngineException::::InvalidColorFormatException::RGBA::parseColorString() - ";
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"#fff", "Invalid inputColor format. String too long. Use format \"#rrggbb(aa)\"."},
        {"#ffffffff0", "Invalid inputColor format. String too long. Use format \"#rrggbb(aa)\"."},
        {"1234567", "Invalid color format. '#' expected. Use format \"#rrggbb(aa)\"."},
        {"#x23456", "Invalid red color format. Hexadecimal numbers expected. Use format \"#rrggbb\"."},
        {"#12g456", "Invalid green color format. Hexadecimal numbers expected. Use format \"#rrggbb\"."},
        {"#12345g", "Invalid blue color format. Hexadecimal numbers expected. Use format \"#rrggbb\"."},
        {"#1234560g", "Invalid alpha format. Hexadecimal numbers expected. Use format \"#rrggbbaa\"."},
        {"#zz34560g", "Invalid red color format. Hexadecimal numbers expected. Use format \"#rrggbb\"."},
    };
    for (const Case& c : cases) {
        RGBA colour(0.1f, 0.2f, 0.3f, 0.4f);
        try {
            colour.parseColorString(c.text);
            ADD_FAILURE() << c.text;
        } catch (const InvalidColorFormatException& e) {
            EXPECT_EQ(e.getMessage(), prefix + c.message) << c.text;
        }
        EXPECT_EQ(colour.r, 0.1f);
        EXPECT_EQ(colour.a, 0.4f);
    }
}

TEST(RGBA, Setters)
{
    RGBA c(0.1f, 0.2f, 0.3f, 0.4f);
    c.setRGB(1, 1, 1);
    EXPECT_EQ(c.a, 0.4f);
    c.set(2, 0.5f);
    EXPECT_EQ(c.get(2), 0.5f);
    EXPECT_EQ(c.assign(0, 0, 0, 0).data()[3], 0.0f);
}
