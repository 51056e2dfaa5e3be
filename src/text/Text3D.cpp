#include "Text3D.h"

#include "CharMesh.h"
#include "Environment.h"
#include "FontSet.h"

namespace {
const float FRAMES_PER_SECOND = 24.0f;
const uint32_t LAG_SECONDS = 300;

// Key frames and corner positions (scene units) of the two paths: the top edge (A) and the bottom
// edge (B) of the glyph quad.
const struct {
    float frame;
    Vector top;
    Vector bottom;
} PATH_KEYS[] = {
    {0.0f, Vector(0.0f, 50.0f, 300.0f), Vector(0.0f, 0.0f, 300.0f)},
    {300.0f, Vector(300.0f, 50.0f, 300.0f), Vector(300.0f, 0.0f, 300.0f)},
    {600.0f, Vector(300.0f, 0.0f, 50.0f), Vector(300.0f, 0.0f, 0.0f)},
    {900.0f, Vector(0.0f, 50.0f, 0.0f), Vector(0.0f, 0.0f, 0.0f)},
};
const float PATH_START_FRAME = 0.0f;
const float PATH_END_FRAME = 900.0f;

// Where setText puts each glyph; nothing draws the glyph there (its points are its place).
const float GLYPH_X = -50.0f;
const float GLYPH_Y = 10.0f;
const float GLYPH_Z_STEP = 10.0f;
const float GLYPH_Z_START = -50.0f;
const float GLYPH_SIZE = 10.0f;
}

Text3DException::Text3DException(const std::string& message)
{
    addSource("text3DException");
    appendMessage(message);
}

Text3D::Text3D(Environment* owner)
    : owner(owner), fontSet(nullptr), pathA(FRAMES_PER_SECOND), pathB(FRAMES_PER_SECOND), lag(LAG_SECONDS)
{
    pathA.setRange(PATH_START_FRAME, PATH_END_FRAME);
    pathB.setRange(PATH_START_FRAME, PATH_END_FRAME);
    for (const auto& key : PATH_KEYS) {
        pathA.addKey(key.frame, key.top, 0.0f, 0.0f, 0.0f);
        pathB.addKey(key.frame, key.bottom, 0.0f, 0.0f, 0.0f);
    }
    setClassName("Action<Text3D>");
    addStringAction("setFontSet", &Text3D::setFontSet);
    addStringAction("setText", &Text3D::setText);
}

Text3D::~Text3D() = default;

void Text3D::setName(const std::string& name)
{
    this->name = name;
}

std::string Text3D::getName() const
{
    return name;
}

void Text3D::setFontSet(std::string name)
{
    Factory<FontSet>& fontSets = owner->getFontSets();
    if (!fontSets.exists(name))
        throw EnvironmentException("setFontSet() - Unable to find font set \"" + name + "\" from Environment \"" +
                                   owner->getName() + "\".");
    fontSet = fontSets.find(name);
}

void Text3D::setText(std::string text)
{
    if (!fontSet)
        throw Text3DException("setText(\"" + name + "\") - No font set to take the glyphs of \"" + text +
                              "\" from: \"setFontSet\" has not succeeded.");
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (!fontSet->hasGlyph(text[i]))
            throw Text3DException("setText(\"" + name + "\") - The font set \"" + fontSet->getName() +
                                  "\" has no glyph for the character " + FontSet::describeCharacter(text[i]) +
                                  " of \"" + text + "\".");
        std::unique_ptr<CharMesh> glyph = fontSet->createCharMesh(text[i]);
        glyph->setX(GLYPH_X);
        glyph->setY(GLYPH_Y);
        glyph->setZ(GLYPH_Z_STEP * static_cast<float>(i) + GLYPH_Z_START);
        glyph->setHeight(GLYPH_SIZE);
        glyph->setWidth(GLYPH_SIZE);
        glyphs.push_back(std::move(glyph));
    }
}

void Text3D::render(double time)
{
    // The leading edge at the time, the trailing one lag seconds earlier: for the first lag
    // seconds that is before the paths begin, where they hold their first keys.
    const float t = static_cast<float>(time);
    const float u = static_cast<float>(time - static_cast<double>(lag));
    const Vector a1 = pathA.interpolateValue(t);
    const Vector a2 = pathA.interpolateValue(u);
    const Vector b1 = pathB.interpolateValue(t);
    const Vector b2 = pathB.interpolateValue(u);
    // The quad from the leading to the trailing edge is cut into one equal cell per glyph, glyph i
    // in cell i, so the text reads from the leading edge on. Weighted so that the fractions 0 and 1
    // give the edges exactly: a text of one glyph fills the quad as it is.
    const float count = static_cast<float>(glyphs.size());
    const auto along = [](const Vector& leading, const Vector& trailing, float f) {
        return leading * (1.0f - f) + trailing * f;
    };
    try {
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            CharMesh& glyph = *glyphs[i];
            const float near = static_cast<float>(i) / count;
            const float far = static_cast<float>(i + 1) / count;
            // Lower left and upper left of the image towards the leading edge, its right side
            // towards the trailing one.
            glyph.setPoint(0, along(b1, b2, near));
            glyph.setPoint(1, along(b1, b2, far));
            glyph.setPoint(2, along(a1, a2, far));
            glyph.setPoint(3, along(a1, a2, near));
            glyph.render(time);
        }
    } catch (Exception& e) {
        throw Text3DException("render(\"" + name + "\") - Failed to render 3d text. " + e.getMessage());
    }
}
