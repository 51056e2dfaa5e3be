#include "TranscodedString.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<TranscodedString> && !std::is_copy_assignable_v<TranscodedString>,
              "a copy would release the text twice");

TEST(TranscodedString, NullGivesTheEmptyText)
{
    TranscodedString text(nullptr);
    EXPECT_STREQ(text.c_str(), "");
}

TEST(TranscodedString, GivesOneISO88591ByteACharacterWhateverTheLocale)
{
    struct Case {
        std::u16string source;
        std::string text;
    } cases[] = {
        {u"", ""},
        {u"scene.loadResources", "scene.loadResources"},
        {u"Caf\u00e9 \u00ff\u00a0", "Caf\xe9 \xff\xa0"},
        {u"\u20ac5", "?5"},                   // outside ISO-8859-1
        {u"a\U0001F600b", "a?b"},              // one character in two UTF-16 units
        {std::u16string(u"x\xd800y"), "x?y"},  // a lone surrogate
    };
    const char* saved = std::setlocale(LC_ALL, nullptr);
    std::string savedLocale = saved ? saved : "C";
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        for (const Case& c : cases)
            EXPECT_EQ(TranscodedString(c.source.c_str()).c_str(), c.text) << locale;
    }
    std::setlocale(LC_ALL, savedLocale.c_str());
}
