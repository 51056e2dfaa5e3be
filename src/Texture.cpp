#include "Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>
#include <new>
#include <vector>

#include "GLErrors.h"
#include "JPEGLoader.h"
#include "Log.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

TextureException::TextureException(const std::string& message)
{
    addSource("TextureException");
    appendMessage(message);
}

Texture::Texture()
    : repeatS(true), repeatT(true), textureId(0), envMode(GL_MODULATE), width(0), height(0), mipmapping(true)
{
    setClassName("Action<Texture>");
    addStringAction("loadTexture", &Texture::loadTexture);
    addAction("enableAdditiveMode", &Texture::enableAdditiveMode);
    addAction("enableBlendMode", &Texture::enableBlendMode);
    addAction("enableModulateMode", &Texture::enableModulateMode);
    addAction("disableMipmapping", &Texture::disableMipmapping);
}

Texture::~Texture()
{
    if (textureId != 0 && glIsTexture(textureId)) {
        GLuint id = textureId;
        glDeleteTextures(1, &id);
    }
}

void Texture::loadTexture(std::string file)
{
    load(file).orThrow<TextureException>();
}

Result<Texture*> Texture::load(const std::string& file)
{
    if (name.empty())
        name = file;
    const std::string failed = "loadTexture() - Failed to load \"" + file + "\". ";
    try {
        Result<JPEGLoader> loader = JPEGLoader::load(file, false);
        if (!loader)
            return Failure{failed + "Exception: " + JPEGLoaderException(loader.failure()).what()};
        if (mipmapping)
            buildMipmapTexture(GL_RGB, loader->getWidth(), loader->getHeight(), loader->getPixels(), GL_RGBA8);
        else
            buildTexture(GL_RGB, loader->getWidth(), loader->getHeight(), loader->getPixels(), GL_RGBA8);
    } catch (const Exception& e) {
        throw TextureException(failed + "Exception: " + e.what());
    } catch (...) {
        throw TextureException(failed + "Unknown exception!");
    }
    return this;
}

unsigned int Texture::bindTextureObject()
{
    // A reload keeps the texture object, so display lists and surfaces that bound it show the
    // new image and no second object is left behind.
    if (textureId == 0 || !glIsTexture(textureId)) {
        GLuint id = 0;
        glGenTextures(1, &id);
        textureId = id;
    }
    glBindTexture(GL_TEXTURE_2D, textureId);
    return textureId;
}

void Texture::buildMipmapTexture(int format, int width, int height, const unsigned char* data, int internalFormat)
{
    bindTextureObject();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    const GLfloat border[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    // Packed rows: no row of an odd width may be padded to four bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLint result = gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, format, GL_UNSIGNED_BYTE, data);
    if (result != 0)
        throw TextureException(std::string("buildMipmapTexture() - Failed to build mipmaps. OpenGL error: ") +
                               reinterpret_cast<const char*>(gluErrorString(result)));
    this->width = width;
    this->height = height;
}

void Texture::buildTexture(int format, int width, int height, const unsigned char* data, int internalFormat)
{
    const int bytesPerPixel = format == GL_RGB ? 3 : 4;
    const int w = nearestPowerOfTwo(width);
    const int h = nearestPowerOfTwo(height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    std::vector<unsigned char> scaled;
    const unsigned char* pixels = data;
    if (w != width || h != height) {
        if (Log::getInstance()->getLevel() >= LogLevel::debug)
            KELVO_LOG(LogLevel::debug) << "buildTexture() - Scaling needed for this texture. "
                         << " width=" << width << ", height=" << height << " will be scaled to: "
                         << "width=" << w << ", height=" << h << logEnd;
        try {
            scaled.resize(static_cast<size_t>(w) * h * bytesPerPixel);
        } catch (const std::bad_alloc&) {
            throw TextureException("buildTexture() - Failed to scale texture image. Out of memory.");
        }
        GLint result =
            gluScaleImage(format, width, height, GL_UNSIGNED_BYTE, data, w, h, GL_UNSIGNED_BYTE, scaled.data());
        if (result != 0)
            throw TextureException(std::string("buildTexture() - Failed to scale texture. OpenGL error: ") +
                                   reinterpret_cast<const char*>(gluErrorString(result)));
        pixels = scaled.data();
    }

    // An error left pending by someone else is not this upload's failure.
    clearPendingGLErrors();
    bindTextureObject();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        throw TextureException(std::string("buildTexture() - Failed to attach the texture. OpenGL error: ") +
                               reinterpret_cast<const char*>(gluErrorString(error)));
    this->width = w;
    this->height = h;
}

void Texture::enable()
{
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, repeatS ? GL_REPEAT : GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, repeatT ? GL_REPEAT : GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
}

void Texture::disable()
{
}

void Texture::enableAdditiveMode()
{
    envMode = GL_ADD;
}

void Texture::enableBlendMode()
{
    envMode = GL_BLEND;
}

void Texture::enableModulateMode()
{
    envMode = GL_MODULATE;
}

void Texture::disableMipmapping()
{
    mipmapping = false;
}

std::string Texture::getName() const
{
    return name;
}

void Texture::setName(const std::string& name)
{
    this->name = name;
}

int Texture::getWidth() const
{
    return width;
}

int Texture::getHeight() const
{
    return height;
}

unsigned int Texture::getTextureId() const
{
    return textureId;
}

int Texture::getEnvMode() const
{
    return envMode;
}

bool Texture::isMipmapping() const
{
    return mipmapping;
}

int Texture::nearestPowerOfTwo(int value)
{
    if (value < 0)
        return 0;
    if (value <= 2)
        return 2;
    if (value <= 4)
        return 4;
    int r = 4;
    for (int i = 0; i < 8; ++i) {
        if (value <= r + r / 2)
            break;
        r *= 2;
    }
    return r;
}
