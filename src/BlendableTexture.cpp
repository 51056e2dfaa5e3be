#include "BlendableTexture.h"

#include <GL/gl.h>

#include <new>
#include <vector>

#include "JPEGLoader.h"

BlendableTextureException::BlendableTextureException(const std::string& message) : TextureException(message)
{
    addSource("BlendableTextureException");
    appendMessage(message);
}

BlendableTexture::BlendableTexture() = default;

BlendableTexture::~BlendableTexture() = default;

std::string BlendableTexture::alphaFileName(const std::string& file)
{
    // Only a '.' of the base name starts an extension; one in a folder name does not.
    const std::string::size_type slash = file.find_last_of("/\\");
    const std::string::size_type dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return file + "alpha.jpg";
    return file.substr(0, dot) + "alpha" + file.substr(dot);
}

Result<Texture*> BlendableTexture::load(const std::string& file)
{
    loadAlphaTexture(file, alphaFileName(file));
    return this;
}

void BlendableTexture::loadAlphaTexture(std::string colourFile, std::string alphaFile)
{
    if (name.empty())
        name = colourFile;
    JPEGLoader colour(colourFile, false);
    JPEGLoader alpha(alphaFile, true);
    try {
        std::vector<unsigned char> rgba;
        try {
            rgba.resize(static_cast<size_t>(colour.getSize()) / 3 * 4);
        } catch (const std::bad_alloc&) {
            throw BlendableTextureException("loadAlphaTexture() - Out of memory!");
        }
        // Equal pixel counts suffice: the two images need not have the same width and height.
        if (static_cast<uint64_t>(alpha.getSize()) * 3 != colour.getSize())
            throw BlendableTextureException("loadAlphaTexture() - Alpha channel file \"" + alphaFile +
                                            "\" and texture file \"" + colourFile +
                                            "\" are incompatible! Size mismatch.");
        const unsigned char* rgb = colour.getPixels();
        const unsigned char* a = alpha.getPixels();
        const size_t pixels = alpha.getSize();
        for (size_t i = 0; i < pixels; ++i) {
            rgba[i * 4] = rgb[i * 3];
            rgba[i * 4 + 1] = rgb[i * 3 + 1];
            rgba[i * 4 + 2] = rgb[i * 3 + 2];
            rgba[i * 4 + 3] = a[i];
        }
        if (mipmapping)
            buildMipmapTexture(GL_RGBA, colour.getWidth(), colour.getHeight(), rgba.data(), GL_RGBA8);
        else
            buildTexture(GL_RGBA, colour.getWidth(), colour.getHeight(), rgba.data(), GL_RGBA8);
    } catch (const TextureException& e) {
        throw BlendableTextureException(
            std::string("loadAlphaTexture() - Failed to load texture and/or alpha channel. ") + e.what());
    }
}

void BlendableTexture::enable()
{
    glEnable(GL_BLEND);
    Texture::enable();
}

void BlendableTexture::disable()
{
    glDisable(GL_BLEND);
    Texture::disable();
}
