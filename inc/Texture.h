#ifndef KELVO_TEXTURE_H
#define KELVO_TEXTURE_H

#include <string>

#include "Action.inl"
#include "Exception.h"
#include "Result.h"

class TextureException : public Exception {
public:
    explicit TextureException(const std::string& message);
};

// One OpenGL 2D texture loaded from a JPEG resource, with the environment mode, wrap flags and
// mipmapping choice it is drawn with. Created and kept by a scene's TextureManager for the run;
// the timeline reaches it as a child of that manager.
class Texture : public Action<Texture> {
public:
    Texture();
    // Deletes the OpenGL texture object when one exists.
    ~Texture() override;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Decodes file (a resource name) and uploads it; this texture. A reload uploads into the
    // texture object this texture already has, so whatever bound it shows the new image. A picture
    // that cannot be opened or decoded fails with the message of the TextureException loadTexture
    // throws for it; a failure to upload throws TextureException.
    virtual Result<Texture*> load(const std::string& file);
    // The same, throwing TextureException.
    void loadTexture(std::string file);
    // Binds the texture and applies its wrap and environment modes; enabling GL_TEXTURE_2D is the
    // caller's business.
    virtual void enable();
    virtual void disable();

    // The two upload paths: a mipmap chain built by GLU at the source size, or one level scaled
    // to the nearest power of two. format is GL_RGB or GL_RGBA; data holds packed rows, top first.
    void buildMipmapTexture(int format, int width, int height, const unsigned char* data, int internalFormat);
    void buildTexture(int format, int width, int height, const unsigned char* data, int internalFormat);

    void enableAdditiveMode();
    void enableBlendMode();
    void enableModulateMode();
    void disableMipmapping();  // affects later loads only

    std::string getName() const;
    void setName(const std::string& name);
    int getWidth() const;   // pixels of the image as uploaded (see buildTexture)
    int getHeight() const;
    unsigned int getTextureId() const;
    int getEnvMode() const;
    bool isMipmapping() const;

    // The power of two r for which value <= 1.5 r first holds, from 2 up to 1024; 0 below 0.
    static int nearestPowerOfTwo(int value);

    // Wrap flags, written directly by their users: GL_REPEAT when true, GL_CLAMP when false.
    bool repeatS;
    bool repeatT;

protected:
    // The texture object this texture uploads into, generated at the first upload.
    unsigned int bindTextureObject();

    unsigned int textureId;  // OpenGL texture name; 0 until the first upload
    int envMode;             // GL_MODULATE, GL_ADD or GL_BLEND
    int width;
    int height;
    bool mipmapping;
    std::string name;
};

#endif
