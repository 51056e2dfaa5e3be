#ifndef KELVO_BLENDABLETEXTURE_H
#define KELVO_BLENDABLETEXTURE_H

#include <string>

#include "Texture.h"

class BlendableTextureException : public TextureException {
public:
    explicit BlendableTextureException(const std::string& message);
};

// An RGBA texture from a colour JPEG and a greyscale alpha JPEG beside it ("woodalpha.jpg" for
// "wood.jpg"), drawn with blending switched on around it.
class BlendableTexture : public Texture {
public:
    BlendableTexture();
    ~BlendableTexture() override;

    // Loads file with its alpha companion: the base name's last '.' gets "alpha" in front of it,
    // or "alpha.jpg" is appended when the base name has none. Throws for a picture that cannot be
    // opened or decoded too: JPEGLoaderException, as loadAlphaTexture does.
    Result<Texture*> load(const std::string& file) override;
    void enable() override;
    void disable() override;

    // Decodes both images, interleaves their bytes pixel by pixel and uploads the result. The two
    // must hold the same number of pixels.
    virtual void loadAlphaTexture(std::string colourFile, std::string alphaFile);

    static std::string alphaFileName(const std::string& file);
};

#endif
