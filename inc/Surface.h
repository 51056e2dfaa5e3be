#ifndef KELVO_SURFACE_H
#define KELVO_SURFACE_H

#include <string>
#include <vector>

#include "Exception.h"
#include "FactoryObject.h"
#include "Material.h"
#include "Result.h"
#include "Vector.h"

class Environment;
class Texture;

class SurfaceException : public Exception {
public:
    explicit SurfaceException(const std::string& message);
};

// The appearance a set of triangles is drawn with: a material and textures in texture-unit order.
// At most one surface of a scene is active at a time (the scene's current surface); enabling
// another disables it first. The textures belong to the scene's texture manager; a surface and its
// copies only refer to them.
class Surface : public FactoryObject {
public:
    // Asks the driver how many texture units it can multitexture with: needs a current OpenGL
    // context. owner: the scene whose texture manager and current-surface slot it uses; not owned.
    explicit Surface(Environment* owner);
    // Every field, the active flag included; the copy refers to the same textures.
    Surface(const Surface& other) = default;
    Surface& operator=(const Surface& other) = delete;
    ~Surface() override;

    void setName(const std::string& name) override;
    std::string getName() const override;

    // Appends the scene's texture named file, creating it and loading file into it when the scene
    // has none of that name (TextureManager::load); the texture appended. Names the surface after
    // file when it has no name. A picture that cannot be opened or decoded fails with the message
    // of the SurfaceException addTexture throws for it; any other failure to create or load throws
    // SurfaceException. On either the surface is unchanged, and the texture that failed to load is
    // no longer in the scene's manager.
    Result<Texture*> appendTexture(const std::string& file);
    // The same, throwing SurfaceException.
    void addTexture(const std::string& file);
    // Appends texture (not owned); names the surface after it when it has no name.
    void addTexture(Texture* texture);

    // The planar texture projection of the mesh's planar mapping: centre and size in mesh units.
    void setTextureCenter(const Vector& center);
    Vector getTextureCenter() const;
    void setTextureSize(const Vector& size);
    Vector getTextureSize() const;

    void setMaterial(const Material& material);
    Material& getMaterial() { return material; }

    // Applies the material and binds the textures (every one up to the unit count when there are
    // several); nothing when already active. A surface that binds no texture of its own unbinds
    // whatever texture was left bound, so it never shows another object's texture.
    void enable();
    void disable();
    // Switches texturing off on the units enable switched on, leaving the surface active: for a
    // mesh that has no texture coordinates to draw its textures with.
    void suspendTextures() const;
    // The texture coordinate of the next vertex, for every texture unit in use.
    void texCoord(float u, float v) const;

    bool isActive() const { return active; }
    int getTextureUnits() const { return textureUnits; }
    const std::vector<Texture*>& getTextures() const { return textures; }

private:
    // How many textures enable binds: one, or up to the unit count when there are several.
    int boundUnits() const;

    Environment* owner;              // not owned
    std::vector<Texture*> textures;  // unit order; not owned
    std::string name;
    Vector textureCenter;
    Vector textureSize;
    int textureUnits;  // usable for multitexturing; 0 without the extension
    Material material;
    bool active;  // between enable and disable
};

#endif
